// A headless run of the whole program, shared by the application tests.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "app/program.h"
#include "app/testing/prompts.h"
#include "framework/headless.h"
#include "platform/codepage.h"

namespace app_test {

class ProgramTest : public ::testing::Test {
 protected:
  // Starts the program, runs `whileUp` once MainWindow is up, then closes
  // the program through 关闭按钮, unless `whileUp` has ended it already. The
  // program must end through the exit road with code 0: a prompt that
  // nobody answers stalls the run, which fails the test.
  fw::ProgramEnded RunProgram(const std::function<void()>& whileUp) {
    h.Then([this, whileUp] {
      whileUp();
      h.Click("MainWindow", "关闭按钮");
    });
    const fw::ProgramEnded end = h.Run(&app::ProgramStart);
    EXPECT_FALSE(end.fatal) << platform::GbkToUtf8(end.fatalMessage);
    EXPECT_EQ(end.code, 0);
    return end;
  }

  fw::Headless h;
  app::testing::Prompts prompts{h};
};

// Model texts are GBK; expectations read better in UTF-8.
inline std::string Utf8(std::string_view gbk) {
  return platform::GbkToUtf8(gbk);
}

}  // namespace app_test
