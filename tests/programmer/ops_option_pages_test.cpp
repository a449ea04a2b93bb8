// The option block of an option device on the simulated unit: the read
// step's user-page read into ProtectBlock and temp.ini, the held-data read's
// InfoBlock, the read's failures, and protect sending the block back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "device/option_block.h"
#include "ops_fixture.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "programmer/device_read.h"
#include "programmer/option_page_reads.h"
#include "programmer/single_shot_ops.h"
#include "state/operation_messages.h"
#include "support/option_pages_fixture.h"
#include "support/temp_dir.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;

class OptionPageReadsTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    InstallFixturePages(dir_);
    paths_ = std::make_unique<ProgramPaths>(dir_.string());
    reads_ = std::make_unique<OptionPageReads>(f_.ctx, *paths_);
    f_.ctx.option_pages = reads_.get();
  }
  void Select(uint16_t option_fuse_type, const char* data_width = "0x00FF",
              uint16_t read_mode = 0x0100) {
    f_.Select(DeviceShape{.data_width = data_width,
                          .max_address = 0x7FFF,
                          .option_fuse_type = option_fuse_type,
                          .read_mode = read_mode});
    f_.device.OptionPageIni = "menu\\pages.ini";  // stored in Windows case
    f_.reload.stored = f_.device;
  }
  std::string Value(const std::string& key) {
    return IniFile(Path("temp.ini")).ReadString("CurrentUserPageSetup", key, "<none>");
  }
  // The first words of the chip's option block; the others stay erased.
  void SetChipOptions(std::initializer_list<uint16_t> words) {
    const OptionBlock given = OptionWords(words);
    std::copy_n(given.begin(), 2 * words.size(), f_.unit().chip().options().begin());
  }

  OpsFixture f_;
  std::unique_ptr<ProgramPaths> paths_;
  std::unique_ptr<OptionPageReads> reads_;
};

TEST_F(OptionPageReadsTest, ReadFillsTheProtectBlockAndTempIniAndProtectSendsItBack) {
  Select(2);
  SetChipOptions({1, 0xFFFF, 200, 0x00FF, 0xBEEF, 'Q', 'D', 'O'});  // the rest stays erased
  ASSERT_TRUE(readClick(f_.ctx));
  EXPECT_THAT(std::vector<std::string>(f_.wire.lines.end() - 3, f_.wire.lines.end()),
              ElementsAre("OUT 49 4000 0B00 0", "OUT 46 0E00 0100 0", "R 256"));
  EXPECT_EQ(Value("Page0Com0Set"), "1");
  EXPECT_EQ(Value("Page0Com1Set"), "0");  // erased words read as 0
  EXPECT_EQ(Value("Page0Com2Set"), "200");
  EXPECT_EQ(Value("Page1Com0Set"), "48879");
  EXPECT_EQ(Value("Page1Com1Set"), "QDO");
  EXPECT_EQ(Value("Page1Com2Set"), "0");

  OptionBlock expected = f_.unit().chip().options();
  for (size_t i = 0; i < expected.size(); i += 2) {
    if (expected[i] == 0xFF && expected[i + 1] == 0xFF) expected[i] = expected[i + 1] = 0;
  }
  EXPECT_EQ(f_.state.ProtectBlock, expected);

  // Protect sends the block as read, erased words as 0.
  ASSERT_TRUE(protect_1Click(f_.ctx, 0));
  EXPECT_EQ(f_.unit().option_ram(), expected);
  EXPECT_EQ(f_.unit().chip().options(), expected);
}

TEST_F(OptionPageReadsTest, HeldDataReadKeepsErasedWords) {
  Select(1, "0xFFFF", 0x0400);
  ASSERT_TRUE(readClick(f_.ctx));  // a blank chip: every option word 0xFFFF
  EXPECT_EQ(Value("Page0Com0Set"), "65535");
  EXPECT_EQ(Value("Page1Com2Set"), "65535");
  EXPECT_EQ(Value("Page1Com1Set"), "\xFF\xFF\xFF");
}

// Each failure shows its message after StepFail and changes neither the
// protect block nor temp.ini; the read reports failure.
TEST_F(OptionPageReadsTest, FailedReadsChangeNothing) {
  struct Case {
    const char* name;
    std::function<void(SimulatedUnit&)> fault;
    const char* message;
  };
  for (const Case& c : {
           Case{"request stalls", [](SimulatedUnit& u) { u.FailRequest(request::kAreaRead); },
                op_text::kInfoReadRequestFail},
           Case{"short block", [](SimulatedUnit& u) { u.ShortenNextBulkRead(255); },
                op_text::kOptionBlockFail},
       }) {
    SCOPED_TRACE(c.name);
    Select(3);
    IniFile(Path("temp.ini")).WriteInteger("CurrentUserPageSetup", "Page0Com0Set", 42);
    f_.state.ProtectBlock.fill(0x5A);
    f_.ClearRecords();
    c.fault(f_.unit());
    EXPECT_FALSE(reads_->ReadUserPageFromDevice());
    EXPECT_THAT(f_.events, ElementsAre("beep 16", std::string("message ") + c.message));
    EXPECT_EQ(Value("Page0Com0Set"), "42");
    EXPECT_EQ(f_.state.ProtectBlock, [] {
      OptionBlock b;
      b.fill(0x5A);
      return b;
    }());
  }
}

TEST_F(OptionPageReadsTest, ReadStepFailsWhenTheUserPageCannotBeRead) {
  Select(2);
  f_.unit().FailRequest(request::kAreaRead);
  EXPECT_FALSE(readClick(f_.ctx));
  EXPECT_THAT(f_.Messages(), ElementsAre(op_text::kInfoReadRequestFail));
}

}  // namespace
}  // namespace quenlet::testing
