// Opening a skill file by dropping it on the script box: exactly one UTF-8
// file of the PT form, at most 99 kilobytes, read at once as if 读取按钮
// had been pressed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace app {

// The largest file a drop accepts: 99 kilobytes of 1,024 bytes.
inline constexpr std::int64_t kMaxDroppedFileBytes = 99 * 1024;

// FilesDropped of 拖放对象1 (registered on 编辑框1): `paths` is one path
// alone, or several each followed by CR LF.
void OnDropTargetFilesDropped(const std::string& paths);

// The size of the file or folder at `path` (GBK, as a drop names it) in
// kilobytes of 1,024 bytes, rounded up, from its whole 64-bit size; -1 when
// nothing exists there.
std::int64_t GetFileSizeKb(std::string_view path);

}  // namespace app
