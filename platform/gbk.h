// Fixed texts of the program (messages, captions, tags) are written in the
// source as UTF-8 and used as GBK. Gbk() converts a literal once and keeps
// the result for the life of the process, so the returned reference stays
// valid and later calls for the same text cost a lookup.
#pragma once

#include <string>
#include <string_view>

namespace platform {

const std::string& Gbk(std::string_view utf8);

}  // namespace platform
