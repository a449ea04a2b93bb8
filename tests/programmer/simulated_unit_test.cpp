#include "sim/simulated_unit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <numeric>

#include "device/parameter_block.h"
#include "programmer/protocol.h"
#include "programmer/simulated_backend.h"
#include "programmer/transport.h"
#include "tests/programmer/programmer_link_fixture.h"

namespace quenlet {
namespace {

using ::testing::ElementsAre;
using testing::Pattern;

constexpr size_t kPage = 65536;
constexpr size_t kHalf = 32768;

// The host's side of the wire, one request sequence per helper.
struct Wire {
  Wire() { transport.OpenProgrammer(kProgrammerProductId); }

  SimulatedUnit& unit() { return backend.unit(); }
  VirtualChip& chip() { return unit().chip(); }

  // A device of `main` addresses and `second` addresses (0: none).
  void Device(bool word_wide, uint32_t main, uint32_t second = 0) {
    chip().SetWordWide(word_wide);
    block.SetWord(DeviceParameterBlock::kMaxAddressHi, static_cast<uint16_t>((main - 1) >> 16));
    block.SetWord(DeviceParameterBlock::kMaxAddressLow, static_cast<uint16_t>((main - 1) & 0xFFFF));
    const uint32_t ext = second ? second - 1 : 0;
    block.SetWord(DeviceParameterBlock::kExtAddressHi, static_cast<uint16_t>(ext >> 16));
    block.SetWord(DeviceParameterBlock::kExtAddressLow, static_cast<uint16_t>(ext & 0xFFFF));
    // The page word a host sends: the device's bytes when under 64 KB, else 0.
    const uint64_t bytes = uint64_t{main + second} * (word_wide ? 2 : 1);
    length = bytes < kPage ? static_cast<uint16_t>(bytes) : 0;
    EXPECT_TRUE(SendBlock(0, 0));
  }
  bool Request(uint8_t code, uint16_t value, uint16_t index) {
    return SendRequest(transport, code, value, index);
  }
  bool SendBlock(uint16_t number, uint16_t address) {
    block.SetPage(address, number, length);
    return Request(0x47, 0x0B00, 0x0080) && transport.UsbDataWrite(128, block.bytes.data());
  }
  ProgrammerStatus Operation(uint8_t number) {
    ProgrammerStatus status;
    EXPECT_TRUE(RunOperation(transport, number));
    EXPECT_TRUE(ReadProgrammerStatus(transport, status));
    return status;
  }
  // 0x43 and the two halves of one 64 KB page.
  bool UploadPage(const uint8_t* page, uint16_t number, uint16_t address = 0) {
    return SendBlock(number, address) && Request(0x43, 0, 0) && Request(0x4C, 0x8000, 0x8000) &&
           transport.UsbDataWrite(kHalf, page) && Request(0x4C, 0x8000, 0x8000) &&
           transport.UsbDataWrite(kHalf, page + kHalf);
  }
  ProgrammerStatus ProgramPage(const uint8_t* page, uint16_t number, uint16_t address = 0,
                               uint8_t operation = 0x05) {
    EXPECT_TRUE(UploadPage(page, number, address));
    return Operation(operation);
  }
  // Read operation, status, and the two halves.
  ProgrammerStatus ReadPage(uint8_t* page, uint16_t number, uint16_t address = 0,
                            uint8_t operation = 0x01) {
    EXPECT_TRUE(SendBlock(number, address));
    ProgrammerStatus status = Operation(operation);
    if (!status.Clean()) return status;
    EXPECT_TRUE(Request(0x4B, 0x8000, 0x8000) && transport.UsbDataRead(kHalf, page));
    EXPECT_TRUE(Request(0x4B, 0x8000, 0x8000) && transport.UsbDataRead(kHalf, page + kHalf));
    return status;
  }
  std::string LastLine() { return unit().log().Lines().back(); }

  SimulatedBackend backend;
  Transport transport{backend};
  DeviceParameterBlock block;
  uint16_t length = 0;  // BlockLength
};

// Error address (device addresses) and data of a failed operation.
uint32_t ErrorAddress(const ProgrammerStatus& s) {
  return uint32_t(s.bytes[2] | s.bytes[3] << 8) << 16 | uint32_t(s.bytes[4] | s.bytes[5] << 8);
}
uint16_t ErrorData(const ProgrammerStatus& s) {
  return uint16_t(s.bytes[6] | s.bytes[7] << 8);
}

TEST(SimulatedChip, ProgrammingOnlyClearsBits) {
  Wire w;
  w.Device(false, 2 * kPage);
  const std::vector<uint8_t> data = Pattern(kPage, 0x31);
  ASSERT_TRUE(w.ProgramPage(data.data(), 1).Clean());
  EXPECT_TRUE(std::equal(data.begin(), data.end(), w.chip().cells(ChipArea::Main).begin() + kPage));
  std::vector<uint8_t> back(kPage);
  ASSERT_TRUE(w.ReadPage(back.data(), 1).Clean());
  EXPECT_EQ(back, data);

  // All zero clears the rest; the pattern then needs ones again and fails.
  const std::vector<uint8_t> zero(kPage, 0x00);
  EXPECT_TRUE(w.ProgramPage(zero.data(), 1).Clean());
  ProgrammerStatus s = w.ProgramPage(data.data(), 1);
  EXPECT_EQ(s.bytes[0], 0x10);  // Prog Fail
  EXPECT_EQ(s.bytes[1], 0x00);
  EXPECT_EQ(ErrorAddress(s), kPage);  // pattern byte 0 is 0x31
  EXPECT_EQ(ErrorData(s), 0x00);
}

TEST(SimulatedChip, AStuckCellFailsAtItsAddress) {
  Wire w;
  w.Device(false, kPage);
  w.chip().SetStuckCell(ChipArea::Main, 0x1234);
  const std::vector<uint8_t> zero(kPage, 0x00);
  ProgrammerStatus s = w.ProgramPage(zero.data(), 0);
  EXPECT_EQ(s.bytes[0], 0x10);
  EXPECT_EQ(ErrorAddress(s), 0x1234u);
  EXPECT_EQ(ErrorData(s), 0xFF);
  EXPECT_EQ(w.chip().cells(ChipArea::Main)[0x1233], 0x00);
}

TEST(SimulatedChip, PagesLandAtTheirBlockAndHalfForBothWidths) {
  const struct {
    bool word_wide;
    uint32_t addresses;
    uint16_t number;
    uint16_t address;
    size_t byte_offset;
  } cases[] = {
      {false, 3 * kPage, 2, 0, 2 * kPage},
      {true, 2 * kPage, 1, 0x0000, 2 * kPage},          // word-wide block 1, first half
      {true, 2 * kPage, 1, 0x8000, 2 * kPage + kPage},  // its second half
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.byte_offset);
    Wire w;
    w.Device(c.word_wide, c.addresses);
    const std::vector<uint8_t> data = Pattern(kPage, 0x77);
    ASSERT_TRUE(w.ProgramPage(data.data(), c.number, c.address).Clean());
    const auto& cells = w.chip().cells(ChipArea::Main);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), cells.begin() + c.byte_offset));
    EXPECT_EQ(std::count(cells.begin(), cells.end(), 0xFF) + kPage,
              cells.size() + std::count(data.begin(), data.end(), 0xFF));
    std::vector<uint8_t> back(kPage);
    ASSERT_TRUE(w.ReadPage(back.data(), c.number, c.address).Clean());
    EXPECT_EQ(back, data);
  }
}

TEST(SimulatedChip, APageRunningPastTheDeviceEndProgramsOnlyTheDevice) {
  Wire w;
  w.Device(false, kHalf);  // 32 KB device, one page
  const std::vector<uint8_t> data = Pattern(kPage, 0x05);
  ASSERT_TRUE(w.ProgramPage(data.data(), 0).Clean());
  EXPECT_EQ(w.chip().cells(ChipArea::Main).size(), kHalf);
  std::vector<uint8_t> back(kPage);
  ASSERT_TRUE(w.ReadPage(back.data(), 0).Clean());
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + kHalf, back.begin()));
  EXPECT_TRUE(std::all_of(back.begin() + kHalf, back.end(), [](uint8_t b) { return b == 0xFF; }));
}

TEST(SimulatedChip, SecondAreaOperations) {
  Wire w;
  w.Device(false, kPage, 256);
  const std::vector<uint8_t> data = Pattern(kPage, 0x42);
  ASSERT_TRUE(w.ProgramPage(data.data(), 0, 0, 0x0E).Clean());
  const auto& second = w.chip().cells(ChipArea::Second);
  ASSERT_EQ(second.size(), 256u);
  EXPECT_TRUE(std::equal(second.begin(), second.end(), data.begin()));
  EXPECT_TRUE(std::all_of(w.chip().cells(ChipArea::Main).begin(),
                          w.chip().cells(ChipArea::Main).end(),
                          [](uint8_t b) { return b == 0xFF; }));
  std::vector<uint8_t> back(kPage);
  ASSERT_TRUE(w.ReadPage(back.data(), 0, 0, 0x0D).Clean());
  EXPECT_TRUE(std::equal(second.begin(), second.end(), back.begin()));
}

TEST(SimulatedChip, EraseBlankCheckProtectAndIds) {
  Wire w;
  w.Device(false, kPage);
  EXPECT_TRUE(w.Operation(0x04).Clean());
  w.chip().mutable_cells(ChipArea::Main)[0x0100] = 0x7E;
  ProgrammerStatus blank = w.Operation(0x04);
  EXPECT_EQ(blank.bytes[0], 0x08);
  EXPECT_EQ(ErrorAddress(blank), 0x0100u);
  EXPECT_EQ(ErrorData(blank), 0x7E);

  // A protected chip cannot be read or programmed; erase lifts it.
  w.chip().set_protected(true);
  std::vector<uint8_t> page(kPage);
  ProgrammerStatus read = w.ReadPage(page.data(), 0);
  EXPECT_EQ(read.bytes[0], 0x00);
  EXPECT_EQ(read.bytes[1], 0x04);
  EXPECT_FALSE(w.Request(0x4B, 0x8000, 0x8000));  // no page to read
  EXPECT_EQ(w.ProgramPage(page.data(), 0).bytes[1], 0x04);
  EXPECT_TRUE(w.Operation(0x02).Clean());
  EXPECT_FALSE(w.chip().is_protected());
  EXPECT_TRUE(w.Operation(0x04).Clean());

  // Protect writes the option block it was sent and locks the chip.
  std::vector<uint8_t> options = Pattern(256, 0x90);
  ASSERT_TRUE(w.Request(0x43, 0, 0) && w.Request(0x47, 0x0E00, 0x0100) &&
              w.transport.UsbDataWrite(256, options.data()));
  EXPECT_TRUE(w.Operation(0x07).Clean());
  EXPECT_TRUE(w.chip().is_protected());
  EXPECT_TRUE(std::equal(options.begin(), options.end(), w.chip().options().begin()));
  // The option block reads back as the programmer holds it.
  std::vector<uint8_t> info(256);
  ASSERT_TRUE(w.Request(0x46, 0x0E00, 0x0100) && w.transport.UsbDataRead(256, info.data()));
  EXPECT_EQ(info, options);

  w.chip().set_id_codes({0xBF, 0xB5, 0x01, 0x02});
  ProgrammerStatus id = w.Operation(0x09);
  EXPECT_EQ(id.ManufacturerCode(), 0xBF);
  EXPECT_EQ(id.DeviceCode(), 0xB5);
  EXPECT_EQ(id.ExtendedCode1(), 0x01);
  EXPECT_EQ(id.ExtendedCode2(), 0x02);
}

TEST(SimulatedChip, HeldDataServesChecksumAndVerify) {
  Wire w;
  w.Device(false, kPage, 256);
  // The buffer layout: main area, then the second area.
  std::vector<uint8_t> buffer = Pattern(2 * kPage, 0x13);
  ASSERT_TRUE(w.UploadPage(buffer.data(), 0));
  ASSERT_TRUE(w.UploadPage(buffer.data() + kPage, 1));
  const uint16_t sum = static_cast<uint16_t>(
      std::accumulate(buffer.begin(), buffer.begin() + kPage + 256, uint32_t{0}));
  EXPECT_EQ(w.Operation(0x0B).Checksum(), sum);
  EXPECT_EQ(w.Operation(0x0C).Checksum(), sum);
  // No 0x49 went out for the upload itself, and the chip is untouched.
  EXPECT_EQ(w.Operation(0x06).bytes[0], 0x20);

  std::copy(buffer.begin(), buffer.begin() + kPage, w.chip().mutable_cells(ChipArea::Main).begin());
  std::copy_n(buffer.begin() + kPage, 256, w.chip().mutable_cells(ChipArea::Second).begin());
  EXPECT_TRUE(w.Operation(0x06).Clean());
  w.chip().mutable_cells(ChipArea::Second)[7] ^= 1;
  ProgrammerStatus s = w.Operation(0x06);
  EXPECT_EQ(s.bytes[0], 0x20);
  EXPECT_EQ(ErrorAddress(s), 7u);
}

TEST(SimulatedProtocol, RefusesTransfersNoRequestAnnounced) {
  const struct {
    const char* name;
    std::function<bool(Wire&)> steps;  // the last step must fail
    const char* last_line;
  } cases[] = {
      {"bulk write with nothing announced",
       [](Wire& w) { return w.transport.UsbDataWrite(128, w.block.bytes.data()); },
       "bulk-out 0/128 fail violation"},
      {"bulk read with nothing announced",
       [](Wire& w) { return w.transport.UsbDataRead(16, w.block.bytes.data()); },
       "bulk-in 0/16 fail violation"},
      {"longer than announced",
       [](Wire& w) {
         std::vector<uint8_t> b(129);
         return w.Request(0x47, 0x0B00, 0x0080) && w.transport.UsbDataWrite(129, b.data());
       },
       "bulk-out 0/129 fail violation"},
      {"a write where a read was announced",
       [](Wire& w) {
         std::vector<uint8_t> b(256);
         return w.Request(0x46, 0x0E00, 0x0100) && w.transport.UsbDataWrite(256, b.data());
       },
       "bulk-out 0/256 fail violation"},
      {"a page write without 0x43", [](Wire& w) { return w.Request(0x4C, 0x8000, 0x8000); },
       "OUT 4C 8000 8000 0 fail violation"},
      {"a driver pass without 0x43", [](Wire& w) { return w.Request(0x47, 0x4000, 0x4000); },
       "OUT 47 4000 4000 0 fail violation"},
      {"a third half in one page group",
       [](Wire& w) {
         std::vector<uint8_t> b(kHalf);
         return w.Request(0x43, 0, 0) && w.Request(0x4C, 0x8000, 0x8000) &&
                w.transport.UsbDataWrite(kHalf, b.data()) && w.Request(0x4C, 0x8000, 0x8000) &&
                w.transport.UsbDataWrite(kHalf, b.data()) && w.Request(0x4C, 0x8000, 0x8000);
       },
       "OUT 4C 8000 8000 0 fail violation"},
      {"a page read without a read operation",
       [](Wire& w) { return w.Request(0x4B, 0x8000, 0x8000); },
       "OUT 4B 8000 8000 0 fail violation"},
      {"a request between the pieces of a block",
       [](Wire& w) {
         ProgrammerStatus s;
         return w.Request(0x47, 0x0B00, 0x0080) &&
                w.transport.UsbDataWrite(64, w.block.bytes.data()) &&
                ReadProgrammerStatus(w.transport, s) &&
                w.transport.UsbDataWrite(64, w.block.bytes.data());
       },
       "bulk-out 0/64 fail violation"},
      {"an unknown request", [](Wire& w) { return w.Request(0x50, 0, 0); },
       "OUT 50 0000 0000 0 fail violation"},
      {"an OUT request sent as IN",
       [](Wire& w) {
         uint8_t b[4];
         return w.transport.UsbVendorCmdRead(0x43, 0, 0, 4, b);
       },
       "IN 43 0000 0000 4 fail violation"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Wire w;
    EXPECT_FALSE(c.steps(w));
    EXPECT_EQ(w.LastLine(), c.last_line);
  }
}

// The unit checks what the host sends instead of taking it on trust: a
// request that breaks a check stalls, a page operation that does is not
// run and leaves a bad status; either way the wire log flags it and the
// reason is kept.
TEST(SimulatedProtocol, ChecksWhatTheHostSends) {
  const std::vector<uint8_t> page(kPage, 0x5A);
  std::vector<uint8_t> back(kPage);
  const struct {
    const char* name;
    std::function<void(Wire&)> setup;  // a device, and what went before
    std::function<bool(Wire&)> step;   // false when the unit refused it
    const char* last_line;
    const char* reason;
  } cases[] = {
      {"an OUT request with a data stage", [](Wire&) {},
       [](Wire& w) {
         const uint8_t data[4] = {};
         return w.transport.UsbVendorCmdWrite(0x47, 0x0B00, 0x0080, 4, data);
       },
       "OUT 47 0B00 0080 4 fail violation", "request 47: wLength 4, expected 0"},
      {"a status request for 8 bytes", [](Wire&) {},
       [](Wire& w) {
         uint8_t data[16] = {};
         return w.transport.UsbVendorCmdRead(0x42, 0, 0, 8, data);
       },
       "IN 42 0000 0000 8 fail violation", "request 42: wLength 8, expected 16"},
      {"a read with no parameter block since the last page",
       [&](Wire& w) {
         w.Device(false, kPage);
         w.ReadPage(back.data(), 0);
       },
       [](Wire& w) { return w.Operation(0x01).Clean(); }, "IN 42 0000 0000 16",
       "operation 01: no parameter block since the last page"},
      {"a read sharing the parameter block of an upload",
       [&](Wire& w) {
         w.Device(false, kPage);
         w.UploadPage(page.data(), 0);
       },
       [](Wire& w) { return w.Operation(0x01).Clean(); }, "IN 42 0000 0000 16",
       "operation 01: no parameter block since the last page"},
      {"a page group with no parameter block since the last page",
       [&](Wire& w) {
         w.Device(false, 2 * kPage);
         w.UploadPage(page.data(), 0);
       },
       [](Wire& w) { return w.Request(0x43, 0, 0) && w.Request(0x4C, 0x8000, 0x8000); },
       "OUT 4C 8000 8000 0 fail violation", "page write: no parameter block since the last page"},
      {"a length of 0 on a 32 KB device",
       [](Wire& w) {
         w.Device(false, kHalf);
         w.length = 0;
       },
       [&](Wire& w) { return w.ReadPage(back.data(), 0).Clean(); }, "IN 42 0000 0000 16",
       "operation 01: BlockLength 0000 for a page holding 32768 bytes of a 32768-byte device"},
      {"a length short of the page's bytes",
       [](Wire& w) {
         w.Device(false, kHalf);
         w.length = 0x1000;
       },
       [&](Wire& w) { return w.ProgramPage(page.data(), 0).Clean(); }, "IN 42 0000 0000 16",
       "operation 05: BlockLength 1000 for a page holding 32768 bytes of a 32768-byte device"},
      // The device counts max + ext + 1 addresses, as the loader's size does.
      {"a length past the device",
       [](Wire& w) {
         w.Device(false, kHalf, 256);
         w.length = kHalf + 257;
       },
       [&](Wire& w) { return w.ReadPage(back.data(), 0, 0, 0x0D).Clean(); }, "IN 42 0000 0000 16",
       "operation 0D: BlockLength 8101 for a page holding 256 bytes of a 33023-byte device"},
      {"a second half on a byte-wide chip", [](Wire& w) { w.Device(false, 2 * kPage); },
       [&](Wire& w) { return w.ReadPage(back.data(), 0, 0x8000).Clean(); }, "IN 42 0000 0000 16",
       "operation 01: BlockAddress 8000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Wire w;
    c.setup(w);
    ASSERT_TRUE(w.unit().violations().empty());
    EXPECT_FALSE(c.step(w));
    EXPECT_EQ(w.LastLine(), c.last_line);
    EXPECT_THAT(w.unit().violations(), ElementsAre(c.reason));
    if (std::string(c.last_line) == "IN 42 0000 0000 16") {
      // The operation was refused, not run: the line before the status is
      // the flagged request 0x49, and the chip is untouched.
      const std::vector<std::string> lines = w.unit().log().Lines();
      EXPECT_EQ(lines[lines.size() - 2].rfind("OUT 49 4000", 0), 0u);
      EXPECT_TRUE(lines[lines.size() - 2].ends_with(" violation"));
      EXPECT_EQ(w.unit().status().SystemErrors(), 0x01);
      EXPECT_FALSE(w.chip().FirstNotErased(ChipArea::Main).has_value());
    }
  }
}

// What the host sends passes every check: the last-address form of the
// length, a program sharing its page's block with the data, a raw request
// with a data stage, and the self-test's read without a block.
TEST(SimulatedProtocol, WhatTheHostMaySendPasses) {
  Wire w;
  w.Device(false, kHalf);
  const std::vector<uint8_t> page = Pattern(kPage, 0x17);
  w.length = kHalf - 1;
  EXPECT_TRUE(w.ProgramPage(page.data(), 0).Clean());
  const uint8_t typed[4] = {1, 2, 3, 4};
  EXPECT_TRUE(w.transport.UsbVendorCmdWrite(0x48, 0x8000, 0x1000, 4, typed));
  ASSERT_TRUE(w.Request(0x4A, 0xA000, 0x000E));
  EXPECT_TRUE(w.Operation(0x01).Clean());
  EXPECT_TRUE(w.unit().violations().empty());
  for (const std::string& line : w.unit().log().Lines()) EXPECT_FALSE(line.ends_with("violation"));
}

TEST(SimulatedProtocol, ABlockMayArriveInPieces) {
  Wire w;
  w.chip().SetWordWide(false);
  w.block.SetWord(DeviceParameterBlock::kMaxAddressLow, 0x00FF);
  ASSERT_TRUE(w.Request(0x47, 0x0B00, 0x0080));
  ASSERT_TRUE(w.transport.UsbDataWrite(100, w.block.bytes.data()));
  EXPECT_EQ(w.unit().parameter_blocks_received(), 0);
  ASSERT_TRUE(w.transport.UsbDataWrite(28, w.block.bytes.data() + 100));
  EXPECT_EQ(w.unit().parameter_blocks_received(), 1);
  EXPECT_EQ(w.unit().parameter_block(), w.block.bytes);
  EXPECT_EQ(w.chip().bytes(ChipArea::Main), 256u);
  EXPECT_EQ(w.LastLine(), "bulk-out 128");
}

TEST(SimulatedProtocol, InjectedFaultsHitExactlyTheirTarget) {
  const struct {
    const char* name;
    std::function<void(SimulatedUnit&)> fault;
    std::vector<bool> results;  // status, status, params request, params block, status
  } cases[] = {
      {"second request",
       [](SimulatedUnit& u) { u.FailRequestNumber(2); },
       {true, false, true, true, true}},
      {"second status request",
       [](SimulatedUnit& u) { u.FailRequest(0x42, 2); },
       {true, false, true, true, true}},
      {"first transfer",
       [](SimulatedUnit& u) { u.FailTransferNumber(1); },
       {true, true, true, false, true}},
      {"cleared",
       [](SimulatedUnit& u) {
         u.FailRequestNumber(1);
         u.ClearFaults();
       },
       {true, true, true, true, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Wire w;
    c.fault(w.unit());
    ProgrammerStatus s;
    std::vector<bool> results;
    results.push_back(ReadProgrammerStatus(w.transport, s));
    results.push_back(ReadProgrammerStatus(w.transport, s));
    results.push_back(w.Request(0x47, 0x0B00, 0x0080));
    results.push_back(w.transport.UsbDataWrite(128, w.block.bytes.data()));
    results.push_back(ReadProgrammerStatus(w.transport, s));
    EXPECT_EQ(results, c.results);
  }
}

// The ways one transfer fails, at the status request (1), the parameter
// request (2) or the parameter block (3) of status, block, status.
TEST(SimulatedProtocol, TransferFaultsFailTheirTransferAsTheyDescribe) {
  const struct {
    const char* name;
    int at;
    TransferFault fault;
    std::vector<bool> results;  // status, params request, params block, status
    int blocks_received;
    const char* block_line;  // the parameter block on the wire
  } cases[] = {
      {"time-out", 3, TransferFault::TimeOut, {true, true, false, true}, 0, "bulk-out 0/128 fail"},
      {"lost reply",
       3,
       TransferFault::LostReply,
       {true, true, false, true},
       1,
       "bulk-out 128 fail"},
      {"short", 3, TransferFault::Short, {true, true, false, true}, 0, "bulk-out 64/128"},
      {"short reply", 1, TransferFault::Short, {false, true, true, true}, 1, "bulk-out 128"},
      {"request without data", 2, TransferFault::Short, {true, false, false, true}, 0, nullptr},
      {"pull", 2, TransferFault::Pull, {true, false, false, false}, 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Wire w;
    w.unit().FailTransferAt(c.at, c.fault);
    ProgrammerStatus s;
    std::vector<bool> results;
    results.push_back(ReadProgrammerStatus(w.transport, s));
    results.push_back(w.Request(0x47, 0x0B00, 0x0080));
    results.push_back(w.transport.UsbDataWrite(128, w.block.bytes.data()));
    results.push_back(ReadProgrammerStatus(w.transport, s));
    EXPECT_EQ(results, c.results);
    EXPECT_EQ(w.unit().parameter_blocks_received(), c.blocks_received);
    if (c.block_line) {
      EXPECT_THAT(w.unit().log().Lines(), ::testing::Contains(c.block_line));
    }
  }
  // A pulled unit is gone until it is plugged in again.
  Wire w;
  w.unit().FailTransferAt(1, TransferFault::Pull);
  EXPECT_FALSE(w.Request(0x43, 0, 0));
  w.transport.CloseProgrammer();
  EXPECT_FALSE(w.transport.OpenProgrammer(kProgrammerProductId));
  w.backend.SetUnitPresent(true);
  EXPECT_TRUE(w.transport.OpenProgrammer(kProgrammerProductId));
  EXPECT_TRUE(w.Request(0x43, 0, 0));
}

TEST(SimulatedProtocol, KeepsItsStateAcrossCloseAndReopen) {
  Wire w;
  w.Device(false, kPage);
  std::vector<uint8_t> image = Pattern(32768, 0x21);
  ASSERT_TRUE(w.Request(0x43, 0, 0x000E));
  w.transport.CloseProgrammer();
  ASSERT_TRUE(w.transport.OpenProgrammer(kProgrammerProductId));
  // The announcement was remembered.
  ASSERT_TRUE(w.Request(0x4C, 0x8000, 0x8000) && w.transport.UsbDataWrite(32768, image.data()));
  EXPECT_EQ(w.unit().algorithm_image(), image);
  EXPECT_EQ(w.chip().bytes(ChipArea::Main), kPage);
  EXPECT_THAT(w.unit().log().Lines(),
              ElementsAre("open", "OUT 47 0B00 0080 0", "bulk-out 128", "OUT 43 0000 000E 0",
                          "close", "open", "OUT 4C 8000 8000 0", "bulk-out 32768"));
}

TEST(SimulatedRequests, RawMemoryRecordsAndSelfTest) {
  Wire w;
  // Raw word writes, then the 512-byte raw area through all three readers.
  ASSERT_TRUE(w.Request(0x45, 0, 0xBEEF) && w.Request(0x45, 255, 0x1234));
  EXPECT_FALSE(w.Request(0x45, 256, 0));  // beyond the area
  std::vector<uint8_t> raw(512);
  ASSERT_TRUE(w.transport.UsbVendorCmdRead(0x44, 0x0800, 0, 512, raw.data()));
  EXPECT_EQ(raw[0], 0xEF);
  EXPECT_EQ(raw[1], 0xBE);
  EXPECT_EQ(raw[511], 0x12);
  std::vector<uint8_t> written = Pattern(512, 0x66), back(512);
  ASSERT_TRUE(w.Request(0x47, 0x0800, 0x0200) && w.transport.UsbDataWrite(512, written.data()));
  for (uint8_t reader : {0x46, 0x4C}) {
    std::fill(back.begin(), back.end(), 0);
    ASSERT_TRUE(w.Request(reader, 0x0800, 0x0200) && w.transport.UsbDataRead(512, back.data()));
    EXPECT_EQ(back, written);
  }

  // The hidden program test's 2048 bytes.
  std::vector<uint8_t> test = Pattern(2048, 0x03);
  ASSERT_TRUE(w.Request(0x43, 0, 0) && w.Request(0x47, 0, 0x0800) &&
              w.transport.UsbDataWrite(2048, test.data()));
  EXPECT_EQ(w.unit().program_test_data(), test);

  uint8_t firmware[18] = {};
  ASSERT_TRUE(w.transport.UsbVendorCmdRead(0x4D, 0, 0, 18, firmware));
  EXPECT_EQ(firmware[16], 2);  // the component count, little-endian
  EXPECT_FALSE(w.transport.UsbVendorCmdRead(0x4D, 0, 0, 16, firmware));
  uint8_t components[40] = {};
  uint16_t got = 0;
  ASSERT_TRUE(w.transport.UsbVendorCmdRead(0x4B, 0, 0, 40, components, &got));
  EXPECT_EQ(got, 40);

  // Self-test: prepare, run, read the report.
  SetSelfTestLine(w.unit().self_test_report(), 3, "LogicIn", {0x01, 0x0A});
  ASSERT_TRUE(w.Request(0x4A, 0xA000, 0x000E));
  EXPECT_TRUE(w.Operation(0x01).Clean());
  std::vector<uint8_t> report(512);
  ASSERT_TRUE(w.Request(0x4B, 0x8000, 0x0200) && w.transport.UsbDataRead(512, report.data()));
  EXPECT_EQ(std::string(report.begin(), report.begin() + 15), "Selftest:-Pass-");
  EXPECT_EQ(std::string(report.begin() + 48, report.begin() + 56), "LogicIn:");
  EXPECT_EQ(report[56], 0x01);
  EXPECT_TRUE(w.Request(0x52, 0, 0));
  w.Device(false, kPage);
  EXPECT_TRUE(w.Operation(0x01).Clean());  // an ordinary read again
  EXPECT_TRUE(w.Request(0x4B, 0x8000, 0x8000));
}

TEST(SimulatedRequests, PinScanReportsContactsLowBitFirst) {
  Wire w;
  w.chip().set_contact(1, true);
  w.chip().set_contact(9, true);
  w.chip().set_contact(48, true);
  w.chip().set_stray_indication(0x0102);
  ASSERT_TRUE(w.Request(0x4A, 0xA000, 0x000F));
  ASSERT_TRUE(w.Request(0x49, 0x8000, 0x000F));
  ProgrammerStatus s;
  ASSERT_TRUE(ReadProgrammerStatus(w.transport, s));
  EXPECT_THAT(s.bytes, ElementsAre(0, 0, 0x01, 0x01, 0, 0, 0, 0x80, 0x02, 0x01, 0, 0, 0, 0, 0, 0));
}

TEST(SimulatedBackendFollow, TheSocketHoldsABlankChipOfTheSelectedDevice) {
  SelectedDevice device;
  MainFormState state;
  device.IcIniPath = "/p/INI/W27C512.ini";
  device.Name = "W27C512";
  device.Data_Width = "0xFFFF";
  device.PinMap[4] = 1;
  state.ExpectedIdCodes = {0xDA, 0x08, 0, 0};
  Wire w;
  w.backend.FollowDevice(&device, &state);
  w.Device(true, kPage);
  EXPECT_TRUE(w.chip().word_wide());
  EXPECT_TRUE(w.chip().contact(5));
  EXPECT_EQ(w.Operation(0x09).ManufacturerCode(), 0xDA);

  // Reloading the same device keeps what was programmed.
  const std::vector<uint8_t> zero(kPage, 0);
  ASSERT_TRUE(w.ProgramPage(zero.data(), 0).Clean());
  device.Block.Clear();  // a reload refills the record in steps
  EXPECT_TRUE(w.SendBlock(0, 0));
  EXPECT_EQ(w.chip().cells(ChipArea::Main)[0], 0x00);

  // Another device: a blank chip of its width.
  device.IcIniPath = "/p/INI/AM29F010.ini";
  device.Name = "AM29F010";
  device.Data_Width = "0x00FF";
  w.Device(false, 2 * kPage);
  EXPECT_FALSE(w.chip().word_wide());
  EXPECT_FALSE(w.chip().FirstNotErased(ChipArea::Main).has_value());
}

}  // namespace
}  // namespace quenlet
