// The script box 编辑框1 and the buttons under it: read, copy, clear.
#pragma once

#include <string_view>

namespace app {

// Puts `gbk` on the clipboard as plain text.
void CopyTextToClipboard(std::string_view gbk);

}  // namespace app
