// One operation at a time: an operation started while another runs (from
// inside its message pump), or while its step handler holds the step's busy
// flag, does nothing and reports failure.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "ops_fixture.h"
#include "programmer/buffer_upload.h"
#include "programmer/device_compare.h"
#include "programmer/device_program.h"
#include "programmer/device_read.h"
#include "programmer/single_shot_ops.h"

namespace quenlet::testing {
namespace {

using Core = std::function<bool(OperationContext&)>;

struct Named {
  const char* name;
  Core run;
};

const Named kCores[] = {
    {"erase", [](OperationContext& c) { return erase_1Click(c, 0); }},
    {"blank check", [](OperationContext& c) { return check_1Click(c, 0); }},
    {"protect", [](OperationContext& c) { return protect_1Click(c, 0); }},
    {"program", [](OperationContext& c) { return program_1Click(c, 0); }},
    {"verify", [](OperationContext& c) { return verify_1Click(c, 0); }},
    {"confirm", [](OperationContext& c) { return ConfirmDevice(c, 0); }},
    {"confirm step", [](OperationContext& c) { return confirm_nClick(c); }},
    {"read", [](OperationContext& c) { return readClick(c); }},
    {"upload", [](OperationContext& c) { return UploadBufferToProgrammer(c); }},
    {"checksum button", [](OperationContext& c) { return v_HintClick(c); }},
    {"program test", [](OperationContext& c) { return progClick(c); }},
    {"program second area", [](OperationContext& c) { return ProgramSecondArea(c); }},
    {"verify second area", [](OperationContext& c) { return VerifySecondArea(c); }},
    {"confirm second area", [](OperationContext& c) { return ConfirmSecondArea(c); }},
};

DeviceShape Device() {
  return DeviceShape{.max_address = 0xFFFF, .ext_address = 0xFF};
}

TEST(OperationGuard, SecondOperationFromInsideTheFirstsPumpDoesNothing) {
  for (const char* first_name : {"program", "erase", "verify", "confirm step"}) {
    const Named* first = nullptr;
    for (const Named& n : kCores) {
      if (std::string(n.name) == first_name) first = &n;
    }
    for (const Named& second : kCores) {
      SCOPED_TRACE(std::string(first_name) + " then " + second.name);
      OpsFixture f;
      f.Select(Device());
      f.FillSource(0x19);
      f.FillChip(0x19);
      // The first operation alone, for its wire.
      std::vector<std::string> alone;
      {
        OpsFixture g;
        g.Select(Device());
        g.FillSource(0x19);
        g.FillChip(0x19);
        first->run(g.ctx);
        alone = g.wire.lines;
      }
      bool nested = true;
      size_t wire_before = 0;
      int view_changes = 0;
      bool inside = false;
      f.view.SetChangeHandler([&] { view_changes += inside; });
      f.pump.on_pump = [&](int) {
        if (inside) return;
        inside = true;
        wire_before = f.wire.lines.size();
        const size_t events_before = f.events.size();
        nested = second.run(f.ctx);
        EXPECT_EQ(f.wire.lines.size(), wire_before) << "the second operation sent something";
        EXPECT_EQ(f.events.size(), events_before);
        inside = false;
      };
      first->run(f.ctx);
      EXPECT_FALSE(nested);
      EXPECT_EQ(view_changes, 0);
      EXPECT_EQ(f.wire.lines, alone);
    }
  }
}

TEST(OperationGuard, LockIsFreeAgainAfterEveryOperation) {
  for (const Named& core : kCores) {
    SCOPED_TRACE(core.name);
    OpsFixture f;
    f.Select(Device());
    core.run(f.ctx);
    EXPECT_FALSE(f.lock.Busy());
  }
}

TEST(StepBusyFlags, OperationOfABusyStepDoesNothing) {
  struct Case {
    const char* core;
    BusyStep flag;
  };
  const Case cases[] = {
      {"erase", BusyStep::Erase},
      {"blank check", BusyStep::Blank},
      {"protect", BusyStep::Protect},
      {"program", BusyStep::Program},
      {"verify", BusyStep::Verify},
      {"confirm", BusyStep::Confirm},
      {"confirm step", BusyStep::Confirm},
      {"read", BusyStep::Read},
      {"upload", BusyStep::Program},
      {"program test", BusyStep::Program},
      {"program second area", BusyStep::Program},
      {"confirm second area", BusyStep::Confirm},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.core);
    OpsFixture f;
    f.Select(Device());
    f.busy.Set(c.flag);
    int view_changes = 0;
    f.view.SetChangeHandler([&] { ++view_changes; });
    for (const Named& n : kCores) {
      if (std::string(n.name) == c.core) {
        EXPECT_FALSE(n.run(f.ctx));
      }
    }
    EXPECT_TRUE(f.wire.lines.empty());
    EXPECT_TRUE(f.events.empty());
    EXPECT_EQ(view_changes, 0);
    EXPECT_FALSE(f.view.Visible(Indicator::Pass));
    EXPECT_EQ(f.reload.reloads, 0);
  }
}

TEST(StepBusyFlags, OtherStepsStillRun) {
  OpsFixture f;
  f.Select(Device());
  f.busy.Set(BusyStep::Erase);
  EXPECT_TRUE(check_1Click(f.ctx, 0));
  f.busy.Clear(BusyStep::Erase);
  EXPECT_TRUE(erase_1Click(f.ctx, 0));
}

}  // namespace
}  // namespace quenlet::testing
