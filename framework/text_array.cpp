// Definitions for text_array.h.
#include "framework/text_array.h"

#include "framework/runtime.h"
#include "platform/gbk.h"

namespace fw {

namespace {
[[noreturn]] void OutOfRange(int index, int size) {
  Fatal(platform::Gbk("数组下标超出范围：") + std::to_string(index) + " (1.." +
        std::to_string(size) + ")");
}
}  // namespace

const std::string& TextArray::At(int index) const {
  if (index < 1 || index > Size()) OutOfRange(index, Size());
  return items_[static_cast<std::size_t>(index - 1)];
}

std::string& TextArray::At(int index) {
  if (index < 1 || index > Size()) OutOfRange(index, Size());
  return items_[static_cast<std::size_t>(index - 1)];
}

}  // namespace fw
