// The 1-based text arrays: every index outside 1..Size() is the fatal report.
#include "framework/text_array.h"

#include <gtest/gtest.h>

#include "test_forms.h"
#include "tests/test_names.h"

namespace fwtest {
namespace {

TEST(TextArray, ReadsAndWritesFromOne) {
  fw::Headless h;
  fw::TextArray a({"a", "b"});
  a.Append("c");
  EXPECT_EQ(a.Size(), 3);
  EXPECT_EQ(a[1], "a");
  a.At(3) = "z";
  const fw::TextArray& view = a;
  EXPECT_EQ(view[3], "z");
  a.Clear();
  EXPECT_TRUE(a.Empty());
}

class TextArrayOutOfRange : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(TextArrayOutOfRange, IsFatal) {
  const auto [size, index] = GetParam();
  fw::Headless h;
  fw::TextArray a;
  for (int i = 0; i < size; ++i) a.Append("x");
  const fw::ProgramEnded end = h.Run([&, index = index] {
    const fw::TextArray& view = a;
    (void)view[index];
    ADD_FAILURE() << "returned from an out-of-range access";
    return 0;
  });
  EXPECT_TRUE(end.fatal);
  EXPECT_EQ(end.code, 1);
  EXPECT_NE(end.fatalMessage.find(Gbk("数组下标超出范围")), std::string::npos);
  EXPECT_EQ(h.ExitRoutineRuns(), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, TextArrayOutOfRange,
                         ::testing::Values(std::pair{0, 1}, std::pair{3, 0}, std::pair{3, -1},
                                           std::pair{3, 4}, std::pair{1, 1 << 30}),
                         [](const auto& test) {
                           return "Size" + std::to_string(test.param.first) + "Index" +
                                  test_names::Escaped(std::to_string(test.param.second));
                         });

TEST(TextArray, WritingOutOfRangeIsFatalToo) {
  fw::Headless h;
  fw::TextArray a({"a"});
  const fw::ProgramEnded end = h.Run([&] {
    a.At(2) = "b";
    return 0;
  });
  EXPECT_TRUE(end.fatal);
  EXPECT_EQ(a.Size(), 1);
}

}  // namespace
}  // namespace fwtest
