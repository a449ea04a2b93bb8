#include "programmer/identification.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "programmer/uploads.h"
#include "tests/programmer/programmer_link_fixture.h"

namespace quenlet {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::LinkFixture;

int CountRequests(const SimulatedUnit& unit, uint8_t request) {
  int n = 0;
  for (const WireEntry& e : unit.log().entries()) {
    n += e.kind == WireKind::Control && e.request == request ? 1 : 0;
  }
  return n;
}

TEST(IdentifyProgrammer, AcceptsOnlyTheExactModelString) {
  const struct {
    const char* model;
    bool accepted;
  } cases[] = {
      {"VARNEK-TX", true},  {"VARNEK-TX2", true},  // byte 19 is not compared
      {"varnek-tx", false}, {"Varnek-TX", false}, {"VARNEK-T", false}, {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    LinkFixture f;
    f.unit().SetModel(c.model);
    f.unit().identification().bytes[20] = 0x34;
    f.unit().identification().bytes[21] = 0x12;
    IdentifyProgrammer(f.link);
    if (c.accepted) {
      EXPECT_EQ(f.state.ProgrammerIdentified, 1);
      EXPECT_EQ(f.state.WrongProgrammer, 0);
      EXPECT_EQ(f.link.ProgrammerInfoWord, 0x1234);
      EXPECT_THAT(f.events, IsEmpty());
    } else {
      EXPECT_EQ(f.state.ProgrammerIdentified, 0);
      EXPECT_EQ(f.state.WrongProgrammer, 1);
      EXPECT_THAT(f.events, ElementsAre("message Please connect Quenlet unit", "close window"));
    }
    EXPECT_THAT(f.unit().log().TransferLines(), ElementsAre("IN 41 0000 0000 22"));
  }
}

TEST(IdentifyProgrammer, AFailedOrShortReplySetsNothingAndTheNextLoadAsksAgain) {
  const struct {
    const char* name;
    void (*fault)(SimulatedUnit&);
  } cases[] = {
      {"request fails", [](SimulatedUnit& u) { u.FailRequest(0x41); }},
      // Only 10 bytes: the model bytes never arrived, so this is no wrong model.
      {"short reply", [](SimulatedUnit& u) { u.ShortenNextReply(0x41, 10); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LinkFixture f;
    c.fault(f.unit());
    SendDriverFile(f.link, "drv.bin");
    EXPECT_EQ(f.state.ProgrammerIdentified, 0);
    EXPECT_EQ(f.state.WrongProgrammer, 0);
    EXPECT_EQ(f.Count("close window"), 0);

    SendDriverFile(f.link, "drv.bin");
    EXPECT_EQ(f.state.ProgrammerIdentified, 1);
    EXPECT_EQ(CountRequests(f.unit(), 0x41), 2);

    // Identified: later loads do not ask again.
    SendDriverFile(f.link, "drv.bin");
    EXPECT_EQ(CountRequests(f.unit(), 0x41), 2);
  }
}

TEST(IdentifyProgrammer, AWrongModelStopsEveryLaterDriverUpload) {
  LinkFixture f;
  f.unit().SetModel("OTHER-UNIT");
  SendDriverFile(f.link, "drv.bin");
  SendDriverFile(f.link, "drv.bin");
  EXPECT_EQ(f.state.WrongProgrammer, 1);
  EXPECT_EQ(f.unit().driver_passes_received(), 0);
  // Identification is not retried either: the program is closing.
  EXPECT_EQ(CountRequests(f.unit(), 0x41), 1);
  EXPECT_EQ(f.Count("message Please connect Quenlet unit"), 1);
}

}  // namespace
}  // namespace quenlet
