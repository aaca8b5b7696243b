#include "engine/blocks.h"

#include <cstddef>

std::string SpanText(std::string_view text, TextSpan span) {
  if (span.start < 1 || span.length <= 0) return {};
  const auto from = static_cast<std::size_t>(span.start) - 1;
  if (from >= text.size()) return {};
  return std::string(text.substr(from, static_cast<std::size_t>(span.length)));
}

TextSpan ShiftedSpan(TextSpan span, std::span<const TextShift> shifts) {
  if (span.start < 1) return span;
  for (const TextShift& shift : shifts) {
    if (shift.at + shift.length <= span.start) {
      span.start += shift.newLength - shift.length;
    } else if (shift.at < span.start + span.length) {
      return {};
    }
  }
  return span;
}

TextSpan LineAfter(std::string_view text, int position) {
  const std::size_t from = position < 1 ? 0 : static_cast<std::size_t>(position) - 1;
  const std::size_t lineEnd = text.find("\r\n", from);
  if (lineEnd == std::string_view::npos) return {static_cast<int>(text.size()) + 1, 0};
  const std::size_t begin = lineEnd + 2;
  std::size_t end = text.find("\r\n", begin);
  if (end == std::string_view::npos) end = text.size();
  return {static_cast<int>(begin) + 1, static_cast<int>(end - begin)};
}

TextSpan BlockBody(std::string_view text, int begin, int end) {
  std::size_t b = begin < 1 ? 0 : static_cast<std::size_t>(begin) - 1;
  std::size_t e = end < 1 ? 0 : static_cast<std::size_t>(end) - 1;
  if (e > text.size()) e = text.size();
  if (b >= e) return {begin, 0};
  const std::string_view body = text.substr(b, e - b);
  if (body.starts_with("\r\n")) {
    b += 2;
  } else if (body.starts_with("\n")) {
    b += 1;
  }
  if (b < e) {
    const std::string_view rest = text.substr(b, e - b);
    if (rest.ends_with("\r\n")) {
      e -= 2;
    } else if (rest.ends_with("\n")) {
      e -= 1;
    }
  }
  return {static_cast<int>(b) + 1, static_cast<int>(e - b)};
}
