// What the hex readers' images take from memory, and a load whose image
// cannot be had. Every allocation of this test program, the images' included,
// is counted (support/counting_memory.h), and large requests can be refused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "buffer/data_buffer.h"
#include "buffer/format_detect.h"
#include "buffer/intel_hex.h"
#include "buffer/load_pipeline.h"
#include "buffer/motorola_srec.h"
#include "platform/user_interfaces.h"
#include "support/counting_memory.h"
#include "support/fakes.h"
#include "support/high_hex_text.h"
#include "support/resident_pages.h"

namespace quenlet {
namespace {

// A load of high.hex in `format`; with `fill` the fill byte 0xFF around it.
LoadRequest HighLoad(int32_t format, bool fill) {
  LoadRequest request;
  request.name = "high.hex";
  request.format = format;
  if (fill) {
    request.fill = 0xFF;
    request.fill_unused = true;
  }
  return request;
}

// A file whose data lies high sizes its image once to what the records
// reach, with the room of the buffer block that will take it over (at least
// the 16 MB buffer of an S-record load): no regrowth, so the read holds no
// more than that beside the text.
TEST(StagingMemory, AHighImageIsAllocatedOnceAtItsSize) {
  // Both come to a BufSize of 0x01020400 (the Intel image's next 64 KB and
  // 1 KB above it; the S-record buffer), in a block of 976 bytes more.
  constexpr uint64_t kRoom = 0x010207D0;
  struct Row {
    const char* name;
    std::string text;
    HexReadResult (*read)(std::string_view, uint8_t, Progress&, uint64_t);
    uint64_t image_size;
  };
  for (const Row& row : {
           Row{"Intel at 0x01000000", testing::HighIntelText(0x01000000, 0x10000), ReadIntelHex,
               0x01010000},
           // S3 addresses count from the 16 MB window of the first record.
           Row{"S3 at 0x08F00000", testing::HighS3Text(0x08F00000, 0x10000), ReadMotorolaS,
               0x00F10000},
       }) {
    SCOPED_TRACE(row.name);
    NullProgress progress;
    testing::memory::PeakAbove held;
    HexReadResult r = row.read(row.text, 0xFF, progress, kMaxBufferSize);
    ASSERT_TRUE(r.ok()) << r.failure->reason;
    ASSERT_EQ(r.image.Bytes().size(), row.image_size);
    EXPECT_EQ(r.image.Bytes()[row.image_size - 1], 0xFF);
    EXPECT_EQ(r.image.Capacity(), kRoom);
    EXPECT_LE(held.bytes(), kRoom + 0x10000);  // and the reader's own few bytes
  }
}

// A whole load of such a file holds the image once: the buffer takes the
// image's array over instead of a copy, so the load needs no more than the
// final buffer beside its text. So does a dense file whose buffer the text's
// length sizes.
TEST(StagingMemory, AWholeLoadHoldsAHighImageOnce) {
  struct Row {
    const char* name;
    std::string text;
    int32_t format;
    uint64_t last;  // the last data byte's address
    uint8_t first;  // the byte at 0
  };
  for (const Row& row : {
           Row{"Intel at 0x01000000", testing::HighIntelText(0x01000000, 0x10000), kLoadIntelHex,
               0x0100FFFF, 0xFF},
           Row{"S3 at 0x08F00000", testing::HighS3Text(0x08F00000, 0x10000), kLoadMotorola,
               0x00F0FFFF, 0xFF},
           Row{"Intel from 0, sized by its text", testing::HighIntelText(0, 0x100000),
               kLoadIntelHex, 0xFFFFF, 0x00},
       }) {
    SCOPED_TRACE(row.name);
    DataBuffer buffer;
    testing::FakeMessages messages;
    NullProgress progress;
    testing::memory::PeakAbove held;
    const LoadOutcome outcome =
        LoadTextIntoBuffer(buffer, row.text, HighLoad(row.format, true), messages, progress);
    ASSERT_TRUE(outcome.loaded);
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(buffer.Bytes()[row.last], 0xFF);  // the counting bytes' last, of 0x10000
    EXPECT_EQ(buffer.Bytes()[row.last - 0xFE], 0x01);
    EXPECT_EQ(buffer.Bytes()[row.last + 1], 0xFF);
    EXPECT_EQ(buffer.Bytes()[0], row.first);
    // Beside the new block: the text handed in and the old 8 KB block until
    // they go, and the reader's few bytes; nothing more.
    EXPECT_LE(held.bytes(),
              buffer.BlockSize() + row.text.size() + DataBuffer::kInitialBlock + 0x1000);
  }
}

// A zero fill costs nothing where no data lies: the holes of the image and
// of the buffer stay zero pages, also where the buffer held data before. A
// fill of another byte writes every byte, as it must.
TEST(StagingMemory, AZeroFillLeavesTheHolesUntouched) {
  constexpr uint32_t kAddress = 0x04000000;
  const std::string text = testing::HighIntelText(kAddress, 0x10000);
  struct Row {
    const char* name;
    uint8_t fill;
    int64_t dest;
    bool written_before;  // the buffer held 64 MiB of data
    bool touched;         // every page is resident afterwards
  };
  for (const Row& row : {
           Row{"zero fill", 0x00, 0, false, false},
           Row{"zero fill over old data", 0x00, 0, true, false},
           Row{"zero fill of a copy placed higher", 0x00, 0x100, true, false},
           Row{"another fill", 0xFF, 0, false, true},
       }) {
    SCOPED_TRACE(row.name);
    const uint64_t resident_before = testing::ResidentAnonymousBytes();
    DataBuffer buffer;
    testing::FakeMessages messages;
    NullProgress progress;
    if (row.written_before) {
      ASSERT_TRUE(buffer.ResizeBuffer(int64_t(64) << 20, messages));
      std::memset(buffer.Bytes().data(), 0x77, buffer.BufSize());
    }
    LoadRequest request = HighLoad(kLoadIntelHex, true);
    request.fill = row.fill;
    request.dest = row.dest;
    ASSERT_TRUE(LoadTextIntoBuffer(buffer, text, request, messages, progress).loaded);
    const uint64_t data = kAddress + row.dest;
    EXPECT_EQ(buffer.Bytes()[data + 0xFFFF], 0xFF);
    EXPECT_EQ(buffer.Bytes()[data - 1], row.fill);
    EXPECT_EQ(buffer.Bytes()[1], row.fill);
    const uint64_t resident = testing::ResidentAnonymousBytes() - resident_before;
    if (row.touched) {
      EXPECT_GE(resident, kAddress);
    } else {
      // The data's 64 KB and the ends, in huge pages at most, and the text.
      EXPECT_LE(resident, uint64_t(8) << 20);
    }
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
           Row{"Intel", testing::HighIntelText(0x01000000, 0x10000), kLoadIntelHex, 0x100000},
           Row{"Motorola", testing::HighS3Text(0x00F00000, 0x10000), kLoadMotorola, 0x100000},
           Row{"Tektronix", "/F00010100123456789ABCDEF0123456789ABCDEFF0\r\n/00000000\r\n",
               kLoadTektronix, 0x2000},
       }) {
    SCOPED_TRACE(row.name);
    DataBuffer buffer;
    testing::FakeMessages messages;
    NullProgress progress;
    LoadOutcome outcome;
    {
      testing::memory::Refusal refusal(row.refuse_from);
      outcome =
          LoadTextIntoBuffer(buffer, row.text, HighLoad(row.format, false), messages, progress);
    }
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
