// What the hex readers' images take from memory, and a load whose image
// cannot be had. The array allocations of this test program (the images are
// arrays) go through the counting operators below, which can also be told to
// refuse large nothrow requests.
#include <malloc.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "buffer/data_buffer.h"
#include "buffer/format_detect.h"
#include "buffer/intel_hex.h"
#include "buffer/load_pipeline.h"
#include "buffer/motorola_srec.h"
#include "platform/user_interfaces.h"
#include "support/fakes.h"

namespace {

std::atomic<size_t> refuse_from{SIZE_MAX};  // nothrow requests of this many bytes or more fail
std::atomic<size_t> live_bytes{0};
std::atomic<size_t> peak_bytes{0};

void* Take(size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) return nullptr;
  const size_t live = live_bytes += malloc_usable_size(p);
  size_t peak = peak_bytes.load();
  while (live > peak && !peak_bytes.compare_exchange_weak(peak, live)) {
  }
  return p;
}

void Give(void* p) {
  if (!p) return;
  live_bytes -= malloc_usable_size(p);
  std::free(p);
}

}  // namespace

void* operator new[](size_t n) {
  if (void* p = Take(n)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept {
  return n >= refuse_from ? nullptr : Take(n);
}
void operator delete[](void* p) noexcept {
  Give(p);
}
void operator delete[](void* p, size_t) noexcept {
  Give(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  Give(p);
}

namespace quenlet {
namespace {

// 64 KiB of data records from `address` on: Intel HEX under an extended
// linear address record, or S3 records.
std::string HighIntelText(uint32_t address) {
  auto record = [](uint8_t count, uint16_t offset, uint8_t type, const uint8_t* data) {
    std::string r = ":";
    unsigned sum = count + (offset >> 8) + (offset & 0xFF) + type;
    char pair[3];
    auto put = [&](uint8_t b) {
      std::snprintf(pair, sizeof pair, "%02X", b);
      r += pair;
    };
    put(count);
    put(static_cast<uint8_t>(offset >> 8));
    put(static_cast<uint8_t>(offset));
    put(type);
    for (int k = 0; k < count; ++k) {
      put(data[k]);
      sum += data[k];
    }
    put(static_cast<uint8_t>(0x100 - (sum & 0xFF)));
    return r + "\r\n";
  };
  const uint8_t base[2] = {static_cast<uint8_t>(address >> 24),
                           static_cast<uint8_t>(address >> 16)};
  std::string text = record(2, 0, 4, base);
  uint8_t data[32];
  for (uint32_t a = 0; a < 0x10000; a += 32) {
    for (int k = 0; k < 32; ++k) data[k] = static_cast<uint8_t>(a + k);
    text += record(32, static_cast<uint16_t>((address + a) & 0xFFFF), 0, data);
  }
  return text + ":00000001FF\r\n";
}

std::string HighS3Text(uint32_t address) {
  std::string text = "S00600004844521B\r\n";
  char line[64];
  for (uint32_t a = 0; a < 0x10000; a += 16) {
    const uint32_t at = address + a;
    unsigned sum = 0x15 + (at >> 24) + ((at >> 16) & 0xFF) + ((at >> 8) & 0xFF) + (at & 0xFF);
    std::snprintf(line, sizeof line, "S315%08X", at);
    text += line;
    for (int k = 0; k < 16; ++k) {
      const uint8_t b = static_cast<uint8_t>(a + k);
      std::snprintf(line, sizeof line, "%02X", b);
      text += line;
      sum += b;
    }
    std::snprintf(line, sizeof line, "%02X\r\n", static_cast<uint8_t>(~sum));
    text += line;
  }
  return text + "S70500000000FA\r\n";
}

// A file whose data lies high sizes its image once to what the records
// reach: no regrowth, so the read never holds more than that image.
TEST(StagingMemory, AHighImageIsAllocatedOnceAtItsSize) {
  struct Row {
    const char* name;
    std::string text;
    HexReadResult (*read)(std::string_view, uint8_t, Progress&, uint64_t);
    uint64_t image_size;
  };
  for (const Row& row : {
           Row{"Intel at 0x01000000", HighIntelText(0x01000000), ReadIntelHex, 0x01010000},
           // S3 addresses count from the 16 MB window of the first record.
           Row{"S3 at 0x08F00000", HighS3Text(0x08F00000), ReadMotorolaS, 0x00F10000},
       }) {
    SCOPED_TRACE(row.name);
    NullProgress progress;
    const size_t before = live_bytes;
    peak_bytes = before;
    HexReadResult r = row.read(row.text, 0xFF, progress, kMaxBufferSize);
    ASSERT_TRUE(r.ok()) << r.failure->reason;
    ASSERT_EQ(r.image.Bytes().size(), row.image_size);
    EXPECT_EQ(r.image.Bytes()[row.image_size - 1], 0xFF);
    EXPECT_LE(peak_bytes - before, row.image_size + 0x10000);
  }
}

// An image that cannot be had shows the memory text, and the buffer stays.
TEST(StagingMemory, AnImageThatCannotBeHadShowsTheMemoryText) {
  struct Row {
    const char* name;
    std::string text;
    int32_t format;
    size_t refuse_from;
  };
  for (const Row& row : {
           Row{"Intel", HighIntelText(0x01000000), kLoadIntelHex, 0x100000},
           Row{"Motorola", HighS3Text(0x00F00000), kLoadMotorola, 0x100000},
           Row{"Tektronix", "/F00010100123456789ABCDEF0123456789ABCDEFF0\r\n/00000000\r\n",
               kLoadTektronix, 0x2000},
       }) {
    SCOPED_TRACE(row.name);
    DataBuffer buffer;
    testing::FakeMessages messages;
    NullProgress progress;
    LoadRequest request;
    request.name = "high.hex";
    request.format = row.format;
    refuse_from = row.refuse_from;
    const LoadOutcome outcome = LoadTextIntoBuffer(buffer, row.text, request, messages, progress);
    refuse_from = SIZE_MAX;
    EXPECT_FALSE(outcome.loaded);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, "Memory Error.");
    EXPECT_EQ(messages.boxes[0].caption, "ITL");
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::None);
    EXPECT_EQ(buffer.BufSize(), DataBuffer::kInitialSize);
  }
}

}  // namespace
}  // namespace quenlet
