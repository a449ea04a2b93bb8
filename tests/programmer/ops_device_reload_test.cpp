// Every operation starts from the device file: the IC INI loader refills the
// record, so words an earlier operation left in the parameter block never
// reach the unit, and a file that does not load stops the operation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "device/device_loader_link.h"
#include "device/ic_ini_loader.h"
#include "ops_fixture.h"
#include "platform/program_paths.h"
#include "platform/strprintf.h"
#include "programmer/device_compare.h"
#include "programmer/device_program.h"
#include "programmer/device_read.h"
#include "programmer/single_shot_ops.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;

class QuietLoaderLink : public DeviceLoaderLink {
 public:
  bool SendDriverFile(MainFormState&, const std::string&) override {
    ++drivers;
    return true;
  }
  void LoadDeviceAlgorithm(MainFormState&, const std::string&, const std::string&,
                           const std::string&, const std::string&) override {}
  int drivers = 0;
};

struct ReloadFixture : OpsFixture {
  ProgramPaths paths{QUENLET_FIXTURES "/ops"};
  QuietLoaderLink loader_link;
  IcIniLoader loader{device, state, paths, loader_link, messages};
  IcIniReload file_reload{loader};
  OperationContext file_ctx{state, device, file_reload, buffer, fuse_map, link,   view,    messages,
                            sound, pump,   progress,    busy,   lock,     record, nullptr, {}};
};

TEST(DeviceReload, OperationStartsFromTheDeviceFile) {
  ReloadFixture f;
  f.device.SelectedIcIniPath = "INI\\byte8k.ini";
  // Words an earlier operation left behind.
  f.device.Block.SetPage(0x8000, 7, 0x1234);
  f.device.Block.SetWord(DeviceParameterBlock::kMaxAddressLow, 0xFFFF);
  f.FillSource(0x21);
  ASSERT_TRUE(program_1Click(f.file_ctx, 0)) << ::testing::PrintToString(f.events);
  EXPECT_EQ(f.loader_link.drivers, 1);
  ASSERT_GE(f.wire.lines.size(), 2u);
  EXPECT_EQ(f.wire.lines[1], "P 0000 0000 1FFF");
  EXPECT_THAT(f.wire.voltages, ElementsAre(std::array<unsigned, 3>{60, 120, 62}));
  const std::vector<uint8_t> b = f.Buffer();
  EXPECT_EQ(f.Chip(), std::vector<uint8_t>(b.begin(), b.begin() + 8192));
}

TEST(DeviceReload, FileThatDoesNotLoadStopsTheOperation) {
  ReloadFixture f;
  f.device.SelectedIcIniPath = "INI\\bad_size.ini";
  EXPECT_FALSE(program_1Click(f.file_ctx, 0));
  EXPECT_TRUE(f.wire.lines.empty());
  EXPECT_EQ(f.view.Top(Step::Program), Layer::f);
  EXPECT_EQ(f.FailSounds(), 1);
}

// A device without a device file, or with one that holds no device section,
// holds only defaults: an all-zero block must never reach the unit, nor any
// operation pass on it. Every operation says what is wrong with the file and
// fails; the hidden program test, which does not reload, goes by the last
// load.
TEST(DeviceReload, NoDeviceFileIsRefusedByEveryOperation) {
  struct Case {
    const char* name;
    std::function<bool(OperationContext&)> run;
    Step step;
  };
  const Case cases[] = {
      {"erase", [](OperationContext& c) { return erase_1Click(c, 0); }, Step::Erase},
      {"blank check", [](OperationContext& c) { return check_1Click(c, 0); }, Step::Blank},
      {"protect", [](OperationContext& c) { return protect_1Click(c, 0); }, Step::Protect},
      {"program", [](OperationContext& c) { return program_1Click(c, 1); }, Step::Program},
      {"program second area", [](OperationContext& c) { return ProgramSecondArea(c); },
       Step::Program},
      {"verify", [](OperationContext& c) { return verify_1Click(c, 1); }, Step::Verify},
      {"verify second area", [](OperationContext& c) { return VerifySecondArea(c); }, Step::Verify},
      {"read", [](OperationContext& c) { return readClick(c); }, Step::Read},
      {"confirm", [](OperationContext& c) { return ConfirmDevice(c, 1); }, Step::Confirm},
      {"confirm step", [](OperationContext& c) { return confirm_nClick(c); }, Step::Confirm},
      {"confirm second area", [](OperationContext& c) { return ConfirmSecondArea(c); },
       Step::Confirm},
      {"hidden program test", [](OperationContext& c) { return progClick(c); }, Step::Program},
  };
  const struct {
    const char* file;
    const char* said;
  } files[] = {
      {"None", "Cannot open file \"%s\"."},
      {"no_section.ini", "The device file \"%s\" holds no device section [VK_KZExternValue]."},
  };
  for (const auto& file : files) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " with " + file.file);
      ReloadFixture f;
      f.state.ProgramDir = f.paths.root();
      f.device.SelectedIcIniPath = f.paths.root() + "INI\\" + file.file;
      ASSERT_EQ(f.loader.LoadIcParameters().status, IcLoadStatus::NoDeviceFile);  // as at start-up
      f.ClearRecords();
      EXPECT_FALSE(c.run(f.file_ctx));
      EXPECT_TRUE(f.wire.lines.empty());
      const std::string shown = f.paths.root() + "INI/" + file.file;
      EXPECT_THAT(f.Messages(), ElementsAre(strprintf(file.said, shown.c_str())));
      EXPECT_EQ(f.view.Top(c.step), Layer::f);
      EXPECT_FALSE(f.view.Visible(Indicator::Pass));
      EXPECT_EQ(f.FailSounds(), 1);
    }
  }
}

}  // namespace
}  // namespace quenlet::testing
