#include "programmer/status_checks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/programmer/programmer_link_fixture.h"

namespace quenlet {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using testing::LinkFixture;

ProgrammerStatus Status(uint8_t operation_errors, uint8_t system_errors) {
  ProgrammerStatus s;
  s.bytes[0] = operation_errors;
  s.bytes[1] = system_errors;
  return s;
}

TEST(CheckRunStatus, ShowsOneMessagePerSingleBitByteThenRunFail) {
  const char* const operation_texts[] = {"Reverse",   "Read Fail",   "Erase Fail", "Blank Fail",
                                         "Prog Fail", "Verify Fail", "Prot Fail",  "Test Fail"};
  const char* const system_texts[] = {"Run Fail", "Reverse",   "Reverse",   "Over Current Fail",
                                      "I2C_FAIL", "CPLD_FAIL", "SRAM Fail", "FPGA Fail"};
  for (int bit = 0; bit < 8; ++bit) {
    SCOPED_TRACE(bit);
    for (int byte = 0; byte < 2; ++byte) {
      LinkFixture f;
      const uint8_t value = static_cast<uint8_t>(1u << bit);
      f.unit().OverrideStatus(byte == 0 ? Status(value, 0) : Status(0, value));
      EXPECT_EQ(CheckRunStatus(f.link), 0);
      const std::string text = byte == 0 ? operation_texts[bit] : system_texts[bit];
      EXPECT_THAT(f.events, ElementsAre("StepFail", "message " + text, "message Run Fail"));
    }
  }
}

TEST(CheckRunStatus, CombinationsAndUnreadableStatus) {
  const struct {
    const char* name;
    ProgrammerStatus status;
    void (*fault)(SimulatedUnit&);
    int result;
    std::vector<std::string> events;
  } cases[] = {
      {"clean", Status(0, 0), nullptr, 1, {}},
      {"several bits have no message", Status(0x03, 0), nullptr, 0, {"message Run Fail"}},
      {"one message for each byte",
       Status(0x10, 0x80),
       nullptr,
       0,
       {"StepFail", "message Prog Fail", "StepFail", "message FPGA Fail", "message Run Fail"}},
      {"status request fails",
       Status(0, 0),
       [](SimulatedUnit& u) { u.FailRequest(0x42); },
       0,
       {"message Run Fail"}},
      // A clean status whose reply came short is no clean status.
      {"short status reply",
       Status(0, 0),
       [](SimulatedUnit& u) { u.ShortenNextReply(0x42, 15); },
       0,
       {"message Run Fail"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LinkFixture f;
    f.unit().OverrideStatus(c.status);
    if (c.fault) c.fault(f.unit());
    EXPECT_EQ(CheckRunStatus(f.link), c.result);
    EXPECT_THAT(f.events, ElementsAreArray(c.events));
  }
}

class PinContactCheckTest : public ::testing::Test {
 public:
  void UsePins(std::initializer_list<int> pins) {
    for (int pin : pins) {
      f.device.PinMap[pin - 1] = 1;
      f.unit().chip().set_contact(pin, true);
    }
  }
  LinkFixture f;
};

TEST_F(PinContactCheckTest, ComparesSocketPinNWithPinMapEntryNMinusOne) {
  // The pins at both ends of the map: a shifted comparison would miss them.
  UsePins({1, 24, 25, 48});
  f.state.VccPinRaw = 48;
  EXPECT_EQ(PinContactCheck(f.link, 1), kPinsAsExpected);
  EXPECT_THAT(f.events, IsEmpty());
  EXPECT_THAT(f.unit().log().TransferLines(),
              ElementsAre("OUT 4A A000 000F 0", "IN 42 0000 0000 16", "OUT 49 8000 000F 0",
                          "IN 42 0000 0000 16"));
}

TEST_F(PinContactCheckTest, Results) {
  const struct {
    const char* name;
    void (*arrange)(PinContactCheckTest&);
    int result;
  } cases[] = {
      {"a missing contact",
       [](PinContactCheckTest& t) {
         t.UsePins({1, 48});
         t.f.unit().chip().set_contact(48, false);
       },
       kPinMismatch},
      {"an unexpected contact",
       [](PinContactCheckTest& t) {
         t.UsePins({1, 48});
         t.f.unit().chip().set_contact(2, true);
       },
       kPinMismatch},
      {"no pin in contact, even with an empty pin map", [](PinContactCheckTest&) {},
       kNoPinInContact},
      {"stray answers",
       [](PinContactCheckTest& t) {
         t.UsePins({1, 48});
         t.f.unit().chip().set_stray_indication(0x0100);
       },
       kPinMismatch},
      {"stray answers pass for a Vcc pin 255",
       [](PinContactCheckTest& t) {
         t.UsePins({1, 48});
         t.f.unit().chip().set_stray_indication(0x0001);
         t.f.state.VccPinRaw = 255;
       },
       kPinsAsExpected},
      {"stray answers and no contact are no empty socket",
       [](PinContactCheckTest& t) {
         t.f.unit().chip().set_stray_indication(0x0001);
         t.f.state.VccPinRaw = 255;
       },
       kPinsAsExpected},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    f.device.PinMap.fill(0);
    for (int pin = 1; pin <= 48; ++pin) f.unit().chip().set_contact(pin, false);
    f.unit().chip().set_stray_indication(0);
    f.state.VccPinRaw = 0;
    c.arrange(*this);
    EXPECT_EQ(PinContactCheck(f.link, 1), c.result);
  }
}

TEST_F(PinContactCheckTest, FailuresAndModeZero) {
  EXPECT_EQ(PinContactCheck(f.link, 0), kPinsAsExpected);
  EXPECT_THAT(f.unit().log().Lines(), IsEmpty());

  const struct {
    const char* name;
    int failing_request;
    std::vector<std::string> events;
  } cases[] = {
      {"prepare fails", 1, {"StepFail"}},
      {"status after prepare unreadable", 2, {"message Run Fail"}},
      {"scan request fails", 3, {"StepFail"}},
      {"scan status unreadable", 4, {"StepFail"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LinkFixture g;
    g.unit().FailRequestNumber(c.failing_request);
    EXPECT_EQ(PinContactCheck(g.link, 1), kPinTransferFailed);
    EXPECT_THAT(g.events, ElementsAreArray(c.events));
  }

  LinkFixture g;
  g.unit().FailNextOperation(0, 0x80);  // the scan reports an error
  EXPECT_EQ(PinContactCheck(g.link, 1), kPinTransferFailed);
  EXPECT_THAT(g.events, ElementsAre("StepFail"));
}

class CheckChipIdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.device.OperationVoltages[kIdVcc] = 50;
    f.device.OperationVoltages[kIdVpp] = 120;
    f.device.OperationVoltages[kIdVhh] = 0;
    f.device.Block.SetCurrentVoltages(33, 0, 0);
    f.unit().chip().set_id_codes({0xBF, 0xB5, 0x11, 0x22});
  }
  uint16_t SentVoltage(size_t offset) {
    const auto& b = f.unit().parameter_block();
    return static_cast<uint16_t>(b[offset] | b[offset + 1] << 8);
  }
  LinkFixture f;
};

TEST_F(CheckChipIdTest, ComparesOnlyTheCodesThatAreSet) {
  const struct {
    std::array<uint8_t, 4> expected;
    bool result;
    const char* message;
  } cases[] = {
      {{0xBF, 0xB5, 0x11, 0x22}, true, nullptr},
      {{0xBF, 0, 0, 0}, true, nullptr},
      {{0, 0, 0, 0x22}, true, nullptr},
      {{0xBF, 0xB5, 0, 0x22}, true, nullptr},  // extended code 1 not set: not compared
      {{0x01, 0xB5, 0, 0}, false, "ID Code Error !"},
      {{0xBF, 0xB6, 0, 0}, false, "Device_Code  Error !  "},
      {{0xBF, 0xB5, 0x12, 0}, false, "Ext_Code1  Error !  "},
      {{0xBF, 0xB5, 0x11, 0x23}, false, "Ext_Code2  Error !  "},
      {{0, 0, 0, 0x23}, false, "Ext_Code2  Error !  "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message ? c.message : "match");
    f.events.clear();
    f.state.ExpectedIdCodes = c.expected;
    EXPECT_EQ(CheckChipId(f.link, 1), c.result);
    if (c.message) {
      EXPECT_THAT(f.events, ElementsAre("StepFail", std::string("message ") + c.message));
    } else {
      EXPECT_THAT(f.events, IsEmpty());
      EXPECT_EQ(f.device.Block.Word(DeviceParameterBlock::kCurrentVcc), 33);  // put back
    }
    // The chip was read at the ID voltages.
    EXPECT_EQ(SentVoltage(DeviceParameterBlock::kCurrentVcc), 50);
    EXPECT_EQ(SentVoltage(DeviceParameterBlock::kCurrentVpp), 120);
  }
}

TEST_F(CheckChipIdTest, WireSequenceAndModes) {
  f.state.ExpectedIdCodes = {0xBF, 0, 0, 0};
  ASSERT_TRUE(CheckChipId(f.link, 1));
  EXPECT_THAT(f.unit().log().TransferLines(),
              ElementsAre("OUT 47 0B00 0080 0", "bulk-out 128", "OUT 49 4000 0900 0",
                          "IN 42 0000 0000 16"));

  f.unit().log().Clear();
  EXPECT_TRUE(CheckChipId(f.link, 0));
  EXPECT_THAT(f.unit().log().Lines(), IsEmpty());

  // Another mode only sets the ID voltages, and they stay in the block.
  EXPECT_TRUE(CheckChipId(f.link, 2));
  EXPECT_THAT(f.unit().log().TransferLines(), ElementsAre("OUT 47 0B00 0080 0", "bulk-out 128"));
  EXPECT_EQ(f.device.Block.Word(DeviceParameterBlock::kCurrentVcc), 50);

  f.unit().log().Clear();
  f.state.ExpectedIdCodes = {0, 0, 0, 0};
  EXPECT_TRUE(CheckChipId(f.link, 1));
  EXPECT_THAT(f.unit().log().Lines(), IsEmpty());
}

TEST_F(CheckChipIdTest, FailingRequests) {
  const struct {
    int failing_request;  // 1: parameter request, 2: 0x49, 3: 0x42
    ProgrammerStatus status;
    std::vector<std::string> events;
  } cases[] = {
      {1, {}, {"StepFail"}},
      {2, {}, {"StepFail", "message Error 49! Read Fail"}},
      {3, {}, {"StepFail", "message Error 4A! FPGA Initial Fail"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing_request);
    LinkFixture g;
    g.state.ExpectedIdCodes = {0xBF, 0, 0, 0};
    g.unit().FailRequestNumber(c.failing_request);
    EXPECT_FALSE(CheckChipId(g.link, 1));
    EXPECT_THAT(g.events, ElementsAreArray(c.events));
  }

  // The read ran but the unit reports an error.
  LinkFixture g;
  g.state.ExpectedIdCodes = {0xBF, 0, 0, 0};
  g.unit().FailNextOperation(0x02, 0);
  EXPECT_FALSE(CheckChipId(g.link, 1));
  EXPECT_THAT(g.events, ElementsAre("StepFail", "message Error 4A! State Fail"));
}

}  // namespace
}  // namespace quenlet
