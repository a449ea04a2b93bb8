#pragma once
// The common frame of the hex writers: the saved range is rounded up to whole
// 32-byte units, records are composed in a 64 KB staging block, and whenever
// more than 64 KB - 100 bytes are pending before a record they go out to the
// file in one piece.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quenlet {

// Where output bytes go: a file being written, or a string in tests.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // False when the bytes could not be written.
  virtual bool Write(std::span<const char> bytes) = 0;
};

// Writers' outcome.
enum class WriteOutcome {
  Written,
  TooBig,     // the format cannot address the range
  FileError,  // the sink refused bytes
};

// Length raised to the next multiple of 32 (a multiple stays as it is).
inline uint64_t PaddedLength(uint64_t length) {
  return (length + 31) / 32 * 32;
}

// Source bytes of a save: `available` holds the range and what follows it in
// the buffer; a padding byte past the end of `available` reads as 0.
class SaveSource {
 public:
  explicit SaveSource(std::span<const uint8_t> available) : available_(available) {}
  // Copies n bytes from offset into out.
  void Copy(uint64_t offset, size_t n, uint8_t* out) const;
  // Pointer to n bytes from offset when all are available, else null.
  const uint8_t* Direct(uint64_t offset, size_t n) const {
    return offset <= available_.size() && n <= available_.size() - offset
               ? available_.data() + offset
               : nullptr;
  }

 private:
  std::span<const uint8_t> available_;
};

class RecordOutput {
 public:
  static constexpr size_t kBlockSize = 0x10000;
  static constexpr size_t kFlushAbove = kBlockSize - 100;

  explicit RecordOutput(ByteSink& sink) : sink_(sink), block_(kBlockSize) {}

  // Room for one record of at most 100 bytes; flushes first when more than
  // kFlushAbove bytes are pending. Null once the sink has failed.
  char* BeginRecord();
  // The record took n bytes of that room.
  void EndRecord(size_t n) { pending_ += n; }
  // Writes what is pending; false when the sink failed at any point.
  bool Finish();

 private:
  bool Flush();

  ByteSink& sink_;
  std::vector<char> block_;
  size_t pending_ = 0;
  bool failed_ = false;
};

}  // namespace quenlet
