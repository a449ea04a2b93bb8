#include "programmer/uploads.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

#include "platform/strprintf.h"
#include "programmer/programmer_loader_link.h"
#include "support/blocking_pipes.h"
#include "tests/programmer/programmer_link_fixture.h"

namespace quenlet {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using testing::LinkFixture;
using testing::Pattern;
using testing::WaitedForAWriter;

std::vector<std::string> DriverPassLines(bool numbered) {
  std::vector<std::string> lines = {"open"};
  for (int pass = 0; pass < 4; ++pass) {
    lines.push_back(strprintf("OUT 43 %04X 0000 0", numbered ? pass : 0));
    lines.push_back("OUT 47 4000 4000 0");
    lines.push_back("bulk-out 16384");
  }
  return lines;
}

// The driver image the unit must receive: the file's first 16 KB, 0xFF after.
std::vector<uint8_t> ExpectedDriver(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> image(16384, 0xFF);
  std::copy_n(file.begin(), std::min(file.size(), image.size()), image.begin());
  return image;
}

TEST(SendDriverFile, SendsTheFileInFourNumberedPassesOf16K) {
  const struct {
    const char* name;
    size_t size;  // 0: no file
  } cases[] = {
      {"longer than 16 KB", 20000}, {"shorter", 100}, {"exactly 16 KB", 16384}, {"missing", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LinkFixture f;
    f.state.ProgrammerIdentified = 1;
    const std::vector<uint8_t> file = Pattern(c.size, 0x11);
    if (c.size > 0) f.dir.Write("Drv/Am29F010.bin", file);

    SendDriverFile(f.link, "drv\\am29f010.BIN");

    EXPECT_THAT(f.unit().log().Lines(), ElementsAreArray(DriverPassLines(true)));
    EXPECT_EQ(f.unit().driver_passes_received(), 4);
    for (int pass = 0; pass < 4; ++pass)
      EXPECT_EQ(f.unit().driver_pass(pass), ExpectedDriver(file));
    EXPECT_THAT(f.events, IsEmpty());
  }
}

TEST(SendDriverFile, IdentifiesFirstThenReconnectsForTheUpload) {
  LinkFixture f;
  SendDriverFile(f.link, "none.bin");
  std::vector<std::string> expected = {"open", "IN 41 0000 0000 22", "close"};
  for (const auto& line : DriverPassLines(true)) expected.push_back(line);
  EXPECT_THAT(f.unit().log().Lines(), ElementsAreArray(expected));
}

TEST(SendDefaultDriverFile, TakesTheFileFromTheProgramDirectoryAndNumbersNoPass) {
  LinkFixture f;
  const std::vector<uint8_t> file = Pattern(5000, 0x5A);
  f.dir.Write("39F0X0.DRV", file);  // found without regard to case
  // The process's current directory holds another file of that name.
  const auto cwd = std::filesystem::current_path();
  testing::TempProgramDir elsewhere;
  elsewhere.Write("39F0x0.drv", Pattern(5000, 0x01));
  std::filesystem::current_path(elsewhere.path());
  const bool sent = SendDefaultDriverFile(f.link);
  std::filesystem::current_path(cwd);

  EXPECT_TRUE(sent);
  EXPECT_THAT(f.unit().log().Lines(), ElementsAreArray(DriverPassLines(false)));
  EXPECT_EQ(f.unit().driver_pass(0), ExpectedDriver(file));
  EXPECT_THAT(f.events, IsEmpty());
}

TEST(DriverUploads, NoUnitShowsPleaseOpenYourUsbWithoutStepFail) {
  LinkFixture f;
  f.state.ProgrammerIdentified = 1;
  f.backend.SetUnitPresent(false);
  SendDriverFile(f.link, "drv.bin");
  EXPECT_FALSE(SendDefaultDriverFile(f.link));
  EXPECT_THAT(f.events,
              ElementsAre("message Please Open your USB", "message Please Open your USB"));
}

TEST(DriverUploads, EachFailingTransferFailsTheUploadWithTheReadStepFailureAndSaysWhere) {
  const std::vector<std::string> failure = {"StepFail",    "hide read_n", "hide read_h",
                                            "hide read_w", "hide read_p", "show read_f",
                                            "hide Pass",   "hide Wait"};
  const char* transfers[] = {"request 0x43", "request 0x47", "its 16 KB of data"};
  // Four passes of three transfers each, in both uploads.
  for (bool device_driver : {true, false}) {
    for (int n = 1; n <= 12; ++n) {
      SCOPED_TRACE(std::to_string(n) + (device_driver ? " device driver" : " default driver"));
      LinkFixture f;
      f.state.ProgrammerIdentified = 1;
      f.unit().FailTransferAt(n, TransferFault::TimeOut);
      const bool sent =
          device_driver ? SendDriverFile(f.link, "drv\\x.bin") : SendDefaultDriverFile(f.link);
      EXPECT_FALSE(sent);
      std::vector<std::string> events = failure;
      events.push_back(strprintf(
          "message Cannot send the driver file \"%s\": pass %d of 4 "
          "failed at %s.",
          device_driver ? "drv\\x.bin" : "39F0x0.drv", (n - 1) / 3 + 1, transfers[(n - 1) % 3]));
      EXPECT_THAT(f.events, ElementsAreArray(events));
      // Nothing after the failing transfer.
      const auto lines = f.unit().log().Lines();
      EXPECT_EQ(lines.size(), static_cast<size_t>(n + 1));
      EXPECT_NE(lines.back().find(" fail"), std::string::npos);
    }
  }
}

TEST(DriverUploads, APipeInTheDriversPlaceIsNoFileAndDoesNotWait) {
  LinkFixture f;
  f.state.ProgrammerIdentified = 1;
  const std::string device_driver = f.dir.path() + "drv.bin";
  const std::string default_driver = f.dir.path() + "39F0x0.drv";
  for (const std::string& pipe : {device_driver, default_driver})
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  bool sent = false;
  EXPECT_FALSE(WaitedForAWriter({device_driver, default_driver}, [&] {
    SendDriverFile(f.link, "drv.bin");
    sent = SendDefaultDriverFile(f.link);
  }));
  // As for a missing file: the passes go out with an image of 0xFF.
  EXPECT_TRUE(sent);
  std::vector<std::string> expected = DriverPassLines(true);
  expected.push_back("close");
  for (const auto& line : DriverPassLines(false)) expected.push_back(line);
  EXPECT_THAT(f.unit().log().Lines(), ElementsAreArray(expected));
  EXPECT_EQ(f.unit().driver_passes_received(), 8);
  EXPECT_EQ(f.unit().driver_pass(0), ExpectedDriver({}));
  EXPECT_THAT(f.events, IsEmpty());
}

TEST(SendDeviceParams, SendsTheBlockAsItStands) {
  LinkFixture f;
  for (size_t i = 0; i < 128; ++i) f.device.Block.bytes[i] = static_cast<uint8_t>(i * 3 + 1);
  EXPECT_TRUE(SendDeviceParams(f.link));
  EXPECT_THAT(f.unit().log().TransferLines(), ElementsAre("OUT 47 0B00 0080 0", "bulk-out 128"));
  EXPECT_EQ(f.unit().parameter_block(), f.device.Block.bytes);

  f.unit().FailTransferNumber(1);
  EXPECT_FALSE(SendDeviceParams(f.link));
  EXPECT_THAT(f.events, ElementsAre("StepFail"));
}

class AlgorithmImageTest : public ::testing::Test {
 protected:
  // Support files as the loader names them: the program directory, "FPGA\"
  // and the IC INI value.
  std::string Stored(const std::string& name) const { return f.state.ProgramDir + "FPGA\\" + name; }
  void Load() {
    LoadDeviceAlgorithm(f.link, Stored("alg.fpg"), Stored("drv.bin"), Stored("scan.drv"),
                        Stored("scan.fpg"));
  }
  LinkFixture f;
};

TEST_F(AlgorithmImageTest, LaysOutTheThreeFilesAndDropsAPinScanDriverOver8K) {
  const std::vector<uint8_t> fpga = Pattern(9000, 0x20);
  const std::vector<uint8_t> pin_fpga = Pattern(100, 0x60);
  f.dir.Write("FPGA/alg.fpg", fpga);
  f.dir.Write("FPGA/scan.fpg", pin_fpga);
  for (size_t drv_size : {size_t{8192}, size_t{8193}}) {
    SCOPED_TRACE(drv_size);
    const std::vector<uint8_t> drv = Pattern(drv_size, 0x40);
    f.dir.Write("FPGA/scan.drv", drv);
    Load();
    const std::vector<uint8_t>& image = f.state.AlgorithmImage;
    ASSERT_EQ(image.size(), 32768u);
    std::vector<uint8_t> expected(32768, 0xFF);
    std::copy_n(fpga.begin(), 8192, expected.begin() + 0x2000);
    if (drv_size <= 8192) std::copy_n(drv.begin(), drv_size, expected.begin() + 0x4000);
    std::copy(pin_fpga.begin(), pin_fpga.end(), expected.begin() + 0x6000);
    EXPECT_EQ(image, expected);
  }
  EXPECT_THAT(f.events, IsEmpty());
}

TEST_F(AlgorithmImageTest, UploadSendsTheImageBehindItsAnnouncement) {
  f.dir.Write("FPGA/alg.fpg", Pattern(8192, 1));
  f.dir.Write("FPGA/scan.drv", Pattern(8192, 2));
  f.dir.Write("FPGA/scan.fpg", Pattern(8192, 3));
  Load();
  EXPECT_TRUE(UploadAlgorithm(f.link));
  EXPECT_THAT(f.unit().log().TransferLines(),
              ElementsAre("OUT 43 0000 000E 0", "OUT 4C 8000 8000 0", "bulk-out 32768"));
  EXPECT_EQ(f.unit().algorithm_image(), f.state.AlgorithmImage);
}

TEST_F(AlgorithmImageTest, AnUnreadableFileLeavesNoImageAndNothingIsUploaded) {
  f.dir.Write("FPGA/alg.fpg", Pattern(8192, 1));
  f.dir.Write("FPGA/scan.fpg", Pattern(8192, 3));  // scan.drv is missing
  Load();
  EXPECT_FALSE(f.state.AlgorithmLoaded());
  ASSERT_EQ(f.Shown().size(), 1u);
  EXPECT_EQ(f.Shown()[0].rfind("error Cannot open file", 0), 0u);

  f.events.clear();
  EXPECT_FALSE(UploadAlgorithm(f.link));
  EXPECT_THAT(f.events, ElementsAre("StepFail",
                                    "message No algorithm image for this device: its "
                                    "support files are missing."));
  EXPECT_THAT(f.unit().log().TransferLines(), IsEmpty());
}

TEST_F(AlgorithmImageTest, APipeInPlaceOfASupportFileIsRefusedWithoutWaiting) {
  for (const char* pipe_name : {"alg.fpg", "scan.drv", "scan.fpg"}) {
    SCOPED_TRACE(pipe_name);
    LinkFixture g;
    for (const char* name : {"alg.fpg", "scan.drv", "scan.fpg"}) {
      if (std::string(name) != pipe_name) g.dir.Write(std::string("FPGA/") + name, Pattern(100, 1));
    }
    const std::string pipe = g.dir.path() + "FPGA/" + pipe_name;
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string stored = g.state.ProgramDir + "FPGA\\";
    EXPECT_FALSE(WaitedForAWriter({pipe}, [&] {
      LoadDeviceAlgorithm(g.link, stored + "alg.fpg", stored + "drv.bin", stored + "scan.drv",
                          stored + "scan.fpg");
    }));
    EXPECT_FALSE(g.state.AlgorithmLoaded());
    EXPECT_THAT(g.Shown(), ElementsAre("error Cannot open file \"" + pipe + "\"."));
  }
}

TEST_F(AlgorithmImageTest, ANewDeviceLoadDiscardsThePreviousDevicesImage) {
  f.dir.Write("FPGA/alg.fpg", Pattern(8192, 1));
  f.dir.Write("FPGA/scan.drv", Pattern(8192, 2));
  f.dir.Write("FPGA/scan.fpg", Pattern(8192, 3));
  Load();
  ASSERT_TRUE(f.state.AlgorithmLoaded());

  // The next device's load starts with its driver; its support files are
  // missing, so the loader builds no image for it.
  f.state.ProgrammerIdentified = 1;
  ProgrammerLoaderLink loader(f.link);
  DeviceLoaderLink& as_loader_sees_it = loader;
  as_loader_sees_it.SendDriverFile(f.state, "next.bin");
  EXPECT_FALSE(f.state.AlgorithmLoaded());
  f.unit().log().Clear();
  EXPECT_FALSE(UploadAlgorithm(f.link));
  EXPECT_THAT(f.unit().log().TransferLines(), IsEmpty());

  as_loader_sees_it.LoadDeviceAlgorithm(f.state, Stored("alg.fpg"), Stored("x"), Stored("scan.drv"),
                                        Stored("scan.fpg"));
  EXPECT_TRUE(f.state.AlgorithmLoaded());
}

TEST(ReopenAndConfigure, SendsParametersAndDefaultDriverOnlyWithAUnit) {
  {
    LinkFixture f;
    ReopenAndConfigure(f.link);
    EXPECT_THAT(f.events, ElementsAre("sram buttons on"));
    std::vector<std::string> expected = {"open", "OUT 47 0B00 0080 0", "bulk-out 128", "close"};
    for (const auto& line : DriverPassLines(false)) expected.push_back(line);
    EXPECT_THAT(f.unit().log().Lines(), ElementsAreArray(expected));
  }
  {
    LinkFixture f;
    f.unit().FailRequestNumber(1);  // the parameter block does not go out
    ReopenAndConfigure(f.link);
    EXPECT_THAT(f.events, ElementsAre("sram buttons on", "StepFail"));
    EXPECT_EQ(f.unit().driver_passes_received(), 0);
  }
  {
    LinkFixture f;
    f.backend.SetUnitPresent(false);
    ReopenAndConfigure(f.link);
    EXPECT_THAT(f.events, ElementsAre("sram buttons off"));
  }
}

}  // namespace
}  // namespace quenlet
