// Random scripts and inputs through the writers, checked against a model
// that works out the new script on its own (rebuild_model.h).
#include <cstdint>
#include <random>

#include <gtest/gtest.h>

#include "tests/engine/rebuild_model.h"

namespace {

class RandomChooser : public rebuild_model::Chooser {
 public:
  explicit RandomChooser(std::uint32_t seed) : engine_(seed) {}
  std::uint32_t Below(std::uint32_t n) override {
    return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(engine_);
  }

 private:
  std::mt19937 engine_;
};

TEST(RebuildProperty, LevelTablesChangeExactlyTheChosenValues) {
  for (std::uint32_t seed = 1; seed <= 4000; ++seed) {
    RandomChooser choose(seed);
    const rebuild_model::Outcome out = rebuild_model::CheckLevelRebuild(choose);
    ASSERT_EQ(out.problem, "") << "seed " << seed;
  }
}

TEST(RebuildProperty, StaticBlocksChangeExactlyTheChosenValues) {
  for (std::uint32_t seed = 1; seed <= 2000; ++seed) {
    RandomChooser choose(seed);
    const rebuild_model::Outcome out = rebuild_model::CheckStaticRebuild(choose);
    ASSERT_EQ(out.problem, "") << "seed " << seed;
  }
}

}  // namespace
