#include "platform/codepage.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <cstdio>
#include <cstdlib>
#include <type_traits>

namespace platform {
namespace {

static_assert(std::is_same_v<UChar, char16_t>, "ICU code units must be char16_t");

// One converter, opened on first use by the thread that owns it and closed
// when that thread ends. ICU converters keep conversion state, so they must
// never be shared between threads.
class ThreadConverter {
 public:
  // `substitute` is the single-byte replacement for what the target cannot
  // hold, or null to keep the converter's own (U+FFFD for UTF-8).
  ThreadConverter(const char* name, const char* substitute)
      : name_(name), substitute_(substitute) {}
  ~ThreadConverter() {
    if (cnv_ != nullptr) ucnv_close(cnv_);
  }
  ThreadConverter(const ThreadConverter&) = delete;
  ThreadConverter& operator=(const ThreadConverter&) = delete;

  // The converter, reset and with the replacement flag cleared.
  UConverter* Begin() {
    if (cnv_ == nullptr) Open();
    ucnv_reset(cnv_);
    replaced_ = false;
    return cnv_;
  }
  bool replaced() const { return replaced_; }

 private:
  // A converter that cannot be opened means the ICU data is missing; carrying
  // on would silently turn every text into nothing, and a later save would
  // write that, so the process stops here.
  [[noreturn]] void Fail(UErrorCode status) const {
    std::fprintf(stderr, "fatal: cannot open the %s converter: %s\n", name_, u_errorName(status));
    std::abort();
  }

  void Open() {
    UErrorCode status = U_ZERO_ERROR;
    cnv_ = ucnv_open(name_, &status);
    if (U_FAILURE(status)) Fail(status);
    if (substitute_ != nullptr) ucnv_setSubstChars(cnv_, substitute_, 1, &status);
    ucnv_setToUCallBack(cnv_, &ToUnicodeCallback, &replaced_, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(cnv_, &FromUnicodeCallback, &replaced_, nullptr, nullptr, &status);
    if (U_FAILURE(status)) Fail(status);
  }

  // Invalid or unmappable input: note it, then substitute as ICU does.
  static void ToUnicodeCallback(const void* context, UConverterToUnicodeArgs* args,
                                const char* bytes, int32_t length, UConverterCallbackReason reason,
                                UErrorCode* status) {
    if (reason > UCNV_IRREGULAR) return;  // reset, close or clone: nothing to convert
    *static_cast<bool*>(const_cast<void*>(context)) = true;
    UCNV_TO_U_CALLBACK_SUBSTITUTE(nullptr, args, bytes, length, reason, status);
  }

  // ICU's own substitute callback drops "default ignorable" characters (such
  // as U+FEFF or U+200B) without a trace. Here every character the target
  // cannot hold becomes the substitution character, so nothing vanishes
  // unseen.
  static void FromUnicodeCallback(const void* context, UConverterFromUnicodeArgs* args,
                                  const UChar*, int32_t, UChar32, UConverterCallbackReason reason,
                                  UErrorCode* status) {
    if (reason > UCNV_IRREGULAR) return;
    *static_cast<bool*>(const_cast<void*>(context)) = true;
    *status = U_ZERO_ERROR;
    ucnv_cbFromUWriteSub(args, 0, status);
  }

  const char* name_;
  const char* substitute_;
  UConverter* cnv_ = nullptr;
  bool replaced_ = false;
};

ThreadConverter& GbkConverter() {
  // Matches code page 936 byte for byte, 0x80 being U+20AC; "?" is the code
  // page's default character.
  thread_local ThreadConverter converter("windows-936-2000", "?");
  return converter;
}

ThreadConverter& Utf8Converter() {
  thread_local ThreadConverter converter("UTF-8", nullptr);
  return converter;
}

void Report(bool* replaced, bool value) {
  if (replaced != nullptr) *replaced = value;
}

// Converts the whole input in one flushed pass of `step` (ucnv_toUnicode
// or ucnv_fromUnicode), starting with room for `capacity(cnv)` output units
// and growing the buffer for as long as ICU reports that it overflowed.
template <class Out, class In, class Capacity, class Step>
Out Convert(ThreadConverter& converter, In in, Capacity capacity, Step step, bool* replaced) {
  Out out;
  if (in.empty()) {
    Report(replaced, false);
    return out;
  }
  UConverter* cnv = converter.Begin();
  out.resize(capacity(cnv));
  auto* source = in.data();
  auto* const sourceLimit = in.data() + in.size();
  std::size_t written = 0;
  for (;;) {
    auto* const begin = out.data();
    auto* target = begin + written;
    UErrorCode status = U_ZERO_ERROR;
    step(cnv, &target, begin + out.size(), &source, sourceLimit, nullptr, true, &status);
    written = static_cast<std::size_t>(target - begin);
    if (status != U_BUFFER_OVERFLOW_ERROR) break;
    out.resize(out.size() * 2);
  }
  out.resize(written);
  Report(replaced, converter.replaced());
  return out;
}

// Bytes to UTF-16 through `converter`.
std::u16string ToUtf16(ThreadConverter& converter, std::string_view bytes, bool* replaced) {
  // Every input byte gives at most one UTF-16 unit for both converters in
  // use; the loop still grows the buffer should that ever not hold.
  auto capacity = [&](UConverter*) { return bytes.size() + 1; };
  return Convert<std::u16string>(converter, bytes, capacity, &ucnv_toUnicode, replaced);
}

// UTF-16 to bytes through `converter`.
std::string FromUtf16(ThreadConverter& converter, std::u16string_view utf16, bool* replaced) {
  auto capacity = [&](UConverter* cnv) {
    return utf16.size() * static_cast<std::size_t>(ucnv_getMaxCharSize(cnv)) + 4;
  };
  return Convert<std::string>(converter, utf16, capacity, &ucnv_fromUnicode, replaced);
}

// Text of one encoding to another through UTF-16; `replaced` tells whether
// either step replaced anything.
template <class ToUtf16Fn, class FromUtf16Fn>
std::string Recode(std::string_view in, ToUtf16Fn toUtf16, FromUtf16Fn fromUtf16, bool* replaced) {
  bool lost = false;
  const std::u16string utf16 = toUtf16(in, &lost);
  bool lostToo = false;
  std::string out = fromUtf16(utf16, &lostToo);
  Report(replaced, lost || lostToo);
  return out;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8, bool* replaced) {
  return ToUtf16(Utf8Converter(), utf8, replaced);
}

std::string Utf16ToUtf8(std::u16string_view utf16, bool* replaced) {
  return FromUtf16(Utf8Converter(), utf16, replaced);
}

std::u16string GbkToUtf16(std::string_view gbk, bool* replaced) {
  return ToUtf16(GbkConverter(), gbk, replaced);
}

std::string Utf16ToGbk(std::u16string_view utf16, bool* replaced) {
  return FromUtf16(GbkConverter(), utf16, replaced);
}

std::string Utf8ToGbk(std::string_view utf8, bool* replaced) {
  return Recode(utf8, &Utf8ToUtf16, &Utf16ToGbk, replaced);
}

std::string GbkToUtf8(std::string_view gbk, bool* replaced) {
  return Recode(gbk, &GbkToUtf16, &Utf16ToUtf8, replaced);
}

bool IsValidUtf8(std::string_view bytes) {
  const auto byte = [bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  for (std::size_t i = 0; i < bytes.size();) {
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    // The continuation bytes a lead takes, and the range of the first of
    // them, which rules out overlong forms, surrogates and what lies
    // beyond U+10FFFF; the later ones are 0x80..0xBF.
    std::size_t trail = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      trail = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      trail = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      trail = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;  // a continuation byte, 0xC0, 0xC1 or 0xF5..0xFF
    }
    if (bytes.size() - i <= trail) return false;
    if (byte(i + 1) < low || byte(i + 1) > high) return false;
    for (std::size_t k = 2; k <= trail; ++k) {
      if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return false;
    }
    i += trail + 1;
  }
  return true;
}

std::string WithCrLfLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out.append("\r\n");
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace platform
