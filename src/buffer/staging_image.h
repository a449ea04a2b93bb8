#pragma once
// The image a file reader builds before anything touches the data buffer: the
// byte of address a at offset a, addresses below and between records holding
// the fill byte. It grows to what the file needs, up to a limit, and never
// loses bytes already stored; a failed read simply drops it.
//
// Its memory is a PageBlock: bytes past the image are zero and never
// written, so holes of a zero fill cost nothing, and the data buffer can
// take the block over and grow it in place.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <utility>

#include "platform/page_block.h"
#include "state/buffer_limits.h"

namespace quenlet {

class StagingImage {
 public:
  explicit StagingImage(uint8_t fill = 0xFF, uint64_t limit = kMaxBufferSize)
      : fill_(fill), limit_(limit) {}

  uint8_t fill() const { return fill_; }
  uint64_t limit() const { return limit_; }

  // Room for n bytes ahead of time (never past the limit): a reader that
  // knows how far its records reach sizes the image once, sparing regrowth
  // and its copies. A hint: when it fails, growth on demand decides.
  void Reserve(uint64_t n);

  // Room for size bytes from address on, which the caller then writes; the
  // addresses between the image's end and address get the fill byte. Null,
  // with nothing changed, when the bytes would pass the limit or memory runs
  // out (then OutOfMemory() is true). A reader that fails after this drops
  // the whole image.
  uint8_t* Claim(uint64_t address, size_t size) {
    if (address > limit_ || size > limit_ - address) return nullptr;
    const uint64_t end = address + size;
    if (end > Capacity() && !GrowFor(end)) {
      out_of_memory_ = true;
      return nullptr;
    }
    // The bytes past the image are zero already.
    if (address > size_ && fill_ != 0) std::memset(bytes_.get() + size_, fill_, address - size_);
    if (end > size_) size_ = end;
    return bytes_.get() + address;
  }

  // Stores size bytes from address on; false as Claim.
  bool Store(uint64_t address, const uint8_t* data, size_t size) {
    if (size == 0) return true;
    uint8_t* to = Claim(address, size);
    if (!to) return false;
    std::memcpy(to, data, size);
    return true;
  }

  // Direct writes for a reader's inner loop, inside the room the image
  // already has: the size is kept in the run while the loop goes (so that
  // the loop's stores into the image cannot make it be read again), and the
  // image takes it when the run ends.
  class Run {
   public:
    explicit Run(StagingImage& image)
        : image_(image), bytes_(image.bytes_.get()), size_(image.size_), fill_(image.fill_) {}
    ~Run() { image_.size_ = size_; }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // Room for size bytes from address on, which must end inside
    // Capacity(); as StagingImage::Claim otherwise.
    uint8_t* Claim(uint64_t address, size_t size) {
      if (address > size_ && fill_ != 0) std::memset(bytes_ + size_, fill_, address - size_);
      if (address + size > size_) size_ = address + size;
      return bytes_ + address;
    }

   private:
    StagingImage& image_;
    uint8_t* bytes_;
    uint64_t size_;
    uint8_t fill_;
  };

  // The image's block, taken out: the image is empty afterwards. The block
  // is Capacity() bytes long; past what Bytes() said it is zero.
  PageBlock Release() {
    size_ = 0;
    return std::move(bytes_);
  }

  // Bytes the image holds room for without growing.
  uint64_t Capacity() const { return bytes_.size(); }

  // True once a byte was stored.
  bool HasData() const { return size_ > 0; }
  // True when a Claim failed for want of memory rather than for the limit.
  bool OutOfMemory() const { return out_of_memory_; }
  // Highest address stored (inclusive); 0 when nothing was stored.
  uint64_t LastAddress() const { return size_ > 0 ? size_ - 1 : 0; }
  // Addresses 0 .. LastAddress(); empty when nothing was stored.
  std::span<const uint8_t> Bytes() const { return {bytes_.get(), static_cast<size_t>(size_)}; }

 private:
  // Room for at least end bytes, growing geometrically.
  bool GrowFor(uint64_t end);
  // Room for exactly want bytes (at most the limit); the image is kept.
  bool Grow(uint64_t want);

  uint8_t fill_;
  uint64_t limit_;
  // Bytes below size_ are the image; the rest of the block is zero.
  PageBlock bytes_;
  uint64_t size_ = 0;
  bool out_of_memory_ = false;
};

}  // namespace quenlet
