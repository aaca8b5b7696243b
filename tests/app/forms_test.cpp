// The program's forms as a whole: every picture a unit shows is there and
// has the unit's size, and every handler a form binds does something.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/program.h"
#include "framework/form.h"
#include "platform/image.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

void ExpectPicture(const fw::Image& image, const fw::Rect& rect, const std::string& what) {
  SCOPED_TRACE(what);
  ASSERT_FALSE(image.Empty());
  const auto decoded = platform::DecodeImage(image.bytes);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->width, rect.width);
  EXPECT_EQ(decoded->height, rect.height);
}

TEST(Forms, EveryPictureButtonAndPictureHasItsPicturesAtItsSize) {
  int pictureUnits = 0;
  for (const fw::WindowDef* form : app::ProgramForms()) {
    for (const fw::UnitDef& unit : form->units) {
      const std::string where = std::string(form->name) + " " + std::string(unit.name);
      if (unit.kind == fw::Kind::PictureButton) {
        ++pictureUnits;
        ExpectPicture(unit.images.normal, unit.rect, where + " normal");
        ExpectPicture(unit.images.hot, unit.rect, where + " hot");
        ExpectPicture(unit.images.pressed, unit.rect, where + " pressed");
        // A button without a disabled picture is never disabled.
        if (!unit.images.disabled.Empty()) {
          ExpectPicture(unit.images.disabled, unit.rect, where + " disabled");
        }
      } else if (unit.kind == fw::Kind::Picture) {
        ++pictureUnits;
        ExpectPicture(unit.images.normal, unit.rect, where);
      }
    }
    if (form->flags.translucent) {
      EXPECT_FALSE(form->backImage.Empty()) << form->name;
    }
  }
  EXPECT_GT(pictureUnits, 0);
}

// The windows with a close button of their own are the ones the user may
// close from outside (close key, window manager); the side windows, which
// live inside the main editor, and the figure beside the prompt box are not.
TEST(Forms, TheUserMayCloseTheWindowsWithACloseButton) {
  const std::map<std::string, bool> expected{
      {"MainWindow", true},
      {"HelpWindow", true},
      {"PromptWindow", true},
      {"SkillListWindow", true},
      {"SkillParamWindow", false},
      {"MasteryLevelWindow", false},
      {"PromptBackdropWindow", false},
  };
  std::map<std::string, bool> forms;
  for (const fw::WindowDef* form : app::ProgramForms())
    forms[std::string(form->name)] = form->flags.userMayClose;
  EXPECT_EQ(forms, expected);
}

std::string ReadSource(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text between the brace at `open` and its partner, or nothing when
// the braces do not pair.
std::string Braced(const std::string& text, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < text.size(); ++i) {
    if (text[i] == '{') ++depth;
    if (text[i] == '}' && --depth == 0) return text.substr(open + 1, i - open - 1);
  }
  return {};
}

bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}
std::size_t SkipBlanks(const std::string& text, std::size_t at) {
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])) != 0) ++at;
  return at;
}
std::string WordAt(const std::string& text, std::size_t at) {
  std::size_t end = at;
  while (end < text.size() && IsWordChar(text[end])) ++end;
  return text.substr(at, end - at);
}

// What is left of a function body without its comments and blanks.
std::string Statements(const std::string& body) {
  std::string left;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body.compare(i, 2, "//") == 0) {
      i = body.find('\n', i);
      if (i == std::string::npos) break;
    } else if (body.compare(i, 2, "/*") == 0) {
      i = body.find("*/", i);
      if (i == std::string::npos) break;
      ++i;
    } else if (std::isspace(static_cast<unsigned char>(body[i])) == 0) {
      left += body[i];
    }
  }
  return left;
}

// Every "void Name(...) {" of a source: the name and the body.
std::multimap<std::string, std::string> Definitions(const std::string& text) {
  std::multimap<std::string, std::string> found;
  for (std::size_t at = text.find("void"); at != std::string::npos;
       at = text.find("void", at + 4)) {
    if ((at > 0 && IsWordChar(text[at - 1])) || IsWordChar(text[at + 4])) continue;
    const std::size_t nameAt = SkipBlanks(text, at + 4);
    const std::string name = WordAt(text, nameAt);
    std::size_t next = SkipBlanks(text, nameAt + name.size());
    if (name.empty() || next >= text.size() || text[next] != '(') continue;
    next = text.find(')', next);
    if (next == std::string::npos) break;
    next = SkipBlanks(text, next + 1);
    if (next < text.size() && text[next] == '{') found.emplace(name, Braced(text, next));
  }
  return found;
}

// Reads the handlers' names where the forms bind them and their bodies
// where they are defined, in the sources of the application and of the
// engine. The names found must be as many as the forms' bindings, so that
// the reading cannot miss one.
TEST(Forms, EveryHandlerAFormBindsHasABody) {
  std::vector<std::string> bound;
  std::multimap<std::string, std::string> defined;
  for (const char* folder : {"app", "engine"}) {
    for (const auto& entry : fs::directory_iterator(fs::path(SE_SOURCE_DIR) / folder)) {
      if (entry.path().extension() != ".cpp") continue;
      const std::string text = ReadSource(entry.path());
      defined.merge(Definitions(text));
      for (std::size_t at = text.find(".Bind({"); at != std::string::npos;
           at = text.find(".Bind({", at + 1)) {
        const std::string block = Braced(text, at + 6);
        for (std::size_t amp = block.find('&'); amp != std::string::npos;
             amp = block.find('&', amp + 1)) {
          const std::string name = WordAt(block, SkipBlanks(block, amp + 1));
          if (!name.empty()) bound.push_back(name);
        }
      }
    }
  }
  std::size_t bindings = 0;
  for (const fw::WindowDef* form : app::ProgramForms()) bindings += form->bindings.size();
  ASSERT_EQ(bound.size(), bindings);

  for (const std::string& name : bound) {
    SCOPED_TRACE(name);
    const auto [first, last] = defined.equal_range(name);
    ASSERT_EQ(std::distance(first, last), 1);
    EXPECT_FALSE(Statements(first->second).empty()) << "empty body";
  }
}

}  // namespace
}  // namespace app_test
