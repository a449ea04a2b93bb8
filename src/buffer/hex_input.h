#pragma once
// The text routines behind the address and value fields of the buffer
// dialogs (load, save, block, resize, fill, checksum): what a field lets
// through, how its text reads as a number, the checks with their shared
// messages, the byte/word address twins and the range of a file.
//
// Numbers are unsigned hexadecimal (platform/hex_number.h) and computed in
// 64 bits throughout; a field shows an address as "%07lX". Only the first
// kEditTextLimit characters of a text count, as the program always read its
// edits.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quenlet {

class Messages;

inline constexpr size_t kEditTextLimit = 256;

// Length limits of the dialogs' edits. An address field takes eight digits,
// one more than the seven of old, so that it reaches every byte of the
// largest buffer (kMaxBufferSize plus its 1024 bytes); the resize field,
// which holds a buffer's size, takes as many.
inline constexpr size_t kAddressDigits = 8;  // every address field, the block destination too
inline constexpr size_t kByteDigits = 2;     // a byte value (fill byte)
inline constexpr size_t kWordDigits = 4;     // a word value

// The largest address that a field of kAddressDigits digits shows.
inline constexpr uint64_t kAddressFieldMax = 0xFFFFFFFF;

// The text as hexadecimal (platform/hex_number.h); an empty text reads as
// 0, a value past 64 bits as the largest one.
uint64_t HexTextToInt(std::string_view text);

// The text cut to n characters when it is longer.
std::string LimitEditText(std::string_view text, size_t n);

// The text cut at its first character that is not 0-9, a-f or A-F.
std::string FilterHexEdit(std::string_view text);

// Key filter of the hex fields: 0-9, A-F and backspace pass, a-f become A-F,
// every other key gives 0 (dropped).
char HexCharFilter(char key);

// The two messages of the checks: the range order ("Error") and a bound
// ("ERROR"), both "Input Value Error !" with the stop icon.
void ReportRangeOrderError(Messages& messages);
void ReportBoundError(Messages& messages);

// True when second > first. Otherwise false, after the "Error" box when
// report is given.
bool CheckHexRangeOrder(std::string_view second, std::string_view first, Messages* report);

// When the text's value is below limit: value := it, true. Otherwise false
// (value untouched), after the "ERROR" box when report is given.
bool CheckHexBelow(std::string_view text, uint64_t limit, uint64_t& value, Messages* report);

// When the text's value is at least minimum: value := it, true. Otherwise
// false, after the "ERROR" box when report is given.
bool CheckHexAtLeast(std::string_view text, uint64_t minimum, uint64_t& value, Messages* report);

// "%07lX" of the value, exactly (eight digits and more when it needs them).
std::string HexAddressText(uint64_t value);

// A value the program puts into an address field: "%07lX", clamped to
// kAddressFieldMax, because cutting a digit too many from the right would
// name a much smaller address.
std::string AddressFieldText(uint64_t value);

// A byte address and its word twin as the program puts them into a pair of
// fields: each "%07lX"; when the byte address is clamped, the word address
// is at most the clamped one / 2, so that the twins never name two places.
struct AddressTwinTexts {
  std::string byte;
  std::string word;
};
AddressTwinTexts AddressTwins(uint64_t byte_address, uint64_t word_address);

// The last address of something of `size` bytes as an address field shows
// it: size - 1, clamped. Something empty (a file of no bytes, a device of
// size 0) shows 0, in every dialog alike; the range checks refuse it.
std::string LastAddressText(uint64_t size);

// Byte/word address twins: the word address of a byte address text
// (value / 2; the first 10 characters count), and the byte address of a word
// address text (value x 2). Both "%07lX", exact.
std::string ByteToWordAddressText(std::string_view byte_text);
std::string WordToByteAddressText(std::string_view word_text);

// The destination end of a block move: dest start + (end - start), when
// start < end; nullopt otherwise (the field stays as it is).
std::optional<std::string> UpdateDestEndText(std::string_view dest_start, std::string_view start,
                                             std::string_view end);

// The size of the regular file at path (following links); nullopt for
// anything else.
std::optional<uint64_t> RegularFileSize(const std::string& path);

// True when path names a regular file (following links). FIFOs, device
// nodes and folders do not count: reading one could block or is meaningless.
bool IsRegularFile(const std::string& path);

// "Not Found File ! " / "ERROR" with the stop icon.
void ReportFileNotFound(Messages& messages);

// True when path names a regular file. Otherwise false, after
// ReportFileNotFound when report is given.
bool FileExistsCheck(const std::string& path, Messages* report);

// The range fields for the whole of a file: start "000000" and end
// LastAddressText(size). nullopt, and nothing shown, when path is not a
// regular file (a name being typed, a FIFO, a folder).
struct FileRangeTexts {
  std::string start;
  std::string end;
};
std::optional<FileRangeTexts> ShowFileEndAddress(const std::string& path);

}  // namespace quenlet
