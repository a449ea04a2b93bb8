// Every operation starts from the device file: the IC INI loader refills the
// record, so words an earlier operation left in the parameter block never
// reach the unit, and a file that does not load stops the operation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/device_loader_link.h"
#include "device/ic_ini_loader.h"
#include "ops_fixture.h"
#include "platform/program_paths.h"
#include "programmer/device_program.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;

class QuietLoaderLink : public DeviceLoaderLink {
 public:
  void SendDriverFile(MainFormState&, const std::string&) override { ++drivers; }
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

}  // namespace
}  // namespace quenlet::testing
