#include "platform/gbk.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace platform {
namespace {

TEST(GbkLiteral, ConvertsFixedTextsByteForByte) {
  struct Case {
    const char* utf8;
    const char* gbk;
  };
  const Case cases[] = {
      {"技能原数值", "\xBC\xBC\xC4\xDC\xD4\xAD\xCA\xFD\xD6\xB5"},
      {"修改的数值", "\xD0\xDE\xB8\xC4\xB5\xC4\xCA\xFD\xD6\xB5"},
      {"读取数据", "\xB6\xC1\xC8\xA1\xCA\xFD\xBE\xDD"},
      {"释放数据", "\xCA\xCD\xB7\xC5\xCA\xFD\xBE\xDD"},
      {"地下城", "\xB5\xD8\xCF\xC2\xB3\xC7"},
      {"通用", "\xCD\xA8\xD3\xC3"},
      {"#引号", "#\xD2\xFD\xBA\xC5"},
      {"载入启动窗口失败", "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC"},
      {"技能1级数据不能为空！",
       "\xBC\xBC\xC4\xDC"
       "1"
       "\xBC\xB6\xCA\xFD\xBE\xDD\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5\xA3\xA1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Gbk(c.utf8), c.gbk);
  }
}

TEST(GbkLiteral, KeepsOneStableCopyPerText) {
  const std::string& first = Gbk("宋体");
  // Many other texts added afterwards must not move the first one.
  for (int i = 0; i < 1000; ++i) Gbk("技能" + std::to_string(i));
  EXPECT_EQ(&Gbk("宋体"), &first);
  EXPECT_EQ(first, "\xCB\xCE\xCC\xE5");

  std::vector<const std::string*> seen(8);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < seen.size(); ++t)
    threads.emplace_back([&seen, t] { seen[t] = &Gbk("决斗场"); });
  for (std::thread& thread : threads) thread.join();
  for (const std::string* s : seen) EXPECT_EQ(s, seen[0]);
}

}  // namespace
}  // namespace platform
