// Worker threads: start, poll, stop request, join.
#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace platform {
namespace {

void WaitFor(const std::atomic<bool>& flag) {
  while (!flag.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(Thread, StartPollStopJoinAndStartAgain) {
  Thread t;
  EXPECT_FALSE(t.Running());
  t.Join();  // nothing started: does nothing
  std::atomic<bool> started{false};
  std::atomic<bool> sawStop{false};
  ASSERT_TRUE(t.Start([&](std::stop_token stop) {
    started = true;
    while (!stop.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    sawStop = true;
  }));
  WaitFor(started);
  EXPECT_TRUE(t.Running());
  EXPECT_FALSE(t.Start([](std::stop_token) {}));  // not joined yet
  t.RequestStop();
  t.Join();
  EXPECT_TRUE(sawStop);
  EXPECT_FALSE(t.Running());

  std::atomic<int> runs{0};
  ASSERT_TRUE(t.Start([&](std::stop_token) { ++runs; }));
  t.Join();
  t.Join();
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(t.Running());
}

TEST(Thread, RunningTurnsFalseWhenTheBodyReturnsWithoutJoin) {
  Thread t;
  std::atomic<bool> release{false};
  ASSERT_TRUE(t.Start([&](std::stop_token) { WaitFor(release); }));
  EXPECT_TRUE(t.Running());  // already true when Start returns
  release = true;
  while (t.Running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  t.Join();
}

TEST(Thread, DestructionStopsAndJoins) {
  std::atomic<bool> started{false};
  std::atomic<bool> finished{false};
  {
    Thread t;
    ASSERT_TRUE(t.Start([&](std::stop_token stop) {
      started = true;
      while (!stop.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      finished = true;
    }));
    WaitFor(started);
  }
  EXPECT_TRUE(finished);
}

}  // namespace
}  // namespace platform
