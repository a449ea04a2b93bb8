// Devices whose programmer keeps the data itself: the buffer upload, and
// verify and the confirm step compared inside the programmer (operation 6).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ops_fixture.h"
#include "programmer/block_plan.h"
#include "programmer/buffer_upload.h"
#include "programmer/device_compare.h"
#include "programmer/device_program.h"
#include "state/operation_messages.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// One uploaded page: parameters with its words, 0x43, two 0x4C writes.
std::vector<std::string> UploadPage(const char* words) {
  return {"OUT 47 0B00 0080 0", words,    "OUT 43 0000 0000 0", "OUT 4C 8000 8000 0", "W 32768",
          "OUT 4C 8000 8000 0", "W 32768"};
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(BufferUpload, BlocksOfEachGeometryAndNoOperation) {
  struct Case {
    const char* name;
    DeviceShape shape;
    std::vector<std::string> wire;
  };
  const Case cases[] = {
      // The page word is the device size + 1 when that is below 64 K.
      {"byte 32 KB", DeviceShape{.max_address = 0x7FFF}, UploadPage("P 0000 0000 8001")},
      {"byte 128 KB", DeviceShape{.max_address = 0x1FFFF},
       Join({UploadPage("P 0000 0000 0000"), UploadPage("P 0000 0001 0000")})},
      {"words 64 K", DeviceShape{.data_width = "0xFFFF", .max_address = 0xFFFF},
       Join({UploadPage("P 0000 0000 0000"), UploadPage("P 8000 0000 0000")})},
      {"words 128 K", DeviceShape{.data_width = "0xFFFF", .max_address = 0x1FFFF},
       Join({UploadPage("P 0000 0000 0000"), UploadPage("P 8000 0000 0000"),
             UploadPage("P 0000 0001 0000"), UploadPage("P 8000 0001 0000")})},
      // Both areas go up: 64 KB + 1 byte of second area is two blocks.
      {"byte 64 KB and a second area", DeviceShape{.max_address = 0xFFFF, .ext_address = 0x0FFF},
       Join({UploadPage("P 0000 0000 0000"), UploadPage("P 0000 0001 0000")})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpsFixture f;
    f.Select(c.shape);
    f.FillSource(0x42);
    ASSERT_TRUE(UploadBufferToProgrammer(f.ctx));
    EXPECT_THAT(f.wire.lines, ElementsAreArray(c.wire));
    EXPECT_EQ(f.pump.pumps, 1);
    EXPECT_TRUE(f.events.empty());
  }
}

TEST(BufferUpload, BytesPastTheDeviceGoUpErased) {
  OpsFixture f;
  f.Select(DeviceShape{.max_address = 0x7FFF, .ext_address = 0xFF});
  f.FillSource(0x42);
  ASSERT_TRUE(UploadBufferToProgrammer(f.ctx));
  const std::vector<uint8_t>& ram = f.unit().data_ram();
  const std::vector<uint8_t> b = f.Buffer();
  const size_t data = 0x8000 + 0x100;  // both areas
  EXPECT_TRUE(std::equal(b.begin(), b.begin() + data, ram.begin()));
  EXPECT_TRUE(
      std::all_of(ram.begin() + data, ram.begin() + 65536, [](uint8_t v) { return v == 0xFF; }));
}

TEST(BufferUpload, DeviceOfNeitherWidthIsRefusedWithAReason) {
  OpsFixture f;
  f.Select(DeviceShape{.data_width = "0x0FFF"});
  EXPECT_FALSE(UploadBufferToProgrammer(f.ctx));
  EXPECT_THAT(f.events,
              ElementsAre("beep 16", std::string("message ") + kDataWidthError, "beep 16"));
  EXPECT_TRUE(f.wire.lines.empty());
}

TEST(BufferUpload, FailuresShowTheirTextBetweenTwoStepFails) {
  struct Case {
    int request;  // the n-th control request fails
    const char* text;
  };
  for (const Case& c : {Case{2, op_text::kAnnounceFail}, Case{3, op_text::kPageWriteRequestFail}}) {
    OpsFixture f;
    f.Select(DeviceShape{.max_address = 0x7FFF});
    f.unit().FailRequestNumber(c.request);
    EXPECT_FALSE(UploadBufferToProgrammer(f.ctx));
    EXPECT_THAT(f.events, ElementsAre("beep 16", std::string("message ") + c.text, "beep 16"));
    EXPECT_FALSE(f.view.Top(Step::Program).has_value());  // no step pictures
  }
}

DeviceShape HeldDevice() {
  return DeviceShape{.data_width = "0xFFFF", .max_address = 0xFFFF, .option_fuse_type = 1};
}

// Programs the chip from the buffer by hand: these devices' own program runs
// inside the programmer.
void ChipHoldsBuffer(OpsFixture& f) {
  const std::vector<uint8_t> b = f.Buffer();
  auto& chip = f.Chip();
  std::copy(b.begin(), b.begin() + static_cast<long>(chip.size()), chip.begin());
}

TEST(HeldDataVerify, ProgrammerComparesTheUploadedBuffer) {
  OpsFixture f;
  f.Select(HeldDevice());
  f.FillSource(0x61);
  ChipHoldsBuffer(f);
  ASSERT_TRUE(verify_1Click(f.ctx, 0));
  EXPECT_THAT(f.wire.lines, ElementsAreArray(Join({UploadPage("P 0000 0000 0000"),
                                                   UploadPage("P 8000 0000 0000"),
                                                   {"OUT 49 4000 0600 0", "IN 42 0000 0000 16"}})));
  EXPECT_EQ(f.view.Top(Step::Verify), Layer::p);
  EXPECT_TRUE(f.view.Visible(Indicator::Pass));

  f.Chip()[77] ^= 1;
  f.ClearRecords();
  EXPECT_FALSE(verify_1Click(f.ctx, 0));
  EXPECT_THAT(f.events, ElementsAre("beep 16", std::string("message ") + op_text::kCommandFail49));
  EXPECT_EQ(f.view.Top(Step::Verify), Layer::f);
}

TEST(HeldDataVerify, UnreadableStatusIsAFailure) {
  OpsFixture f;
  f.Select(HeldDevice());
  ChipHoldsBuffer(f);
  f.unit().ShortenNextReply(request::kStatus, 4);
  EXPECT_FALSE(verify_1Click(f.ctx, 0));
  EXPECT_EQ(f.view.Top(Step::Verify), Layer::f);
}

TEST(HeldDataVerify, FailedUploadEndsTheVerify) {
  OpsFixture f;
  f.Select(HeldDevice());
  f.unit().FailRequest(request::kPageWrite, 2);
  EXPECT_FALSE(verify_1Click(f.ctx, 0));
  EXPECT_EQ(f.view.Top(Step::Verify), Layer::f);
  for (const auto& line : f.wire.lines) EXPECT_NE(line, "OUT 49 4000 0600 0");
}

TEST(HeldDataConfirmStep, TwoProgrammerRuns) {
  OpsFixture f;
  f.Select(HeldDevice());
  f.FillSource(0x62);
  ChipHoldsBuffer(f);
  ASSERT_TRUE(confirm_nClick(f.ctx));
  // The runs send the block as the upload left it.
  const std::vector<std::string> run = {"OUT 47 0B00 0080 0", "P 8000 0000 0000",
                                        "OUT 49 4000 0600 0", "IN 42 0000 0000 16"};
  EXPECT_THAT(f.wire.lines, ElementsAreArray(Join({UploadPage("P 0000 0000 0000"),
                                                   UploadPage("P 8000 0000 0000"), run, run})));
  EXPECT_EQ(f.view.Top(Step::Confirm), Layer::p);
}

TEST(HeldDataConfirmStep, FailedRunShowsCommandFail) {
  OpsFixture f;
  f.Select(HeldDevice());
  ChipHoldsBuffer(f);
  f.unit().FailRequest(request::kRun, 2);
  EXPECT_FALSE(confirm_nClick(f.ctx));
  EXPECT_THAT(f.Messages(), ElementsAre(op_text::kCommandFail));
  EXPECT_EQ(f.view.Top(Step::Confirm), Layer::f);
}

}  // namespace
}  // namespace quenlet::testing
