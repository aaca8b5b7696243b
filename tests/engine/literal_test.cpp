// The fixed texts of the program are written as UTF-8 in the source and used
// as GBK; these pin a few of them byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gbk.h"

namespace {

TEST(FixedTexts, AreGbkByteForByte) {
  struct Case {
    const char* utf8;
    std::string gbk;
  };
  const std::vector<Case> cases = {
      {"释放数据", "\xCA\xCD\xB7\xC5\xCA\xFD\xBE\xDD"},
      {"读取数据", "\xB6\xC1\xC8\xA1\xCA\xFD\xBE\xDD"},
      {"只支持SuperPVF和PVFTool解密的数据格式！",
       "\xD6\xBB\xD6\xA7\xB3\xD6SuperPVF\xBA\xCDPVFTool\xBD\xE2\xC3\xDC\xB5\xC4\xCA\xFD\xBE\xDD"
       "\xB8\xF1\xCA\xBD\xA3\xA1"},
      {"技能数据设置不正确！",
       "\xBC\xBC\xC4\xDC\xCA\xFD\xBE\xDD\xC9\xE8\xD6\xC3\xB2\xBB\xD5\xFD\xC8\xB7\xA3\xA1"},
      {"#引号", "#\xD2\xFD\xBA\xC5"},
      {"请先加载一个技能数据！",
       "\xC7\xEB\xCF\xC8\xBC\xD3\xD4\xD8\xD2\xBB\xB8\xF6\xBC\xBC\xC4\xDC\xCA\xFD\xBE\xDD\xA3\xA1"},
      {"[@05][level info]", "[@05][level info]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(platform::Gbk(c.utf8), c.gbk);
  }
}

}  // namespace
