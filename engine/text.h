// Text helpers over GBK byte strings.
//
// Positions and lengths count bytes and are 1-based; a search that finds
// nothing gives -1 and a start below 1 counts as 1. Searches step over
// two-byte characters: a byte from 0x81 to 0xFE is a lead byte and takes the
// next byte as its trail (0x80, the euro sign, and 0xFF are characters of
// one byte, as code page 936 reads them), so an occurrence never begins on
// a trail byte (a trail byte may be "@", "[", "]", "`", "|" or "\"), and an
// occurrence covers whole characters. A byte below 0x40 (CR, LF, TAB, a
// digit) is never a trail byte: a lead byte before one stands alone, so
// lines end at every CR LF and values at every TAB. Ignoring case folds only
// single-byte ASCII letters. An empty sought text is never found.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// --- primitives ------------------------------------------------------------

// Position of the first occurrence of `sought` at or after `start`, or -1.
int FindText(std::string_view text, std::string_view sought, int start = 1,
             bool ignoreCase = false);

// `count` bytes from 1-based `start`; a start below 1 or a count of 0 or less
// gives the empty text, a part that runs past the end is cut there.
std::string MidText(std::string_view text, int start, int count);
std::string LeftText(std::string_view text, int count);
std::string RightText(std::string_view text, int count);

// Parts between separators: an empty part between two separators is kept, a
// separator at the start gives an empty first part, one at the very end adds
// no empty last part, and the empty text gives no parts.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);
// The same rules, where each of the single bytes of `separators` (ASCII)
// separates: "\t|" splits a PT values line at its TABs and bars alike.
std::vector<std::string> SplitTextAtAny(std::string_view text, std::string_view separators);

// --- helpers ---------------------------------------------------------------

// Removes one leading and one trailing CR LF from `text` itself, then returns
// that text with every run of blank (empty or white-space-only) lines between
// two lines shrunk to a single line break.
std::string TrimBlankLines(std::string& text);

// The lines of a CR LF separated text, as GetLine numbers them: an empty
// line between two CR LF pairs is kept, a final CR LF adds no line, and the
// empty text has none. This is the one line splitter of the engine; CR and LF
// are never part of a two-byte character.
std::vector<std::string> SplitLines(std::string_view text);

int CountLines(std::string_view text);
std::string GetLine(std::string_view text, int lineNumber);
int FindLineIndex(std::string_view text, std::string_view sought, bool caseSensitive = false);

// Replaces, from `start` on, at most `count` occurrences (every one when
// count is empty, none when it is 0 or less) of each find text by its
// replacement, pair after pair, each pair working on the output of the one
// before. A pair with an empty find text changes nothing.
std::string ReplaceText(std::string_view text, std::optional<int> count, int start,
                        bool caseSensitive, std::string_view find1, std::string_view repl1,
                        std::string_view find2 = {}, std::string_view repl2 = {},
                        std::string_view find3 = {}, std::string_view repl3 = {},
                        std::string_view find4 = {}, std::string_view repl4 = {},
                        std::string_view find5 = {}, std::string_view repl5 = {});
// The forms in use, both with ASCII letter case ignored: every occurrence, or
// the first one from a position.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view repl);
std::string ReplaceFirst(std::string_view text, std::string_view find, std::string_view repl,
                         int start = 1);

int CountOccurrences(std::string_view text, std::string_view sought, bool caseSensitive = false);

// Text after the start marker up to the end marker ("#引号" in either marker
// stands for a double quote); empty when either marker is missing.
std::string GetTextBetween(std::string_view text, std::string_view startMarker,
                           std::string_view endMarker, int start = 1, bool ignoreCase = false);

// The text with the span from the start marker through the next end marker
// removed (case ignored; the end marker is looked for from the start
// marker's position on); unchanged when either marker is missing.
std::string RemoveTextBetween(std::string_view text, std::string_view startMarker,
                              std::string_view endMarker);

// The CR LF separated lines of `text` without line `lineNumber` (1-based),
// joined by CR LF with none after the last. A number outside the lines
// removes nothing, but a final CR LF is still dropped.
std::string DeleteLine(std::string_view text, int lineNumber);

// UTF-8 file bytes to GBK text. A leading byte-order mark is dropped; the
// first zero byte ends the text. `replaced` tells whether any character had
// to be replaced by the default character.
std::string ConvertUtf8ToGbk(std::string_view utf8, bool* replaced = nullptr);
// GBK text to UTF-8 file bytes (no terminator added).
std::string ConvertGbkToUtf8(std::string_view gbk, bool* replaced = nullptr);

// --- numbers ---------------------------------------------------------------

// Full-width ASCII forms (0xA3 0xA1..0xFE) become their ASCII character and
// the ideographic space (0xA1 0xA1) a space; then leading white space, one
// optional sign and the decimal digits up to the first other character are
// read. No digits gives 0; values beyond 32 bits saturate.
std::int32_t TextToInt(std::string_view text);
// The same integer, read whole: nullopt when it lies beyond 32 bits (where
// TextToInt saturates), so that a writer never puts back a value other
// than the one the script holds.
std::optional<std::int32_t> TextToIntExact(std::string_view text);
// The same folding and white space, then a decimal number with optional
// fraction and exponent; no number gives 0. Never depends on the locale and
// never reads "inf", "nan" or hex; a value beyond the range of a double
// saturates at the largest finite one, so the result is always finite.
double TextToDouble(std::string_view text);
// Truncation toward zero, saturating at the 32-bit range (NaN gives 0).
std::int32_t DoubleToInt(double value);
std::string IntToText(std::int64_t value);
// "%.13g", independent of the locale.
std::string DoubleToText(double value);
