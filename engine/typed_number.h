// Numbers for the writers: what the user typed into a grid cell, checked
// before anything is written, and exact decimal arithmetic for the
// multiply mode (100 x 0.29 is 29, as the user means it, not the 28.99...
// that binary floating point gives).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// An exact decimal number: (-1)^negative x digits x 10^-scale. `digits`
// holds decimal digits without leading zeros (empty for zero).
struct Decimal {
  bool negative = false;
  std::string digits;
  int scale = 0;
};

// What a typed cell holds once full-width forms are folded to ASCII and
// blanks around it are trimmed.
enum class TypedKind {
  Empty,      // nothing but blanks: no input
  Integer,    // an optional sign and decimal digits
  Decimal,    // the same with a decimal point and a fraction
  Invalid,    // anything else
  Forbidden,  // holds a TAB, CR or LF, which would break the script's layout
};

struct TypedNumber {
  TypedKind kind = TypedKind::Empty;
  Decimal value;  // Integer and Decimal
};

TypedNumber ReadTypedNumber(std::string_view cell);

// The text that ReadTypedNumber reads a cell as: full-width ASCII forms and
// the ideographic space folded to ASCII, blanks around it trimmed.
std::string TypedText(std::string_view cell);

// Whether a cell holds a TAB, CR or LF.
bool HasForbiddenCharacter(std::string_view cell);

// The value as a 32-bit integer when it is one (scale 0 and in range).
std::optional<std::int32_t> AsInt32(const Decimal& value);

// The decimal number at the start of a stored value, read as TextToDouble
// reads it (folding, blanks, sign, digits, fraction, exponent), but exact.
// A text that does not begin with a number is zero.
Decimal LeadingDecimal(std::string_view text);
Decimal FromInt(std::int64_t value);

Decimal Multiply(const Decimal& a, const Decimal& b);

// Truncated toward zero, when the result fits 32 bits.
std::optional<std::int32_t> TruncateToInt32(const Decimal& value);

// The value rounded to a double and written with the 13 significant digits
// of "%.13g", always without an exponent ("0.00001"), when its whole part
// fits 32 bits.
std::optional<std::string> DecimalToText(const Decimal& value);
