// The view over a buffer whose allocation failed: every cell is blank and
// every handler does nothing. The allocation is made to fail by this test
// program's own operators new, which refuse the one size asked for.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "buffer/buffer_info.h"
#include "buffer/data_buffer.h"
#include "buffer/hex_view.h"

namespace {
std::atomic<size_t> refused_size{0};
}  // namespace

void* operator new(std::size_t size) {
  if (size != 0 && size == refused_size.load()) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
// The buffer's block is an array taken without exceptions; a sanitizer's
// own operators would not pass through the one above.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  if (size != 0 && size == refused_size.load()) return nullptr;
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size) {
  if (void* p = operator new[](size, std::nothrow)) return p;
  throw std::bad_alloc();
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace quenlet {
namespace {

TEST(HexViewWithoutBuffer, ShowsNothingAndIgnoresEveryHandler) {
  refused_size = DataBuffer::kInitialBlock;
  DataBuffer buffer;
  refused_size = 0;
  ASSERT_FALSE(buffer.HasBuffer());

  HexView view(buffer);
  EXPECT_EQ(view.LastStartRow(), 0);
  for (int g = 0; g < kHexGridCount; ++g) {
    const auto grid = static_cast<HexGrid>(g);
    for (int row = 1; row <= HexView::kScreenRows; ++row) {
      for (int c = 0; c < view.Columns(grid); ++c) EXPECT_TRUE(view.Cell(grid, row, c).empty());
    }
    view.Select(grid, 1, 0);
    for (char c : std::string("12abZ"))
      EXPECT_EQ(view.Type(grid, uint8_t(c)), HexView::Typed::Ignored);
  }
  EXPECT_FALSE(view.Cell(HexGrid::Hex8, 0, 3).empty()) << "headers stay";
  EXPECT_EQ(view.Scroll(ScrollCode::PageDown, 0), 0);
  EXPECT_EQ(view.Scroll(ScrollCode::EndScroll, 100), 0);
  EXPECT_EQ(view.Wheel(-240), 0);
  view.JumpTo(0x1000);
  EXPECT_EQ(view.TopRow(), 0);
  EXPECT_FALSE(view.WriteByteAtCell(HexGrid::Hex8, 0, 1, 1));
  EXPECT_FALSE(view.WriteWordAtCell(0, 1, 1, 1));
  EXPECT_FALSE(view.Modified());
  EXPECT_EQ(ReadBufferInfo(buffer).buffer_size, "0000000");
}

}  // namespace
}  // namespace quenlet
