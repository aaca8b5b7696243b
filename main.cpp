// The editor: the application's start routine over the Qt backend.
#include "app/program.h"
#include "framework/qt/qt_backend.h"

int main(int argc, char** argv) {
  return fw::qt::RunProgram(argc, argv, &app::ProgramStart);
}
