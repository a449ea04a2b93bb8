#pragma once
// Plain byte files: the chosen range of a file read as it is, the byte move
// that strips headers, and the plain byte output of the binary save.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "buffer/text_block.h"

namespace quenlet {

// Outcome of reading a range of a file.
struct FileRangeRead {
  enum class Status { Read, CannotOpen, NoMemory, ReadError };
  Status status = Status::Read;
  TextBlock bytes;  // the bytes the file holds within the range
  int error = 0;    // errno where there is one
};

// Bytes first .. last (inclusive) of the file at path, cut to what the file
// holds: a range past the file's end gives the bytes up to the end (or none),
// never invented ones. Only a regular file is read: a FIFO, device node or
// folder is CannotOpen at once.
FileRangeRead ReadFileBytes(const std::string& path, uint64_t first, uint64_t last);

// Whether the file at path is a regular file that can be opened for reading.
bool CanOpenForReading(const std::string& path);

// Size of the file in bytes; 0 when there is no such regular file.
uint64_t GetFileLength(const std::string& path);

// Moves bytes offset .. end - 1 to 0 .. end - offset - 1, reversing the bit
// order of each byte when asked (bit 0 becomes bit 7 ...). An end past the
// bytes is cut to them. Returns the number of bytes moved, or nullopt when
// end < offset.
std::optional<size_t> MoveDataToStart(std::span<uint8_t> bytes, size_t end, size_t offset,
                                      bool reverse);

// The byte with its bit order reversed.
uint8_t ReverseBits(uint8_t value);

// Writes the bytes as the whole new content of the file at path, replacing
// it atomically. False, with errno in *error, when that failed; an old file
// then stays as it was.
bool WriteBinaryFile(const std::string& path, std::span<const uint8_t> bytes, int* error);

}  // namespace quenlet
