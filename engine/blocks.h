// Locating the parts of a script text that the loaders cut out.
//
// Positions are 1-based byte positions, as everywhere in the engine; a span
// of length 0 is empty. Line breaks are found byte by byte, as GetLine does:
// CR and LF are never trail bytes of a two-byte character.
#pragma once

#include <span>
#include <string>
#include <string_view>

struct TextSpan {
  int start = 0;   // 1-based position of the first byte; 0 when nothing was cut
  int length = 0;  // bytes
  friend bool operator==(const TextSpan&, const TextSpan&) = default;
};

// One change made to a text: the `length` bytes from 1-based `at` became
// `newLength` bytes (an insertion replaces 0 bytes).
struct TextShift {
  int at = 0;
  int length = 0;
  int newLength = 0;
};

// Where `span` of a text lies once `shifts` have been made to that text,
// one after the other: a span after a change moves with it, one before it
// stays; a span that a change overlaps is no longer there (start 0), for
// its bytes are not those that were read. A span that holds nothing
// (start 0) stays so.
TextSpan ShiftedSpan(TextSpan span, std::span<const TextShift> shifts);

// The text of `span` in `text`.
std::string SpanText(std::string_view text, TextSpan span);

// The CR LF separated line that follows the line holding byte `position`:
// empty (at the end of the text) when that line is the last one.
TextSpan LineAfter(std::string_view text, int position);

// The bytes from `begin` up to `end` (exclusive), both 1-based, without one
// line break (CR LF or a lone LF) at each end: the body of a block whose
// open tag ends before `begin` and whose close tag starts at `end`. A break
// is never taken from both ends at once.
TextSpan BlockBody(std::string_view text, int begin, int end);
