// The engineering panel on the simulated unit: the raw memory moves, the
// version and status replies, the typed requests and the outside test
// library.
#include "programmer/engineering_panel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/input_box.h"
#include "programmer/ops_fixture.h"
#include "programmer/programmer_link_fixture.h"

namespace quenlet::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Answers from a queue; an empty queue is Cancel (the default text).
class FakeInputBox : public InputBox {
 public:
  std::string Ask(const std::string& caption, const std::string& prompt,
                  const std::string& default_text) override {
    asked.push_back(caption + " " + prompt + " " + default_text);
    if (answers.empty()) return default_text;
    std::string a = answers.front();
    answers.pop_front();
    return a;
  }
  std::deque<std::string> answers;
  std::vector<std::string> asked;
};

class Panel : public ::testing::Test, public OpsFixture {
 protected:
  Panel() {
    state.ProgramDir = dir.path();
    ctx.refresh_editor = [this] { ++redraws; };
  }
  void InstallLibrary() { std::filesystem::copy_file(QUENLET_TEST_DLL, dir.path() + "DLL.so"); }
  std::vector<uint8_t> Raw() { return {unit().raw_memory().begin(), unit().raw_memory().end()}; }
  std::vector<uint8_t> BufferStart(size_t n) {
    return {buffer.Bytes().begin(), buffer.Bytes().begin() + n};
  }

  TempProgramDir dir;
  FakeInputBox input;
  int redraws = 0;
  EngineeringPanel panel{ctx, input};
};

TEST_F(Panel, ReadSramWithoutUnitLeavesTheBuffer) {
  FillSource(0x11);
  const auto before = Buffer();
  sim.SetUnitPresent(false);
  panel.Button7Click();
  EXPECT_THAT(Messages(), ElementsAre("UsbVendorCmdWrite()...Fail"));
  EXPECT_EQ(FailSounds(), 1);
  EXPECT_EQ(Buffer(), before);
  EXPECT_EQ(redraws, 1);
}

TEST_F(Panel, RawMemoryRoundTrips) {
  // Write SRAM, then each reader brings back what the unit holds.
  FillSource(0x40);
  const auto written = BufferStart(512);
  panel.Button8Click();
  EXPECT_EQ(Raw(), written);
  for (void (EngineeringPanel::*click)() :
       {&EngineeringPanel::Button7Click, &EngineeringPanel::Button9Click,
        &EngineeringPanel::Button16Click}) {
    const auto raw = Pattern(512, static_cast<uint8_t>(redraws + 3));
    std::copy(raw.begin(), raw.end(), unit().raw_memory().begin());
    (panel.*click)();
    EXPECT_EQ(BufferStart(512), raw);
  }
  EXPECT_EQ(redraws, 4);
  // 0x45: the buffer's first 512 bytes as 256 word writes.
  FillSource(0x77);
  ClearRecords();
  panel.Button17Click();
  EXPECT_EQ(Raw(), BufferStart(512));
  EXPECT_EQ(wire.lines.size(), 256u);
  EXPECT_EQ(wire.lines[1], strprintf("OUT 45 0001 %04X 0", Buffer()[2] | Buffer()[3] << 8));
  EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(Panel, AShortTransferChangesNothing) {
  FillSource(0x22);
  const auto before = Buffer();
  unit().ShortenNextBulkRead(100);
  EXPECT_FALSE(panel.ReadSram(0x46));
  EXPECT_EQ(Buffer(), before);
  unit().FailTransferNumber(1);
  EXPECT_FALSE(panel.WriteSram(0x47));
  EXPECT_THAT(Messages(), ElementsAre("UsbDataRead()...N/A", "UsbDataWrite()...N/A"));
  EXPECT_EQ(FailSounds(), 2);
}

TEST_F(Panel, VersionRecordSetsTheComponentCount) {
  struct Case {
    uint16_t count;
    uint16_t delivered;  // bytes of the reply that arrive
    const char* shown_count;
    uint16_t info_word;
  };
  const Case cases[] = {
      {3, 18, "3", 60},
      {3, 16, "0", 0},               // no count without its two bytes
      {0x1234, 18, "4660", 0xFFFF},  // x 20 does not fit in 16 bits
  };
  for (const Case& c : cases) {
    unit().firmware_record() = SimulatedFirmwareRecord(c.count);
    if (c.delivered < 18) unit().ShortenNextReply(0x4D, c.delivered);
    ClearRecords();
    panel.Button12Click();
    EXPECT_THAT(wire.lines, ElementsAre("IN 4D 0000 0000 18"));
    EXPECT_THAT(Messages(), ElementsAre(strprintf("版本名稱=SIM-UNIT  \n版本號碼=1.02\n"
                                                  "系統狀態=0000\n元件數目=%s",
                                                  c.shown_count)));
    EXPECT_EQ(link.ProgrammerInfoWord, c.info_word);
  }

  // The component records then come in at the length the count gave.
  unit().firmware_record() = SimulatedFirmwareRecord(3);
  panel.Button12Click();
  unit().component_records() = SimulatedComponentRecords(3);
  ClearRecords();
  panel.Button21Click();
  EXPECT_THAT(wire.lines, ElementsAre("IN 4B 0000 0000 60"));
  EXPECT_EQ(panel.ComponentTable(), SimulatedComponentRecords(3));
}

TEST_F(Panel, StatusRequestListsItsFourWords) {
  ProgrammerStatus status;
  status.bytes = {0x01, 0x00, 0x12, 0x00, 0x34, 0x56, 0xAB, 0xCD};
  unit().OverrideStatus(status);
  panel.Button13Click();
  EXPECT_THAT(Messages(), ElementsAre("系統狀態=0001\n錯誤地址(H)=0012\n錯誤地址(L)=5634\n"
                                      "錯誤資料=CDAB"));
}

TEST_F(Panel, TypedNumbersAreHexAndSixteenBitsAtMost) {
  struct Case {
    std::vector<std::string> typed;  // Addr, Index, Size
    std::vector<std::string> sent;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {{"1A", "zz", "0"}, {"OUT 48 001A 0000 0"}, {}},
      {{"12zz", "0x10", "ffff"},
       {},
       {strprintf(panel_text::kDataStageTooLongFormat, 0xFFFFu, 4096u, 0x48u)}},
      {{" 7", "-0", "10"}, {"OUT 48 0007 0000 16"}, {}},  // 16 zero bytes as data stage
      {{"10000"}, {}, {"Input Value Error !"}},           // refused: nothing more is asked
      {{"1", "2", "1000"}, {"OUT 48 0001 0002 4096"}, {}},
      {{"1", "-1"}, {}, {"Input Value Error !"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed[0]);
    input.answers.assign(c.typed.begin(), c.typed.end());
    input.asked.clear();
    ClearRecords();
    panel.Button18Click();
    EXPECT_EQ(wire.lines, c.sent);
    EXPECT_EQ(Messages(), c.shown);
    EXPECT_EQ(input.asked.size(), c.typed.size());
    EXPECT_THAT(input.answers, IsEmpty());
  }
  EXPECT_EQ(input.asked[0], "Input Addr 0");

  // Page, cancelled twice: its default texts read as 0.
  ClearRecords();
  input.asked.clear();
  panel.Button15Click();
  EXPECT_THAT(input.asked, ElementsAre("Input Addr 程式記憶體選擇", "Input Index 資料記憶體選擇"));
  EXPECT_THAT(wire.lines, ElementsAre("OUT 43 0000 0000 0"));
}

TEST_F(Panel, TestLibraryGetsTheBufferUpToItsBound) {
  InstallLibrary();
  struct Case {
    int64_t resize;  // 0: the buffer as created
    uint32_t given;
  };
  const Case cases[] = {
      {0, 0x2000},                      // the whole 8 KB buffer
      {0x20000, kTestLibraryMaxLength}  // only the first 32 KB
  };
  for (const Case& c : cases) {
    if (c.resize) buffer.ResizeBuffer(c.resize, messages);
    std::fill(buffer.Bytes().begin(), buffer.Bytes().end(), 0);
    uint8_t* start = buffer.Bytes().data();
    redraws = 0;
    panel.Button2Click();
    const auto b = Buffer();
    EXPECT_EQ(std::count(b.begin(), b.end(), 0xA5), c.given);
    EXPECT_EQ(b[c.given - 1], 0xA5);
    EXPECT_EQ(buffer.Bytes().data(), start);   // the buffer is still ours
    EXPECT_NE(panel.HandOverHandle(), start);  // the library replaced the field
    EXPECT_EQ(panel.HandOverLength(), c.given);
    EXPECT_EQ(redraws, 1);
  }
  EXPECT_THAT(Messages(), IsEmpty());

  // A library that hands back nothing, and the hook with the pointer field.
  buffer.Bytes()[0] = 0xEE;
  panel.Button2Click();
  EXPECT_THAT(Messages(), ElementsAre("return value fail!"));
  panel.Button1Click();
  EXPECT_NE(panel.HandOverPointer(), nullptr);
  EXPECT_THAT(Messages(), ElementsAre("return value fail!"));
  EXPECT_EQ(FailSounds(), 1);
}

TEST_F(Panel, WithoutTheLibraryNothingIsCalled) {
  FillSource(0x31);
  const auto before = Buffer();
  panel.Button2Click();
  panel.Button1Click();
  EXPECT_THAT(Messages(), ElementsAre("return value fail!", "return value fail!"));
  EXPECT_EQ(FailSounds(), 2);
  EXPECT_EQ(Buffer(), before);
}

TEST_F(Panel, OpenUsbSwitchesTheSramButtons) {
  panel.Button6Click();
  EXPECT_TRUE(window.sram_buttons);
  sim.SetUnitPresent(false);
  panel.Button6Click();
  EXPECT_FALSE(window.sram_buttons);
  EXPECT_THAT(Messages(), ElementsAre("not connected"));
  EXPECT_EQ(FailSounds(), 1);
}

}  // namespace
}  // namespace quenlet::testing
