#include <cstdio>

int main() {
  std::fputs("skill-editor: the main window is not built yet\n", stderr);
  return 1;
}
