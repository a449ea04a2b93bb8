#pragma once
// The two integer-text rules of the settings and device files.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace quenlet {

// Raised by StrToInt; what() is "'<text>' is not a valid integer value".
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const std::string& text);
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// Strict: leading blanks, optional sign, then decimal digits, or hex digits
// after "$", "x", "X", "0x" or "0X". Anything else (empty text, trailing
// characters, a value outside 32 bits) raises ConversionError.
int32_t StrToInt(const std::string& text);

// Lenient: decimal, or hex after "0x"/"0X"; text that is not a number gives
// the default. Never raises.
int32_t LenientStrToInt(const std::string& text, int32_t default_value);

}  // namespace quenlet
