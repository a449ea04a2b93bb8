#pragma once
// The bytes of a file range as a load reads them. They live in a PageBlock:
// read straight into memory that was not zero-filled first, and, for a
// binary range, able to become the data buffer itself.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "platform/page_block.h"

namespace quenlet {

class TextBlock {
 public:
  TextBlock() = default;
  // A copy of `text` (short texts, tests); std::bad_alloc when there is no
  // memory for it.
  TextBlock(std::string_view text) {
    if (!Allocate(text.size())) throw std::bad_alloc();
    if (!text.empty()) std::memcpy(data(), text.data(), text.size());
  }
  TextBlock(const std::string& text) : TextBlock(std::string_view(text)) {}
  TextBlock(const char* text) : TextBlock(std::string_view(text)) {}

  // Room for n bytes, which the caller writes next. False when the memory
  // cannot be had.
  bool Allocate(size_t n) { return block_.Resize(n, PageBlock::NewBytes::Unwritten); }
  // Keeps the first n bytes.
  void Truncate(size_t n) {
    if (n < size()) block_.Resize(n);
  }

  char* data() { return reinterpret_cast<char*>(block_.get()); }
  const char* data() const { return reinterpret_cast<const char*>(block_.get()); }
  size_t size() const { return block_.size(); }
  bool empty() const { return block_.empty(); }
  const char* begin() const { return data(); }
  const char* end() const { return data() + size(); }
  std::span<uint8_t> bytes() { return {block_.get(), size()}; }
  operator std::string_view() const { return {data(), size()}; }

  // The block, taken out: the text is empty afterwards.
  PageBlock Release() { return std::move(block_); }

 private:
  PageBlock block_;
};

}  // namespace quenlet
