// Code-page conversion between UTF-8, UTF-16 and GBK (code page 936).
//
// GBK is handled by ICU's "windows-936-2000" converter, which matches code
// page 936 byte for byte (0x80 is U+20AC). Every call may run on any thread:
// each thread uses its own converter. No byte-order mark is added or removed,
// and a zero byte is converted like any other character. Should ICU be unable
// to open a converter (its data missing), the process stops with a message
// rather than hand back empty texts.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Each conversion replaces what it cannot convert: invalid input becomes
// U+FFFD on the way to UTF-16, and a character GBK cannot hold becomes the
// code page's default character "?". When `replaced` is given it is set to
// whether any such replacement happened.
std::u16string Utf8ToUtf16(std::string_view utf8, bool* replaced = nullptr);
std::string Utf16ToUtf8(std::u16string_view utf16, bool* replaced = nullptr);
std::u16string GbkToUtf16(std::string_view gbk, bool* replaced = nullptr);
std::string Utf16ToGbk(std::u16string_view utf16, bool* replaced = nullptr);

// Whether `bytes` are well-formed UTF-8: every character in its shortest
// form, no encoded surrogate (U+D800..U+DFFF), nothing beyond U+10FFFF, no
// continuation byte without its lead and no sequence cut short, also at the
// very end. A byte-order mark and the noncharacters are well-formed.
bool IsValidUtf8(std::string_view bytes);

// Whether `byte` starts a two-byte GBK character, as the converter reads
// code page 936: 0x81 to 0xFE. 0x80 (the euro sign) and 0xFF are characters
// of one byte, so the byte after one of them is a character of its own.
constexpr bool IsGbkLeadByte(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xFE;
}

// Shorthands through UTF-16.
std::string Utf8ToGbk(std::string_view utf8, bool* replaced = nullptr);
std::string GbkToUtf8(std::string_view gbk, bool* replaced = nullptr);

// The text with every line break (CR LF, a lone CR, a lone LF) written as
// CR LF, the line break of the script forms. CR and LF are never part of a
// two-byte GBK character, so this is safe on GBK as well as on UTF-8.
std::string WithCrLfLineBreaks(std::string_view text);

}  // namespace platform
