// The editor on a machine without a sound device: the prompts and the sound
// after a modification try to open the device once, say so in one line on
// standard error, and stay silent for the rest of the session. SDL's file
// driver stands for the device: its file lies in a folder that is missing
// when the first sound plays and is made right after it, so that any later
// try would open the device and leave the file. The user acts in a child
// process (a death test) that ends with code 0 when every check held.
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <QtGlobal>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "child_program.h"
#include "gui_fixture.h"
#include "tests/standard_error.h"

namespace {

using namespace gui_test;
namespace fs = std::filesystem;

class SoundThroughTheEditor : public ChildProgramTest {};

TEST_F(SoundThroughTheEditor, WithoutADeviceASessionTriesOnceAndSaysSoInOneLine) {
  // The child runs this body again, with a folder of its own.
  const fs::path scratch =
      fs::temp_directory_path() / ("sound_gui_test_" + std::to_string(::getpid()));
  const fs::path folder = scratch / "missing";
  const fs::path file = folder / "sound.raw";
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);

  EXPECT_EXIT(
      RunEditor([&] {
        // Qt's own messages (the offscreen platform's complaints) aside.
        const QtMessageHandler qtMessages =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        test_output::StandardErrorText standardError;
        // A prompt: the script box holds no script yet.
        CHILD_CHECK(AnsweringPrompts([] { Press("读取按钮"); }).prompts.size() == 1);
        fs::create_directories(folder);
        CHILD_CHECK(AnsweringPrompts([] { Press("读取按钮"); }).prompts.size() == 1);

        // A modification, confirmed: its sound follows.
        auto* box = W<QPlainTextEdit>("编辑框1");
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(30, 30));
        QApplication::clipboard()->setText(QString::fromUtf8(Utf8(Fixture("both_copies.sp.txt"))));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        Press("读取按钮");
        Choose("PK单选框");
        TypeInCell(W<QTableView>("数据表格"), 1, 1, Q("600"));
        CHILD_CHECK(AnsweringPrompts([] { Press("保存按钮"); }).prompts.size() == 1);
        // And a prompt after it.
        CHILD_CHECK(AnsweringPrompts([] { Press("复制按钮"); }).prompts.size() == 1);

        const std::vector<std::string> lines = standardError.Lines();
        qInstallMessageHandler(qtMessages);
        for (const std::string& line : lines)
          std::fprintf(stderr, "standard error: %s\n", line.c_str());
        CHILD_CHECK(lines.size() == 1);
        CHILD_CHECK(!lines.empty() && lines[0].starts_with("sound: no audio device ("));
        CHILD_CHECK(!fs::exists(file));
        fs::remove_all(scratch);
      }),
      ::testing::ExitedWithCode(0), "");
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  ::unsetenv("SDL_DISKAUDIOFILE");
}

}  // namespace
