#include "engine/typed_number.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <limits>
#include <string>
#include <system_error>
#include <vector>

#include "engine/text.h"
#include "platform/codepage.h"

namespace {

// Exponents beyond this give values far outside every range the writers
// accept, so the digits they would add carry no information.
constexpr int kMaxExponent = 400;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
  return c == ' ' || c == '\v' || c == '\f';
}

// The cell with full-width ASCII forms (lead byte 0xA3) read as their
// ASCII character and the ideographic space as a space; every other
// two-byte character stays as it is, so it makes the text invalid.
std::string FoldedCell(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (!platform::IsGbkLeadByte(lead) || i + 1 == text.size()) {
      out.push_back(text[i]);
      continue;
    }
    const auto trail = static_cast<unsigned char>(text[++i]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out.push_back(static_cast<char>(trail - 0x80));
    } else if (lead == 0xA1 && trail == 0xA1) {
      out.push_back(' ');
    } else {
      out.push_back(text[i - 1]);
      out.push_back(text[i]);
    }
  }
  return out;
}

void DropLeadingZeros(std::string& digits) {
  const std::size_t first = digits.find_first_not_of('0');
  digits.erase(0, first == std::string::npos ? digits.size() : first);
}

// Applies a decimal exponent by moving the point.
void Shift(Decimal& d, long long exponent) {
  exponent = std::clamp<long long>(exponent, -kMaxExponent, kMaxExponent);
  if (exponent >= 0) {
    const auto up = static_cast<int>(exponent);
    const int fromScale = std::min(up, d.scale);
    d.scale -= fromScale;
    if (!d.digits.empty()) d.digits.append(static_cast<std::size_t>(up - fromScale), '0');
  } else {
    d.scale += static_cast<int>(-exponent);
  }
}

// The whole part's digits (without leading zeros) of a value.
std::string WholeDigits(const Decimal& d) {
  const auto size = static_cast<std::ptrdiff_t>(d.digits.size());
  if (size <= d.scale) return {};
  return d.digits.substr(0, static_cast<std::size_t>(size - d.scale));
}

std::optional<std::int32_t> SignedInt32(bool negative, const std::string& digits) {
  if (digits.size() > 10) return std::nullopt;
  std::int64_t magnitude = 0;
  for (char c : digits) magnitude = magnitude * 10 + (c - '0');
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(value);
}

// "%.13g" text with its exponent, if it has one, worked into the digits:
// "1.25e-05" becomes "0.0000125". Scripts hold their decimals written out.
std::string WithoutExponent(const std::string& text) {
  const std::size_t e = text.find('e');
  if (e == std::string::npos) return text;
  const bool negative = text[0] == '-';
  std::string digits;
  for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
    if (IsDigit(text[i])) digits.push_back(text[i]);
  }
  int exponent = 0;
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                  exponent);
  // The point stands after `whole` digits of the mantissa's.
  const int whole = 1 + exponent;
  std::string out = negative ? "-" : "";
  if (whole <= 0) {
    out.append("0.").append(static_cast<std::size_t>(-whole), '0').append(digits);
  } else if (static_cast<std::size_t>(whole) >= digits.size()) {
    out.append(digits).append(static_cast<std::size_t>(whole) - digits.size(), '0');
  } else {
    out.append(digits, 0, static_cast<std::size_t>(whole))
        .append(".")
        .append(digits, static_cast<std::size_t>(whole));
  }
  return out;
}

}  // namespace

bool HasForbiddenCharacter(std::string_view cell) {
  return cell.find_first_of("\t\r\n") != std::string_view::npos;
}

std::string TypedText(std::string_view cell) {
  const std::string folded = FoldedCell(cell);
  std::size_t begin = 0;
  std::size_t end = folded.size();
  while (begin < end && IsBlank(folded[begin])) ++begin;
  while (end > begin && IsBlank(folded[end - 1])) --end;
  return folded.substr(begin, end - begin);
}

TypedNumber ReadTypedNumber(std::string_view cell) {
  if (HasForbiddenCharacter(cell)) return {TypedKind::Forbidden, {}};
  const std::string folded = TypedText(cell);
  if (folded.empty()) return {TypedKind::Empty, {}};

  TypedNumber n;
  const std::size_t end = folded.size();
  std::size_t i = 0;
  if (folded[i] == '+' || folded[i] == '-') n.value.negative = folded[i++] == '-';
  std::string whole;
  for (; i < end && IsDigit(folded[i]); ++i) whole.push_back(folded[i]);
  std::string fraction;
  bool point = false;
  if (i < end && folded[i] == '.') {
    point = true;
    for (++i; i < end && IsDigit(folded[i]); ++i) fraction.push_back(folded[i]);
  }
  if (i != end || (whole.empty() && fraction.empty())) return {TypedKind::Invalid, {}};
  n.kind = point ? TypedKind::Decimal : TypedKind::Integer;
  n.value.digits = whole + fraction;
  n.value.scale = static_cast<int>(fraction.size());
  DropLeadingZeros(n.value.digits);
  return n;
}

std::optional<std::int32_t> AsInt32(const Decimal& value) {
  if (value.scale != 0) return std::nullopt;
  return SignedInt32(value.negative, value.digits);
}

Decimal LeadingDecimal(std::string_view text) {
  const std::string folded = FoldedCell(text);
  std::size_t i = 0;
  while (i < folded.size() &&
         (IsBlank(folded[i]) || folded[i] == '\t' || folded[i] == '\r' || folded[i] == '\n'))
    ++i;
  Decimal d;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) d.negative = folded[i++] == '-';
  std::string digits;
  for (; i < folded.size() && IsDigit(folded[i]); ++i) digits.push_back(folded[i]);
  int scale = 0;
  if (i < folded.size() && folded[i] == '.') {
    for (++i; i < folded.size() && IsDigit(folded[i]); ++i, ++scale) digits.push_back(folded[i]);
  }
  if (digits.empty()) return {};
  d.digits = std::move(digits);
  d.scale = scale;
  if (i < folded.size() && (folded[i] == 'e' || folded[i] == 'E')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < folded.size() && (folded[j] == '+' || folded[j] == '-'))
      negativeExponent = folded[j++] == '-';
    if (j < folded.size() && IsDigit(folded[j])) {
      long long exponent = 0;
      for (; j < folded.size() && IsDigit(folded[j]); ++j)
        exponent = std::min(exponent * 10 + (folded[j] - '0'), 1'000'000LL);
      Shift(d, negativeExponent ? -exponent : exponent);
    }
  }
  DropLeadingZeros(d.digits);
  if (d.digits.empty()) d.negative = false;
  return d;
}

Decimal FromInt(std::int64_t value) {
  Decimal d;
  d.negative = value < 0;
  // The magnitude of the most negative value does not fit its own type.
  const auto magnitude =
      d.negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  d.digits = magnitude == 0 ? std::string() : std::to_string(magnitude);
  return d;
}

Decimal Multiply(const Decimal& a, const Decimal& b) {
  Decimal product;
  if (a.digits.empty() || b.digits.empty()) return product;
  // Schoolbook multiplication, least significant digit first.
  std::vector<int> sum(a.digits.size() + b.digits.size(), 0);
  for (std::size_t i = 0; i < a.digits.size(); ++i) {
    const int x = a.digits[a.digits.size() - 1 - i] - '0';
    for (std::size_t j = 0; j < b.digits.size(); ++j)
      sum[i + j] += x * (b.digits[b.digits.size() - 1 - j] - '0');
  }
  int carry = 0;
  for (int& place : sum) {
    place += carry;
    carry = place / 10;
    place %= 10;
  }
  for (auto it = sum.rbegin(); it != sum.rend(); ++it)
    product.digits.push_back(static_cast<char>('0' + *it));
  DropLeadingZeros(product.digits);
  product.scale = a.scale + b.scale;
  product.negative = !product.digits.empty() && a.negative != b.negative;
  return product;
}

std::optional<std::int32_t> TruncateToInt32(const Decimal& value) {
  std::string whole = WholeDigits(value);
  DropLeadingZeros(whole);
  return SignedInt32(value.negative && !whole.empty(), whole);
}

std::optional<std::string> DecimalToText(const Decimal& value) {
  if (!TruncateToInt32(value)) return std::nullopt;
  if (value.digits.empty()) return DoubleToText(0.0);
  // from_chars rounds the exact decimal to the nearest double.
  const std::string exact = value.digits + "e-" + std::to_string(value.scale);
  double d = 0.0;
  const auto [ptr, ec] = std::from_chars(exact.data(), exact.data() + exact.size(), d);
  if (ec != std::errc() && ec != std::errc::result_out_of_range) return std::nullopt;
  if (ec == std::errc::result_out_of_range) d = 0.0;  // below the smallest double
  return WithoutExponent(DoubleToText(value.negative && d != 0.0 ? -d : d));
}
