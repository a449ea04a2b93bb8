#include "programmer/transport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "programmer/backend_choice.h"
#include "programmer/protocol.h"
#include "programmer/simulated_backend.h"

namespace quenlet {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr SimulatedBusDevice kUnit{kProgrammerProductId, true};
constexpr SimulatedBusDevice Foreign(uint16_t product_id) {
  return {product_id, false};
}

TEST(TransportSearch, TriesEveryDeviceAndKeepsTheFirstMatchOpen) {
  const struct {
    const char* name;
    std::vector<SimulatedBusDevice> bus;
    bool found;
    std::vector<std::string> probes;
  } cases[] = {
      {"unit alone", {kUnit}, true, {"descriptor 0", "open 0"}},
      {"other devices before the unit",
       {Foreign(0x1234), Foreign(0x5678), kUnit},
       true,
       {"descriptor 0", "descriptor 1", "descriptor 2", "open 2"}},
      {"a matching device that cannot be opened is skipped",
       {SimulatedBusDevice{kProgrammerProductId, false, false}, kUnit},
       true,
       {"descriptor 0", "open 0", "descriptor 1", "open 1"}},
      {"no unit", {Foreign(0x1234), Foreign(0x0A3C)}, false, {"descriptor 0", "descriptor 1"}},
      {"nothing attached", {}, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedBackend backend;
    backend.SetBus(c.bus);
    Transport transport(backend);
    EXPECT_EQ(transport.OpenProgrammer(kProgrammerProductId), c.found);
    EXPECT_EQ(transport.IsOpen(), c.found);
    EXPECT_THAT(backend.bus_log(), ElementsAreArray(c.probes));
  }
}

TEST(TransportSearch, HasNoLimitOnTheNumberOfDevices) {
  // The unit behind twenty other devices is still found.
  std::vector<SimulatedBusDevice> bus(20, Foreign(0x1111));
  bus.push_back(kUnit);
  SimulatedBackend backend;
  backend.SetBus(bus);
  Transport transport(backend);
  ASSERT_TRUE(transport.OpenProgrammer(kProgrammerProductId));
  EXPECT_EQ(backend.bus_log().back(), "open 20");
}

TEST(TransportSearch, OpenWhileOpenTrustsTheHandleAndCloseReportsWhetherOpen) {
  SimulatedBackend backend;
  Transport transport(backend);
  ASSERT_TRUE(transport.OpenProgrammer(kProgrammerProductId));
  backend.ClearBusLog();
  EXPECT_TRUE(transport.OpenProgrammer(kProgrammerProductId));
  EXPECT_TRUE(backend.bus_log().empty());

  EXPECT_TRUE(transport.CloseProgrammer());
  EXPECT_FALSE(transport.CloseProgrammer());
  EXPECT_FALSE(transport.IsOpen());
  EXPECT_THAT(backend.unit().log().Lines(), ElementsAre("open", "close"));
}

TEST(TransportTransfers, AClosedHandleSearchesOnceBeforeTheTransfer) {
  // With a unit: the transfer reopens it and goes through.
  SimulatedBackend backend;
  Transport transport(backend);
  ProgrammerStatus status;
  EXPECT_TRUE(ReadProgrammerStatus(transport, status));
  EXPECT_TRUE(transport.IsOpen());

  // Without one: one search, then the transfer fails.
  SimulatedBackend empty;
  empty.SetBus({Foreign(0x1234), Foreign(0x4321)});
  Transport none(empty);
  uint8_t byte = 0;
  EXPECT_FALSE(none.UsbDataRead(1, &byte));
  EXPECT_THAT(empty.bus_log(), ElementsAre("descriptor 0", "descriptor 1"));
  EXPECT_FALSE(none.IsOpen());
}

TEST(TransportTransfers, VendorRequestsCarryTheirSetupFieldsExactly) {
  SimulatedBackend backend;
  Transport transport(backend);
  uint8_t reply[22] = {};
  ASSERT_TRUE(transport.UsbVendorCmdRead(0x41, 0, 0, 22, reply));
  ASSERT_TRUE(transport.UsbVendorCmdWrite(0x49, 0x4000, 0x0200, 0, nullptr));
  const auto& entries = backend.unit().log().entries();
  ASSERT_EQ(entries.size(), 3u);  // open, IN, OUT
  EXPECT_EQ(entries[1].request_type, 0xC0);
  EXPECT_EQ(entries[1].request, 0x41);
  EXPECT_EQ(entries[1].length, 22);
  EXPECT_EQ(entries[2].request_type, 0x40);
  EXPECT_EQ(entries[2].request, 0x49);
  EXPECT_EQ(entries[2].value, 0x4000);
  EXPECT_EQ(entries[2].index, 0x0200);
  EXPECT_EQ(entries[2].length, 0);
}

TEST(TransportTransfers, AShortBulkTransferFails) {
  SimulatedBackend backend;
  Transport transport(backend);
  std::vector<uint8_t> block(512);
  ASSERT_TRUE(transport.UsbVendorCmdWrite(0x46, 0x0800, 0x0200, 0, nullptr));
  backend.unit().ShortenNextBulkRead(500);
  EXPECT_FALSE(transport.UsbDataRead(512, block.data()));
  EXPECT_EQ(backend.unit().log().Lines().back(), "bulk-in 500/512");

  // The same block read whole succeeds.
  ASSERT_TRUE(transport.UsbVendorCmdWrite(0x46, 0x0800, 0x0200, 0, nullptr));
  EXPECT_TRUE(transport.UsbDataRead(512, block.data()));
}

TEST(TransportTransfers, AnUnpluggedUnitFailsEveryTransferAndIsNotFoundAgain) {
  SimulatedBackend backend;
  Transport transport(backend);
  ASSERT_TRUE(transport.OpenProgrammer(kProgrammerProductId));
  backend.SetUnitPresent(false);
  uint8_t data[16] = {};
  EXPECT_FALSE(transport.UsbVendorCmdRead(0x42, 0, 0, 16, data));
  EXPECT_FALSE(transport.UsbVendorCmdWrite(0x47, 0x0B00, 0x0080, 0, nullptr));
  EXPECT_FALSE(transport.UsbDataWrite(16, data));
  EXPECT_FALSE(transport.UsbDataRead(16, data));

  transport.CloseProgrammer();
  EXPECT_FALSE(transport.OpenProgrammer(kProgrammerProductId));
  backend.SetUnitPresent(true);
  EXPECT_TRUE(transport.OpenProgrammer(kProgrammerProductId));
}

TEST(TransportTransfers, RefusesADataStageWithoutABuffer) {
  SimulatedBackend backend;
  Transport transport(backend);
  EXPECT_FALSE(transport.UsbVendorCmdRead(0x41, 0, 0, 22, nullptr));
  EXPECT_FALSE(transport.UsbVendorCmdWrite(0x48, 0, 0, 4, nullptr));
  EXPECT_FALSE(transport.UsbDataWrite(128, nullptr));
}

TEST(BackendChoice, OnlyTheExactWordSimSelectsTheSimulatedUnit) {
  const struct {
    const char* value;
    bool simulated;
  } cases[] = {{"sim", true}, {nullptr, false}, {"", false}, {"SIM", false}, {"usb", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value ? c.value : "(unset)");
    BackendChoice choice = ChooseUsbBackend(c.value);
    ASSERT_NE(choice.backend, nullptr);
    EXPECT_EQ(choice.simulated != nullptr, c.simulated);
    if (choice.simulated) {
      EXPECT_EQ(choice.simulated, choice.backend.get());
    }
  }
}

}  // namespace
}  // namespace quenlet
