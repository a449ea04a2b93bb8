// Each request and each bulk transfer of an operation failing in turn: the
// operation reports failure with its exact message and sounds, shows its
// failure pictures, sends nothing after the failure, and a failed program
// leaves the buffer as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <map>

#include "ops_fixture.h"
#include "programmer/device_compare.h"
#include "programmer/device_program.h"
#include "programmer/device_read.h"
#include "programmer/single_shot_ops.h"
#include "state/operation_messages.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAreArray;

const std::string kFail = "beep 16";
std::string Msg(const char* text) {
  return std::string("message ") + text;
}

// The kind of a transcript line, as the tables below name them.
std::string KindOf(const std::string& line) {
  if (line.rfind("P ", 0) == 0) return "P";
  if (line.rfind("W 256", 0) == 0) return "W 256";
  if (line.rfind("W ", 0) == 0) return "W";
  if (line.rfind("R ", 0) == 0) return "R";
  if (line.rfind("OUT 47", 0) == 0) return line.substr(0, 11);
  return line.substr(0, line.find(' ', line.find(' ') + 1));
}

struct FaultCase {
  const char* name;
  std::function<bool(OperationContext&)> run;
  Step step;
  // What the operator sees and hears when the transfer of this kind fails.
  std::map<std::string, std::vector<std::string>> events;
};

const std::vector<std::string> kParamsFailed = {kFail};  // StepFail of the parameter upload

const FaultCase kFaultCases[] = {
    {"Program",
     [](OperationContext& c) { return program_1Click(c, 0); },
     Step::Program,
     {{"OUT 47 0B00", kParamsFailed},
      {"P", kParamsFailed},
      {"OUT 43", {Msg(op_text::kAnnounceFail), kFail}},
      {"OUT 4C", {Msg(op_text::kPageWriteRequestFail), kFail}},
      {"W", {Msg(op_text::kFirstHalfWriteFail), kFail}},
      {"OUT 49", {Msg(op_text::kProgramRunFail), kFail}},
      {"IN 42", {kFail}}}},
    {"Read",
     [](OperationContext& c) { return readClick(c); },
     Step::Read,
     {{"OUT 47 0B00", kParamsFailed},
      {"P", kParamsFailed},
      {"OUT 49", {kFail, Msg(op_text::kReadRunFail), kFail}},
      {"IN 42", {kFail}},
      {"OUT 4B", {kFail}},
      {"R", {kFail}}}},
    {"Verify",
     [](OperationContext& c) { return verify_1Click(c, 0); },
     Step::Verify,
     {{"OUT 47 0B00", kParamsFailed},
      {"P", kParamsFailed},
      {"OUT 49", {Msg(op_text::kCommand49Fail), kFail}},
      {"IN 42", {kFail}},
      {"OUT 4B", {Msg(op_text::kPageReadRequestFail), kFail}},
      {"R", {Msg(op_text::kPageReadDataFail), kFail}}}},
    {"Confirm",
     [](OperationContext& c) { return ConfirmDevice(c, 0); },
     Step::Confirm,
     {{"OUT 47 0B00", kParamsFailed},
      {"P", kParamsFailed},
      {"OUT 49", {kFail, Msg(op_text::kCommand49Fail), kFail}},
      {"IN 42", {kFail}},
      {"OUT 4B", {kFail, Msg(op_text::kPageReadRequestFail)}},
      {"R", {kFail, Msg(op_text::kPageReadDataFail)}}}},
    {"Erase",
     [](OperationContext& c) { return erase_1Click(c, 0); },
     Step::Erase,
     {{"OUT 47 0B00", kParamsFailed},
      {"P", kParamsFailed},
      {"OUT 49", {kFail, Msg(op_text::kCommand49Fail), kFail}},
      {"IN 42", {kFail, kFail}}}},
    {"Protect",
     [](OperationContext& c) { return protect_1Click(c, 0); },
     Step::Protect,
     {{"OUT 47 0B00", kParamsFailed},
      {"P", kParamsFailed},
      {"OUT 43", {Msg(op_text::kAnnounceFail), kFail}},
      {"OUT 47 0E00", {kFail}},
      {"W 256", {kFail}},
      {"OUT 49", {Msg(op_text::kProtectCommandFail), kFail}},
      {"IN 42", {kFail}}}},
};

// A byte-wide device of 96 KB: a whole block and a half block.
DeviceShape Device() {
  return DeviceShape{.max_address = 0x17FFF};
}

void Prepare(OpsFixture& f) {
  f.Select(Device());
  f.FillSource(0x5C);
  f.FillChip(0x5C);
}

class FaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultTest, EachTransferFailingInTurn) {
  const FaultCase& c = GetParam();
  std::vector<std::string> clean;
  {
    OpsFixture f;
    Prepare(f);
    ASSERT_TRUE(c.run(f.ctx)) << ::testing::PrintToString(f.events);
    clean = f.wire.lines;
  }
  int requests = 0;
  int transfers = 0;
  for (size_t i = 0; i < clean.size(); ++i) {
    const bool control = clean[i].rfind("OUT", 0) == 0 || clean[i].rfind("IN", 0) == 0;
    control ? ++requests : ++transfers;
    SCOPED_TRACE(clean[i] + " failing (transfer " + std::to_string(i) + ")");
    OpsFixture f;
    Prepare(f);
    const std::vector<uint8_t> before = f.Buffer();
    if (control) {
      f.unit().FailRequestNumber(requests);
    } else {
      f.unit().FailTransferNumber(transfers);
    }
    f.state.SoundOn = 1;
    EXPECT_FALSE(c.run(f.ctx));

    std::vector<std::string> expected(clean.begin(), clean.begin() + i + 1);
    expected.back() += " fail";
    EXPECT_THAT(f.wire.lines, ElementsAreArray(expected));
    const auto kind = c.events.find(KindOf(clean[i]));
    ASSERT_NE(kind, c.events.end()) << KindOf(clean[i]);
    EXPECT_THAT(f.events, ElementsAreArray(kind->second));
    EXPECT_EQ(f.view.Top(c.step), Layer::f);
    EXPECT_FALSE(f.view.Visible(Indicator::Pass));
    if (c.step == Step::Program) {
      EXPECT_EQ(f.Buffer(), before);
    }
    if (c.step == Step::Read) {
      EXPECT_EQ(f.record.ReadDataValid, 0);
    }
  }
}

// Test names say which case failed; the whole case object is not printed.
void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.name;
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultTest, ::testing::ValuesIn(kFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Short answers count as failures: a status reply of 8 bytes and a bulk
// read that delivers less than 32 KB.
TEST(ShortTransfers, FailTheOperation) {
  for (bool short_status : {true, false}) {
    SCOPED_TRACE(short_status ? "short status" : "short bulk read");
    OpsFixture f;
    Prepare(f);
    if (short_status) {
      f.unit().ShortenNextReply(request::kStatus, 8);
    } else {
      f.unit().ShortenNextBulkRead(1000);
    }
    EXPECT_FALSE(verify_1Click(f.ctx, 0));
    EXPECT_EQ(f.view.Top(Step::Verify), Layer::f);
    // Nothing goes out after the short answer.
    ASSERT_FALSE(f.wire.lines.empty());
    EXPECT_EQ(f.wire.lines.back(), short_status ? "IN 42 0000 0000 16" : "R 32768 fail");
  }
}

// A status that reports an error: the operation's text, then the Copy page
// made ready for a new start.
TEST(StatusErrors, ProtectedChipIsNamedAndTheCopyPageRestored) {
  struct Case {
    const char* name;
    std::function<bool(OperationContext&)> run;
    uint8_t byte0, byte1;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {"read protected",
       [](OperationContext& c) { return readClick(c); },
       0x00,
       0x04,
       {kFail, Msg(op_text::kProtectedUpper)}},
      {"read error",
       [](OperationContext& c) { return readClick(c); },
       0x02,
       0x00,
       {kFail, Msg(op_text::kIcErrorTwoSpaces)}},
      {"verify",
       [](OperationContext& c) { return verify_1Click(c, 0); },
       0x00,
       0x04,
       {Msg(op_text::kProtectedCantRead), kFail}},
      {"confirm protected",
       [](OperationContext& c) { return ConfirmDevice(c, 0); },
       0x00,
       0x04,
       {kFail, Msg(op_text::kProtectedUpper), Msg(op_text::kProtectedCantRead)}},
      {"confirm error",
       [](OperationContext& c) { return ConfirmDevice(c, 0); },
       0x01,
       0x00,
       {kFail, Msg(op_text::kIcErrorComma), Msg(op_text::kProtectedCantRead)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpsFixture f;
    Prepare(f);
    f.state.RunReady = 0;
    f.unit().FailNextOperation(c.byte0, c.byte1);
    EXPECT_FALSE(c.run(f.ctx));
    EXPECT_THAT(f.events, ElementsAreArray(c.events));
    EXPECT_EQ(f.state.RunReady, 1);
    EXPECT_TRUE(f.view.Visible(Step::Load, Layer::n));
    EXPECT_TRUE(f.view.Enabled(Control::CopyReadBtn));
  }
}

TEST(StatusErrors, ProtectedChipFromTheUnitItself) {
  OpsFixture f;
  Prepare(f);
  f.unit().chip().set_protected(true);
  EXPECT_FALSE(readClick(f.ctx));
  EXPECT_THAT(f.Messages(), ElementsAreArray({op_text::kProtectedUpper}));
}

}  // namespace
}  // namespace quenlet::testing
