// Program, verify, read and confirm of whole devices on the simulated unit:
// the exact wire of each geometry and what the chip and buffer hold after.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include "ops_fixture.h"
#include "programmer/device_compare.h"
#include "programmer/device_program.h"
#include "programmer/device_read.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// One 64 KB page on the wire: block words 16, 18 and 20, and how many 32 KB
// bulk halves move.
struct Page {
  uint16_t address;
  uint16_t block;
  uint16_t length;
  int halves;
};

// Program: parameters, 0x43, 0x4C + 32 KB per half, 0x49 op, status.
std::vector<std::string> WritePages(uint8_t op, const std::vector<Page>& pages) {
  std::vector<std::string> out;
  for (const Page& p : pages) {
    out.push_back("OUT 47 0B00 0080 0");
    out.push_back(strprintf("P %04X %04X %04X", p.address, p.block, p.length));
    out.push_back("OUT 43 0000 0000 0");
    for (int h = 0; h < p.halves; ++h) {
      out.push_back("OUT 4C 8000 8000 0");
      out.push_back("W 32768");
    }
    out.push_back(strprintf("OUT 49 4000 %02X00 0", op));
    out.push_back("IN 42 0000 0000 16");
  }
  return out;
}

// Read, verify, confirm: parameters, 0x49 op, status, 0x4B + 32 KB per half.
std::vector<std::string> ReadPages(uint8_t op, const std::vector<Page>& pages) {
  std::vector<std::string> out;
  for (const Page& p : pages) {
    out.push_back("OUT 47 0B00 0080 0");
    out.push_back(strprintf("P %04X %04X %04X", p.address, p.block, p.length));
    out.push_back(strprintf("OUT 49 4000 %02X00 0", op));
    out.push_back("IN 42 0000 0000 16");
    for (int h = 0; h < p.halves; ++h) {
      out.push_back("OUT 4B 8000 8000 0");
      out.push_back("R 32768");
    }
  }
  return out;
}

struct GeometryCase {
  const char* name;
  DeviceShape shape;
  std::vector<Page> program;
  std::vector<Page> read;
  std::vector<Page> verify;
  std::vector<Page> confirm;  // empty: as verify
  // Second area: program (op 0x0E), read (op 0x0D), compares (op 0x0D).
  std::vector<Page> second_program = {};
  std::vector<Page> second_read = {};
  std::vector<Page> second_compare = {};
};

DeviceShape Bytes(uint32_t max) {
  return DeviceShape{.max_address = max};
}
DeviceShape Words(uint32_t max) {
  return DeviceShape{.data_width = "0xFFFF", .max_address = max, .read_mode = 0x0400};
}

const GeometryCase kCases[] = {
    {"Byte32K", Bytes(0x7FFF), {{0, 0, 0x7FFF, 2}}, {{0, 0, 0x8000, 1}}, {{0, 0, 0x8000, 1}}, {}},
    {"Byte64K", Bytes(0xFFFF), {{0, 0, 0xFFFF, 2}}, {{0, 0, 0, 2}}, {{0, 0, 0, 2}}, {}},
    {"Byte96K",
     Bytes(0x17FFF),
     {{0, 0, 0, 2}, {0, 1, 0, 2}},
     {{0, 0, 0, 2}, {0, 1, 0, 1}},
     {{0, 0, 0, 2}, {0, 1, 0, 1}},
     {}},
    {"Byte128K",
     Bytes(0x1FFFF),
     {{0, 0, 0, 2}, {0, 1, 0, 2}},
     {{0, 0, 0, 2}, {0, 1, 0, 2}},
     {{0, 0, 0, 2}, {0, 1, 0, 2}},
     {}},
    // One byte into a second block: that block is programmed and compared too.
    {"Byte64KPlusOne",
     Bytes(0x10000),
     {{0, 0, 0, 2}, {0, 1, 0, 2}},
     {{0, 0, 0, 2}, {0, 1, 0, 1}},
     {{0, 0, 0, 2}, {0, 1, 0, 1}},
     {}},
    {"Word16K", Words(0x3FFF), {{0, 0, 0x8000, 2}}, {{0, 0, 0x8000, 2}}, {{0, 0, 0x8000, 1}}, {}},
    {"Word32K", Words(0x7FFF), {{0, 0, 0, 2}}, {{0, 0, 0, 2}}, {{0, 0, 0, 2}}, {}},
    {"Word64K",
     Words(0xFFFF),
     {{0, 0, 0, 2}, {0x8000, 0, 0, 2}},
     {{0, 0, 0, 2}, {0x8000, 0, 0, 2}},
     {{0, 0, 0, 2}, {0x8000, 0, 0, 2}},
     {}},
    {"Word80K",
     Words(0x13FFF),
     {{0, 0, 0, 2}, {0x8000, 0, 0, 2}, {0, 1, 0, 2}, {0x8000, 1, 0, 2}},
     {{0, 0, 0, 2}, {0x8000, 0, 0, 2}, {0, 1, 0, 2}},
     {{0, 0, 0, 2}, {0x8000, 0, 0, 2}, {0, 1, 0, 1}},
     {}},
    {"Word128K",
     Words(0x1FFFF),
     {{0, 0, 0, 2}, {0x8000, 0, 0, 2}, {0, 1, 0, 2}, {0x8000, 1, 0, 2}},
     {{0, 0, 0, 2}, {0x8000, 0, 0, 2}, {0, 1, 0, 2}, {0x8000, 1, 0, 2}},
     {{0, 0, 0, 2}, {0x8000, 0, 0, 2}, {0, 1, 0, 2}, {0x8000, 1, 0, 2}},
     {}},
    {"Fuses5892",
     DeviceShape{.max_address = 5892, .fuse_columns = 44, .fuse_rows = 134},
     {{0, 0, 0x1704, 2}},
     {{0, 0, 0x1705, 1}},
     {{0, 0, 0x1704, 1}},
     {{0, 0, 0x1705, 1}}},
    {"StartBlock1",
     DeviceShape{.max_address = 0x1FFFF, .start_address_hi = "1"},
     {{0, 1, 0, 2}},
     {{0, 0, 0, 2}, {0, 1, 0, 2}},
     {{0, 1, 0, 2}},
     {}},
    {"LanesOfTwoAtOne",
     DeviceShape{.max_address = 0xFFFF, .lane_code = 2},
     {{0, 0, 0xFFFF, 2}},
     {{0, 0, 0, 2}},
     {{0, 0, 0, 2}},
     {}},
    {"LanesOfFourAtThree",
     DeviceShape{.max_address = 0x7FFF, .lane_code = 6},
     {{0, 0, 0x7FFF, 2}},
     {{0, 0, 0x8000, 1}},
     {{0, 0, 0x8000, 1}},
     {}},
    {"SecondArea256",
     DeviceShape{.max_address = 0xFFFF, .ext_address = 0xFF},
     {{0, 0, 0xFFFF, 2}},
     {{0, 0, 0, 2}},
     {{0, 0, 0, 2}},
     {},
     /*second_program=*/{{0, 0, 0, 1}},
     /*second_read=*/{{0, 0, 0x0100, 1}},
     /*second_compare=*/{{0, 0, 0, 1}}},
};

class GeometryTest : public ::testing::TestWithParam<GeometryCase> {};

// Where device byte j of an area lies in the buffer (or fuse map).
struct Layout {
  uint64_t base = 0;  // buffer index of the area's first byte before lanes
  uint32_t width = 1;
  uint32_t offset = 0;
  uint64_t Index(uint64_t j) const { return (base + j) * width + offset; }
};

Layout MainLayout(const OpsFixture& f) {
  return {0, f.state.LaneWidth(), f.state.LaneOffset()};
}

uint32_t StartBlock(const DeviceShape& shape) {
  return shape.start_address_hi == "0" && shape.start_address_low == 0
             ? 0
             : static_cast<uint32_t>(std::stoul(shape.start_address_hi));
}

TEST_P(GeometryTest, ProgramVerifyReadConfirm) {
  const GeometryCase& c = GetParam();
  OpsFixture f;
  f.Select(c.shape);
  f.FillSource(0x11);
  const bool fuses = f.state.FuseMode == 1;
  const bool words = f.device.Width() == DataWidth::Word;
  const uint64_t block_bytes = words ? 131072 : 65536;
  const std::vector<uint8_t> filled = f.Buffer();
  const Layout main = MainLayout(f);

  // Program: the wire, an unchanged buffer (grown with zeros where lanes
  // need more), and a chip that holds the data from the start block on
  // (blocks before it stay erased).
  f.ClearRecords();
  ASSERT_TRUE(program_1Click(f.ctx, 0)) << ::testing::PrintToString(f.events);
  EXPECT_THAT(f.wire.lines, ElementsAreArray(WritePages(0x05, c.program)));
  const std::vector<uint8_t> source =
      fuses ? std::vector<uint8_t>(f.fuse_map.Fuses().begin(), f.fuse_map.Fuses().end())
            : f.Buffer();
  if (!fuses) {
    ASSERT_GE(source.size(), filled.size());
    EXPECT_TRUE(std::equal(filled.begin(), filled.end(), source.begin()));
    EXPECT_TRUE(std::all_of(source.begin() + filled.size(), source.end(),
                            [](uint8_t b) { return b == 0; }));
  }
  const std::vector<uint8_t>& chip = f.Chip();
  for (uint64_t j = 0; j < chip.size(); ++j) {
    uint8_t expected = 0xFF;
    if (j / block_bytes >= StartBlock(c.shape)) {
      if (fuses) {
        expected = j < source.size() ? source[j] : 0xFF;
      } else {
        expected = source.at(main.Index(j));
      }
    }
    ASSERT_EQ(chip[j], expected) << "chip byte " << j;
  }
  EXPECT_EQ(f.view.Top(Step::Program), Layer::p);

  f.ClearRecords();
  EXPECT_TRUE(verify_1Click(f.ctx, 0));
  EXPECT_THAT(f.wire.lines, ElementsAreArray(ReadPages(0x01, c.verify)));
  EXPECT_EQ(f.record.Mismatches, 0u);

  if (!c.second_program.empty()) {
    auto& second = f.Chip(ChipArea::Second);
    f.ClearRecords();
    ASSERT_TRUE(ProgramSecondArea(f.ctx));
    EXPECT_THAT(f.wire.lines, ElementsAreArray(WritePages(0x0E, c.second_program)));
    const Layout area{f.device.Block.MaxAddress() + 1u, main.width, main.offset};
    for (uint64_t j = 0; j < second.size(); ++j) ASSERT_EQ(second[j], source.at(area.Index(j)));
    f.ClearRecords();
    EXPECT_TRUE(VerifySecondArea(f.ctx));
    EXPECT_THAT(f.wire.lines, ElementsAreArray(ReadPages(0x0D, c.second_compare)));
  }

  // Read into a buffer of other bytes: the device's bytes land where they
  // belong, every other byte (other lanes included) stays.
  if (fuses) {
    f.fuse_map.FillFuses(0, f.fuse_map.FuseCount() - 1, 0);
  } else {
    f.FillSource(0x77);
  }
  // (The verify has not changed the buffer.)
  const std::vector<uint8_t> before = f.Buffer();
  f.ClearRecords();
  ASSERT_TRUE(readClick(f.ctx)) << ::testing::PrintToString(f.events);
  std::vector<std::string> read_wire = ReadPages(0x01, c.read);
  const std::vector<std::string> second_read = ReadPages(0x0D, c.second_read);
  read_wire.insert(read_wire.end(), second_read.begin(), second_read.end());
  EXPECT_THAT(f.wire.lines, ElementsAreArray(read_wire));
  EXPECT_EQ(f.record.ReadDataValid, 1);
  if (fuses) {
    EXPECT_TRUE(std::equal(source.begin(), source.end(), f.fuse_map.Fuses().begin()));
    EXPECT_EQ(f.Buffer(), before);
  } else {
    std::vector<uint8_t> expected = before;
    for (uint64_t j = 0; j < chip.size(); ++j) expected.at(main.Index(j)) = chip[j];
    const auto& second = f.Chip(ChipArea::Second);
    const Layout area{f.device.Block.MaxAddress() + 1u, main.width, main.offset};
    for (uint64_t j = 0; j < second.size(); ++j) expected.at(area.Index(j)) = second[j];
    EXPECT_EQ(f.Buffer(), expected);
  }

  f.ClearRecords();
  EXPECT_TRUE(ConfirmDevice(f.ctx, 0));
  EXPECT_THAT(f.wire.lines,
              ElementsAreArray(ReadPages(0x01, c.confirm.empty() ? c.verify : c.confirm)));
  if (!c.second_compare.empty()) {
    f.ClearRecords();
    EXPECT_TRUE(ConfirmSecondArea(f.ctx));
    EXPECT_THAT(f.wire.lines, ElementsAreArray(ReadPages(0x0D, c.second_compare)));
  }
  EXPECT_THAT(f.Messages(), IsEmpty());
}

// Test names say which case failed; the whole case object is not printed.
void PrintTo(const GeometryCase& c, std::ostream* os) {
  *os << c.name;
}

INSTANTIATE_TEST_SUITE_P(Devices, GeometryTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BlockTransfers, OneChangedChipByteIsOneMismatch) {
  OpsFixture f;
  f.Select(Bytes(0x1FFFF));
  f.FillSource(0x21);
  ASSERT_TRUE(program_1Click(f.ctx, 0));
  f.Chip()[0x1ABCD] ^= 0x40;
  f.ClearRecords();
  EXPECT_FALSE(verify_1Click(f.ctx, 0));
  EXPECT_EQ(f.record.Mismatches, 1u);
  EXPECT_THAT(f.Messages(), IsEmpty());
  EXPECT_EQ(f.view.Top(Step::Verify), Layer::f);
  EXPECT_EQ(f.FailSounds(), 1);
}

TEST(BlockTransfers, SecondAreaWhollyDifferentIsAFailure) {
  // 65536 differing bytes must not pass as 0 through a narrow counter.
  OpsFixture f;
  f.Select(DeviceShape{.max_address = 0xFFFF, .ext_address = 0xFFFF});
  f.FillSource(0x33);
  auto& second = f.Chip(ChipArea::Second);
  const std::vector<uint8_t> buffer = f.Buffer();
  for (size_t j = 0; j < second.size(); ++j) second[j] = ~buffer[0x10000 + j];
  EXPECT_FALSE(VerifySecondArea(f.ctx));
  EXPECT_EQ(f.record.Mismatches, 65536u);
  EXPECT_EQ(f.view.Top(Step::Verify), Layer::f);
}

// A word-wide device with a second area of its own size: what the
// second-area read places in the buffer is what the second-area program
// sent and what the second-area compares check. One changed chip byte in
// either area fails that area's verify and confirm.
TEST(BlockTransfers, WordWideBothAreasProgramReadAndCompare) {
  OpsFixture f;
  f.Select(DeviceShape{
      .data_width = "0xFFFF", .max_address = 0xFFFF, .ext_address = 0xFFFF, .read_mode = 0x0400});
  f.FillSource(0x29);
  ASSERT_TRUE(program_1Click(f.ctx, 0));
  ASSERT_TRUE(ProgramSecondArea(f.ctx));
  const std::vector<uint8_t> written = f.Buffer();
  ASSERT_GE(written.size(), 0x40000u);  // 128 KB per area

  f.FillSource(0x77);
  f.ClearRecords();
  ASSERT_TRUE(readClick(f.ctx)) << ::testing::PrintToString(f.events);
  const std::vector<uint8_t> read = f.Buffer();
  EXPECT_TRUE(std::equal(written.begin(), written.begin() + 0x40000, read.begin()));
  EXPECT_EQ(std::count(f.wire.lines.begin(), f.wire.lines.end(), "OUT 49 4000 0D00 0"), 2);

  EXPECT_TRUE(verify_1Click(f.ctx, 0));
  EXPECT_TRUE(VerifySecondArea(f.ctx));
  EXPECT_TRUE(ConfirmDevice(f.ctx, 0));
  EXPECT_TRUE(ConfirmSecondArea(f.ctx));
  EXPECT_THAT(f.Messages(), IsEmpty());

  // The second-area byte lies in the second half of its block.
  for (const auto& [area, offset] :
       {std::pair{ChipArea::Main, size_t{0x1ABCD}}, std::pair{ChipArea::Second, size_t{0x18765}}}) {
    SCOPED_TRACE(area == ChipArea::Main ? "main area" : "second area");
    f.Chip(area)[offset] ^= 0x01;
    const bool main = area == ChipArea::Main;
    EXPECT_FALSE(main ? verify_1Click(f.ctx, 0) : VerifySecondArea(f.ctx));
    EXPECT_EQ(f.record.Mismatches, 1u);
    EXPECT_FALSE(main ? ConfirmDevice(f.ctx, 0) : ConfirmSecondArea(f.ctx));
    EXPECT_EQ(f.record.Mismatches, 1u);
    // The other area still passes.
    EXPECT_TRUE(main ? VerifySecondArea(f.ctx) : verify_1Click(f.ctx, 0));
    f.Chip(area)[offset] ^= 0x01;
  }
}

// A word-wide device whose start address lies inside block 0: that block's
// first 64 KB is compared from the start address on, never skipped.
TEST(BlockTransfers, WordWideFirstBlockIsComparedFromTheStartAddress) {
  struct Case {
    const char* name;
    size_t changed_byte;
    bool passes;
  };
  for (const Case& c : {Case{"changed at the start address", 0x100, false},
                        Case{"changed in the first half", 0xBEEF, false},
                        Case{"changed before the start address", 0xFF, true}}) {
    SCOPED_TRACE(c.name);
    OpsFixture f;
    DeviceShape shape = Words(0xFFFF);
    shape.start_address_low = 0x100;
    f.Select(shape);
    f.FillSource(0x3A);
    ASSERT_TRUE(program_1Click(f.ctx, 0));
    f.Chip()[c.changed_byte] ^= 0x80;
    EXPECT_EQ(verify_1Click(f.ctx, 0), c.passes);
    EXPECT_EQ(f.record.Mismatches, c.passes ? 0u : 1u);
    EXPECT_EQ(ConfirmDevice(f.ctx, 0), c.passes);
  }
}

TEST(BlockTransfers, ProgramLeavesBytesPastTheDeviceErased) {
  // A 32 KB device: the second half of the page carries no buffer bytes.
  OpsFixture f;
  f.Select(Bytes(0x7FFF));
  f.FillSource(0x44);
  ASSERT_TRUE(program_1Click(f.ctx, 0));
  const std::vector<uint8_t>& ram = f.unit().data_ram();
  ASSERT_GE(ram.size(), 65536u);
  EXPECT_TRUE(
      std::all_of(ram.begin() + 32768, ram.begin() + 65536, [](uint8_t b) { return b == 0xFF; }));
  EXPECT_TRUE(std::equal(ram.begin(), ram.begin() + 32768, f.Buffer().begin()));
}

TEST(BlockTransfers, LaneBufferTooSmallIsGrownBeforeTheFirstTransfer) {
  OpsFixture f;
  f.Select(DeviceShape{.max_address = 0xFFFF, .lane_code = 6});
  ASSERT_LT(f.buffer.BufSize(), 4u * 65536);
  f.FillChip(0x55);
  ASSERT_TRUE(readClick(f.ctx));
  ASSERT_GE(f.buffer.BufSize(), 4u * 65536);
  const std::vector<uint8_t> buffer = f.Buffer();
  for (uint64_t j = 0; j < 65536; ++j) ASSERT_EQ(buffer[j * 4 + 3], f.Chip()[j]);
}

TEST(BlockTransfers, VoltagesOfEachOperation) {
  OpsFixture f;
  f.Select(Bytes(0x7FFF));
  f.state.UserVoltageOn = 1;
  f.state.UserVcc.program_vcc = 55;
  f.state.UserVcc.program_vpp = 0;  // taken even when 0
  ASSERT_TRUE(program_1Click(f.ctx, 0));
  ASSERT_TRUE(verify_1Click(f.ctx, 0));
  const auto& v = f.device.OperationVoltages;
  EXPECT_THAT(f.wire.voltages,
              ElementsAre(std::array<unsigned, 3>{55, 0, v[kProgramVhh]},
                          std::array<unsigned, 3>{v[kReadVcc], v[kReadVpp], v[kReadVhh]}));
}

}  // namespace
}  // namespace quenlet::testing
