#include "buffer/hex_input.h"

#include <sys/stat.h>

#include <algorithm>

#include "platform/hex_digit.h"
#include "platform/hex_number.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"

namespace quenlet {

uint64_t HexTextToInt(std::string_view text) {
  // A field's value may be as large as its text says: the checks refuse it.
  return *ReadHexNumber(text.substr(0, std::min(text.size(), kEditTextLimit)), UINT64_MAX,
                        HexOverflow::kClamp);
}

std::string LimitEditText(std::string_view text, size_t n) {
  return std::string(text.substr(0, std::min(text.size(), n)));
}

std::string FilterHexEdit(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && HexDigitValue(text[i]) >= 0) ++i;
  return std::string(text.substr(0, i));
}

char HexCharFilter(char key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'F') || key == '\b') return key;
  if (key >= 'a' && key <= 'f') return static_cast<char>(key - 'a' + 'A');
  return 0;
}

void ReportRangeOrderError(Messages& messages) {
  messages.Box("Input Value Error !", "Error", MessageButtons::Ok, MessageIcon::Stop);
}

void ReportBoundError(Messages& messages) {
  messages.Box("Input Value Error !", "ERROR", MessageButtons::Ok, MessageIcon::Stop);
}

bool CheckHexRangeOrder(std::string_view second, std::string_view first, Messages* report) {
  if (HexTextToInt(second) > HexTextToInt(first)) return true;
  if (report) ReportRangeOrderError(*report);
  return false;
}

bool CheckHexBelow(std::string_view text, uint64_t limit, uint64_t& value, Messages* report) {
  const uint64_t v = HexTextToInt(text);
  if (v < limit) {
    value = v;
    return true;
  }
  if (report) ReportBoundError(*report);
  return false;
}

bool CheckHexAtLeast(std::string_view text, uint64_t minimum, uint64_t& value, Messages* report) {
  const uint64_t v = HexTextToInt(text);
  if (v >= minimum) {
    value = v;
    return true;
  }
  if (report) ReportBoundError(*report);
  return false;
}

std::string HexAddressText(uint64_t value) {
  return strprintf("%07llX", static_cast<unsigned long long>(value));
}

std::string AddressFieldText(uint64_t value) {
  return HexAddressText(std::min(value, kAddressFieldMax));
}

AddressTwinTexts AddressTwins(uint64_t byte_address, uint64_t word_address) {
  if (byte_address > kAddressFieldMax) {
    byte_address = kAddressFieldMax;
    word_address = std::min(word_address, byte_address / 2);
  }
  return {AddressFieldText(byte_address), AddressFieldText(word_address)};
}

std::string LastAddressText(uint64_t size) {
  return AddressFieldText(size > 0 ? size - 1 : 0);
}

std::string ByteToWordAddressText(std::string_view byte_text) {
  return HexAddressText(HexTextToInt(byte_text.substr(0, std::min<size_t>(byte_text.size(), 10))) /
                        2);
}

std::string WordToByteAddressText(std::string_view word_text) {
  return HexAddressText(HexTextToInt(word_text) * 2);
}

std::optional<std::string> UpdateDestEndText(std::string_view dest_start, std::string_view start,
                                             std::string_view end) {
  const uint64_t s = HexTextToInt(start);
  const uint64_t e = HexTextToInt(end);
  if (!(s < e)) return std::nullopt;
  return HexAddressText(HexTextToInt(dest_start) + (e - s));
}

std::optional<uint64_t> RegularFileSize(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

bool IsRegularFile(const std::string& path) {
  return RegularFileSize(path).has_value();
}

void ReportFileNotFound(Messages& messages) {
  messages.Box("Not Found File ! ", "ERROR", MessageButtons::Ok, MessageIcon::Stop);
}

bool FileExistsCheck(const std::string& path, Messages* report) {
  if (IsRegularFile(path)) return true;
  if (report) ReportFileNotFound(*report);
  return false;
}

std::optional<FileRangeTexts> ShowFileEndAddress(const std::string& path) {
  const std::optional<uint64_t> size = RegularFileSize(path);
  if (!size) return std::nullopt;
  return FileRangeTexts{"000000", LastAddressText(*size)};
}

}  // namespace quenlet
