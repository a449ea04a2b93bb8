#include "device/ic_ini_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "device/device_loader_link.h"
#include "platform/program_paths.h"
#include "state/buffer_limits.h"
#include "state/main_form_state.h"
#include "support/fakes.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using B = DeviceParameterBlock;

// Records the two programmer calls in order; can answer as another model.
class RecordingLink : public DeviceLoaderLink {
 public:
  bool SendDriverFile(MainFormState& state, const std::string& name) override {
    calls.push_back("SendDriverFile " + name);
    if (wrong_model) state.WrongProgrammer = 1;
    return !wrong_model;
  }
  void LoadDeviceAlgorithm(MainFormState&, const std::string& fpga, const std::string& wav,
                           const std::string& drv, const std::string& scan) override {
    calls.push_back("LoadDeviceAlgorithm " + fpga + "|" + wav + "|" + drv + "|" + scan);
  }
  bool wrong_model = false;
  std::vector<std::string> calls;
};

// A program directory on disk. The folders and files are named in another
// case than the stored paths use, so every read goes through the resolver.
class IcIniLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quenlet-icini-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    fs::create_directories(root_ / "Ini");
    fs::create_directories(root_ / "fpga" / "Drv");
    state_.ProgramDir = root_.string() + "/";
    paths_.emplace(state_.ProgramDir);
    loader_.emplace(device_, state_, *paths_, link_, messages_);
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string Dir() const { return state_.ProgramDir; }
  void Support(const std::string& name) { std::ofstream(root_ / "fpga" / name) << "image"; }
  void SupportFilesOfFullDevice() {
    for (const char* f : {"AC27.BIT", "Ac27.Drv", "SCAN.DRV", "Scan.Bit"}) Support(f);
  }
  // Copies a fixture into the INI folder; the device is chosen by its stored
  // path in Windows case.
  void Install(const std::string& fixture, const std::string& on_disk) {
    fs::copy_file(fs::path(QUENLET_FIXTURES) / "ic_ini" / fixture, root_ / "Ini" / on_disk,
                  fs::copy_options::overwrite_existing);
  }
  void Write(const std::string& on_disk, const std::string& keys) {
    std::ofstream(root_ / "Ini" / on_disk) << "[VK_KZExternValue]\r\n" << keys;
  }
  IcLoadOutcome Choose(const std::string& stored_name, int32_t operation = 0) {
    device_.SelectedIcIniPath = Dir() + "INI\\" + stored_name;
    return loader_->LoadIcParameters(operation, 0, 0);
  }
  IcLoadOutcome LoadText(const std::string& keys, int32_t operation = 0) {
    Write("t.ini", keys);
    return Choose("T.INI", operation);
  }

  fs::path root_;
  SelectedDevice device_;
  MainFormState state_;
  std::optional<ProgramPaths> paths_;
  RecordingLink link_;
  testing::FakeMessages messages_;
  std::optional<IcIniLoader> loader_;
};

struct Word {
  size_t offset;
  uint16_t value;
};

// The whole block: the words and pin bytes (44 to 47) given, every other
// byte 0. Offsets are written as numbers, so a wrong offset constant in the
// loader cannot agree with itself here.
std::array<uint8_t, 128> BlockOf(const std::vector<Word>& words, std::array<uint8_t, 4> pins = {}) {
  std::array<uint8_t, 128> bytes{};
  for (const Word& w : words) {
    bytes.at(w.offset) = static_cast<uint8_t>(w.value & 0xFF);
    bytes.at(w.offset + 1) = static_cast<uint8_t>(w.value >> 8);
  }
  for (size_t i = 0; i < 4; ++i) bytes[44 + i] = pins[i];
  return bytes;
}

std::array<uint8_t, 48> PinsUsed(size_t first, size_t last) {
  std::array<uint8_t, 48> map{};
  for (size_t i = first; i <= last; ++i) map[i] = 1;
  return map;
}

TEST_F(IcIniLoaderTest, FullDeviceFillsEveryFieldOfBlockRecordAndRunState) {
  Install("full_device.ini", "Ac27C1024.Ini");
  SupportFilesOfFullDevice();
  device_.SelectedIcIniPath = Dir() + "INI\\AC27C1024.INI";
  const IcLoadOutcome out = loader_->LoadIcParameters(0, 3, 0x8000);

  ASSERT_EQ(out.status, IcLoadStatus::Loaded) << out.message;
  EXPECT_THAT(messages_.errors, IsEmpty());
  EXPECT_EQ(device_.IcIniPath, device_.SelectedIcIniPath);
  EXPECT_EQ(
      device_.Block.bytes,
      BlockOf({{16, 0x8000}, {18, 3},      {22, 1},       {24, 0xFFFF}, {28, 0xFF},   {30, 0x100},
               {32, 51},     {34, 52},     {36, 53},      {38, 0x201},  {40, 0x202},  {42, 0x203},
               {48, 0x301},  {50, 0x302},  {52, 0x303},   {54, 0x304},  {56, 0x305},  {58, 0x306},
               {60, 0x307},  {62, 0x308},  {64, 100},     {66, 101},    {68, 102},    {70, 103},
               {72, 25},     {74, 26},     {76, 27},      {78, 28},     {82, 10},     {84, 11},
               {86, 12},     {88, 0x5555}, {90, 500},     {92, 0x0A0B}, {94, 0x0C0D}, {96, 0x309},
               {98, 4464},  // page_size 70000, low 16 bits
               {100, 0x12},  {102, 1},     {104, 0x2000}, {112, 0x101}, {114, 0x102}, {116, 0x103}},
              {24, 0, 44, 255}));

  EXPECT_EQ(device_.BRAND, "Acme");
  EXPECT_EQ(device_.Name, "AC27C1024");
  EXPECT_EQ(device_.Type, "EPROM");
  EXPECT_EQ(device_.IniVersion, 3);
  EXPECT_EQ(device_.UserEdit, "MainEdit");
  EXPECT_EQ(device_.start_address_Hi, "0x0001");
  EXPECT_EQ(device_.StartAddress, 0x12000u);
  EXPECT_EQ(device_.Data_DoNotCare, "0xFFFF");
  EXPECT_EQ(device_.Data_Width, "0xFFFF");
  EXPECT_EQ(device_.IcBufferSize, 0x401FEu);  // word-wide, N = 0x200FF over both areas
  EXPECT_EQ(device_.IcDeviceSize, 0x401FEu);
  EXPECT_EQ(device_.Intact, 1);
  EXPECT_EQ(device_.Option_Fuse_Type, 2);
  EXPECT_THAT(device_.OperationVoltages,
              ElementsAre(50, 120, 121, 51, 52, 53, 54, 125, 126, 60, 127, 128, 61, 129, 130));
  EXPECT_EQ(device_.program_pulse, 100);
  EXPECT_EQ(device_.erase_pulse, 101);
  EXPECT_EQ(device_.program_times, 25);
  EXPECT_EQ(device_.program_retry, 9);
  EXPECT_EQ(device_.OptionPageIni, "Ac27Opt.ini");
  EXPECT_EQ(device_.IC_Information1, "Erase with UV light");
  EXPECT_THAT(device_.IcInformationLines, ElementsAre("IC Information : ", "Window must be clean",
                                                      "None", "Not shown", "None"));
  EXPECT_EQ(device_.IcInformationText,
            "IC Information : \nErase with UV light\nWindow must be clean\n");
  EXPECT_EQ(device_.PinMap, PinsUsed(4, 43));  // a 40-pin package on socket pins 5 to 44
  EXPECT_EQ(device_.MissingFileCount, 0);

  EXPECT_THAT(state_.ExpectedIdCodes, ElementsAre(0x1F, 0x8C, 0, 0x7E));
  EXPECT_EQ(state_.PackagePins, 40);
  EXPECT_EQ(state_.VccPinRaw, 255u);
  EXPECT_EQ(state_.FuseMode, 0);
  EXPECT_EQ(state_.FuseCount, 0x1FFFFu);

  // Stored forms go to the link; it resolves them itself.
  const std::string f = Dir() + "FPGA\\";
  EXPECT_THAT(device_.SupportFilePaths,
              ElementsAre(f + "ac27.bit", f + "ac27.drv", f + "scan.drv", f + "scan.bit"));
  EXPECT_THAT(link_.calls, ElementsAre("SendDriverFile ac27.drv",
                                       "LoadDeviceAlgorithm " + f + "ac27.bit|" + f + "ac27.drv|" +
                                           f + "scan.drv|" + f + "scan.bit"));
}

// Small fixtures and their whole block with the fields derived from them.
TEST_F(IcIniLoaderTest, FixtureTable) {
  struct Case {
    const char* fixture;
    std::vector<Word> words;
    std::array<uint8_t, 4> pins;
    uint32_t buffer_size, device_size;
    uint8_t fuse_mode;
    uint32_t fuse_rows, fuse_columns, fuse_count;
    uint16_t fuse_type;
    int32_t intact;
  } cases[] = {
      {"minimal_byte.ini",
       {{20, 8192}, {24, 8191}},
       {0, 0, 0, 0},
       0x10000,
       8192,
       0,
       0,
       0,
       8191,
       0,
       0},
      {"gal22v10.ini",
       {{20, 5893}, {24, 5892}, {32, 50}, {B::kOptionFuseType, 3}},
       {24, 0, 36, 0},  // 24-pin package: offset 12
       0x10000,
       5893,
       1,
       132,
       44,
       5892,
       3,
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture);
    Install(c.fixture, "Dev.ini");
    const IcLoadOutcome out = Choose("DEV.INI");
    EXPECT_EQ(out.status, IcLoadStatus::MissingSupportFile);  // no support files named
    EXPECT_EQ(device_.Block.bytes, BlockOf(c.words, c.pins));
    EXPECT_EQ(device_.IcBufferSize, c.buffer_size);
    EXPECT_EQ(device_.IcDeviceSize, c.device_size);
    EXPECT_EQ(device_.StartAddress, 0u);
    EXPECT_EQ(state_.FuseMode, c.fuse_mode);
    EXPECT_EQ(state_.FuseRows, c.fuse_rows);
    EXPECT_EQ(state_.FuseColumns, c.fuse_columns);
    EXPECT_EQ(state_.FuseCount, c.fuse_count);
    EXPECT_EQ(device_.Option_Fuse_Type, c.fuse_type);
    EXPECT_EQ(device_.Intact, c.intact);
    EXPECT_EQ(device_.OptionPageIni, "0");
    EXPECT_EQ(device_.IcInformationText, "IC Information : \n");
    EXPECT_EQ(device_.PinMap, (std::array<uint8_t, 48>{}));
    EXPECT_THAT(state_.ExpectedIdCodes, ElementsAre(0, 0, 0, 0));
  }
}

TEST_F(IcIniLoaderTest, PackagePinsAreMovedToTheSocketEndByPins24And25) {
  struct Case {
    const char* keys;
    std::array<uint8_t, 4> pins;  // block bytes 44 to 47
    uint32_t vcc_raw;
  } cases[] = {
      {"PIN=28\r\nGnd_pin1=14\r\nVcc_pin1=28\r\n", {24, 0, 38, 0}, 0},
      {"PIN=40\r\nGnd_pin1=20\r\nGnd_pin2=10\r\nVcc_pin1=40\r\nVcc_pin2=21\r\n",
       {24, 14, 44, 25},
       21},
      {"PIN=48\r\nGnd_pin1=24\r\nGnd_pin2=1\r\nVcc_pin1=48\r\nVcc_pin2=12\r\n",
       {24, 1, 48, 12},
       12},
      {"Gnd_pin1=1\r\nVcc_pin1=24\r\n", {25, 0, 48, 0}, 0},  // PIN absent: offset 24
      // The relaxed-check marker stays 255 whatever the package; it is no pin.
      {"PIN=40\r\nGnd_pin1=20\r\nVcc_pin1=40\r\nVcc_pin2=255\r\n", {24, 0, 44, 255}, 255},
      {"PIN=8\r\nGnd_pin1=4\r\nVcc_pin1=8\r\nVcc_pin2=0xFF\r\n", {24, 0, 28, 255}, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    ASSERT_TRUE(LoadText(c.keys).loaded());
    EXPECT_THAT(
        std::vector<uint8_t>(device_.Block.bytes.begin() + 44, device_.Block.bytes.begin() + 48),
        ElementsAre(c.pins[0], c.pins[1], c.pins[2], c.pins[3]));
    EXPECT_EQ(state_.VccPinRaw, c.vcc_raw);
  }
}

TEST_F(IcIniLoaderTest, IdBytesThroughTheLoader) {
  ASSERT_TRUE(LoadText("ManCode=C2\r\nDevCode=0xc2\r\nExtIDCode1=NONE\r\n").loaded());
  EXPECT_THAT(state_.ExpectedIdCodes, ElementsAre(0xC2, 0xC2, 0, 0));
}

TEST(IcIniValues, IdCodeByteForms) {
  const std::pair<const char*, int> cases[] = {
      {"NONE", 0},      {"None", 0},    {"none", 0}, {"C2", 0xC2}, {"0xC2", 0xC2}, {"0xc2", 0xC2},
      {"1F", 0x1F},     {"ZZ1F", 0x1F},  // first two of four not looked at
      {"0x1F99", 0x1F},                  // only four characters count
      {"", 0},          {"F", 0},       {"0x1", 0},  {"0xG1", 0},  {"G1", 0},      {"1 ", 0},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(IdCodeByte(text), value) << '"' << text << '"';
}

TEST(IcIniValues, HexDigitValue) {
  EXPECT_EQ(HexDigitValue('0'), 0);
  EXPECT_EQ(HexDigitValue('9'), 9);
  EXPECT_EQ(HexDigitValue('A'), 10);
  EXPECT_EQ(HexDigitValue('f'), 15);
  for (char c : {'G', 'g', 'x', ' ', '\0', '/', ':', '@', '`'})
    EXPECT_EQ(HexDigitValue(c), -1) << c;
}

TEST_F(IcIniLoaderTest, OptionFuseTypeIsReadTwice) {
  struct Case {
    const char* value;
    uint16_t block, record;
  } cases[] = {
      {"01", 1, 1},
      {"0x01", 1, 1},
      {"11", 11, 1},
      {"0x11", 0x11, 1},
      {"0x13", 0x13, 3},
      {"02", 2, 2},
      {"0x3", 3, 0},
      // Only a lower-case x moves the counted digit: here it is the 'X'.
      {"0X13", 0x13, 0},
      {"0X01", 1, 0},
      {"0", 0, 0},
      {"1", 1, 0},  // one character: no counted digit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    ASSERT_TRUE(LoadText(std::string("Option_Fuse_Type=") + c.value + "\r\n").loaded());
    EXPECT_EQ(device_.Block.Word(B::kOptionFuseType), c.block);
    EXPECT_EQ(device_.Option_Fuse_Type, c.record);
  }
  ASSERT_TRUE(LoadText("").loaded());  // absent: "0"
  EXPECT_EQ(device_.Option_Fuse_Type, 0);
}

TEST_F(IcIniLoaderTest, SizeTableRows) {
  struct Case {
    const char* keys;
    uint16_t block_length;
    uint32_t buffer_size, device_size;
  } cases[] = {
      {"Data_Width=0xFFFF\r\nmax_address_Low=65534\r\n", 65535, 0x20000, 131070},
      {"Data_Width=0xffff\r\nmax_address_Low=65535\r\n", 0, 0x20000, 0x20000},
      {"Data_Width=0x00FF\r\nmax_address_Low=65534\r\n", 65535, 0x10000, 65535},
      {"Data_Width=0x00ff\r\nmax_address_Hi=3\r\nmax_address_Low=0xFFFF\r\n", 0, 0x40000, 0x40000},
      {"Data_Width=0x00FF\r\nmax_address_Low=1023\r\next_address_Low=255\r\n", 1279, 0x10000, 1279},
      {"Data_Width=0xFFFF\r\nmax_address_Hi=1\r\next_address_Hi=1\r\next_address_Low=0xFFFF\r\n", 0,
       0x60000, 0x60000},
      // At the largest buffer: 512 MiB of bytes.
      {"Data_Width=0x00FF\r\nmax_address_Hi=0x1FFF\r\nmax_address_Low=0xFFFF\r\n", 0,
       static_cast<uint32_t>(kMaxBufferSize), static_cast<uint32_t>(kMaxBufferSize)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    ASSERT_TRUE(LoadText(c.keys).loaded());
    EXPECT_EQ(device_.Block.Word(B::kBlockLength), c.block_length);
    EXPECT_EQ(device_.IcBufferSize, c.buffer_size);
    EXPECT_EQ(device_.IcDeviceSize, c.device_size);
  }
}

TEST_F(IcIniLoaderTest, WidthNamingNeitherKeepsThePreviousSizes) {
  ASSERT_TRUE(LoadText("Data_Width=0xFFFF\r\nmax_address_Low=8191\r\n").loaded());
  for (const char* keys :
       {"max_address_Low=99\r\n", "Data_Width=0XFFFF\r\nmax_address_Low=99\r\n",
        "Data_Width=FFFF\r\nmax_address_Hi=0xFFFF\r\nmax_address_Low=0xFFFF\r\n"}) {
    SCOPED_TRACE(keys);
    ASSERT_TRUE(LoadText(keys).loaded());
    EXPECT_EQ(device_.IcBufferSize, 0x20000u);
    EXPECT_EQ(device_.IcDeviceSize, 16384u);
  }
  EXPECT_EQ(device_.Block.Word(B::kBlockLength), 0);  // N still counted for the block
}

TEST_F(IcIniLoaderTest, InformationNoteEndsAtTheFirstNone) {
  struct Case {
    const char* keys;
    const char* text;
  } cases[] = {
      {"IC_Information1=Alpha\r\nIC_Information3=Gamma\r\n", "IC Information : \nAlpha\n"},
      {"IC_Information2=Beta\r\n", "IC Information : \n"},
      {"IC_Information1=A\r\nIC_Information2=B\r\nIC_Information3=C\r\nIC_Information4=D\r\n",
       "IC Information : \nA\nB\nC\nD\n"},
      {"IC_Information1=A\r\nIC_Information2=B\r\nIC_Information3=C\r\nIC_Information4=D\r\n"
       "IC_Information5=E\r\n",
       "IC Information : \nA\nB\nC\nD\nE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    ASSERT_TRUE(LoadText(c.keys).loaded());
    EXPECT_EQ(device_.IcInformationText, c.text);
  }
}

TEST(IcIniValues, PinDefinitionDigits) {
  std::array<uint8_t, 48> only_last{};
  only_last[47] = 1;
  std::array<uint8_t, 48> only_first{};
  only_first[0] = 1;
  const std::array<uint8_t, 48> none{};
  const std::pair<const char*, std::array<uint8_t, 48>> cases[] = {
      {"FFFFFFFFFFFFc0", PinsUsed(0, 47)},
      {"FFFFFFFFFFFFFF", PinsUsed(0, 47)},  // bits 55, 54 and 5 to 0 are dropped
      {"00000000000040", only_last},
      {"0000000000003F", none},
      {"20000000000000", only_first},
      {"C0000000000000", none},
      {"03FFFFFFFFFC00", PinsUsed(4, 43)},
      // Malformed: no pin is used.
      {"FFFFFFFFFFFFFG", none},
      {"FFFFFFFFFFFFF", none},
      {"", none},
  };
  for (const auto& [digits, map] : cases) EXPECT_EQ(DecodePinDefinition(digits), map) << digits;
}

TEST_F(IcIniLoaderTest, AllPinDefTakesCharacters5To18) {
  const std::pair<const char*, std::array<uint8_t, 48>> cases[] = {
      {"AllPinDef=0x00FFFFFFFFFFFFc0\r\n", PinsUsed(0, 47)},
      {"AllPinDef=PINS03FFFFFFFFFC00FFFF\r\n", PinsUsed(4, 43)},  // the rest is not looked at
      {"AllPinDef=PINS03FFFFFFFFFC0\r\n", {}},                    // 17 characters
      {"AllPinDef=None\r\n", {}},
      {"", {}},
  };
  for (const auto& [keys, map] : cases) {
    SCOPED_TRACE(keys);
    ASSERT_TRUE(LoadText(keys).loaded());
    EXPECT_EQ(device_.PinMap, map);
  }
}

TEST_F(IcIniLoaderTest, OperationArgumentPicksCurrentVoltages) {
  Write("v.ini",
        "id_vcc=1\r\nid_vpp=2\r\nid_vhh=3\r\nread_vcc=4\r\nread_vpp=5\r\nread_vhh=6\r\n"
        "erase_vcc=7\r\nerase_vpp=8\r\nerase_vhh=9\r\nprogram_vcc=10\r\nprogram_vpp=11\r\n"
        "program_vhh=12\r\nprotect_vcc=13\r\nprotect_vpp=14\r\nprotect_vhh=15\r\n"
        "test_vcc=16\r\ntest_vpp=17\r\ntest_vhh=18\r\n");
  const std::pair<int32_t, std::array<uint16_t, 3>> cases[] = {
      {0, {4, 5, 6}}, {1, {10, 11, 12}}, {2, {7, 8, 9}}, {3, {13, 14, 15}},
      {4, {1, 2, 3}}, {5, {16, 17, 18}}, {6, {0, 0, 0}}, {-1, {0, 0, 0}},
  };
  for (const auto& [op, v] : cases) {
    SCOPED_TRACE(op);
    ASSERT_TRUE(Choose("V.ini", op).loaded());
    EXPECT_EQ(device_.Block.Word(B::kCurrentVcc), v[0]);
    EXPECT_EQ(device_.Block.Word(B::kCurrentVpp), v[1]);
    EXPECT_EQ(device_.Block.Word(B::kCurrentVhh), v[2]);
  }
}

TEST_F(IcIniLoaderTest, TestVoltagesAreReadOnlyForTheTestOperation) {
  Write("v.ini", "read_vcc=50\r\ntest_vcc=bad\r\n");
  EXPECT_EQ(Choose("v.ini", 0).status, IcLoadStatus::MissingSupportFile);
  EXPECT_EQ(Choose("v.ini", 5).status, IcLoadStatus::Failed);
  EXPECT_THAT(messages_.errors, ElementsAre("'bad' is not a valid integer value"));
}

TEST_F(IcIniLoaderTest, MissingSupportFileStopsBeforeTheAlgorithmImage) {
  Install("full_device.ini", "full.ini");
  for (const char* f : {"AC27.BIT", "Ac27.Drv", "SCAN.DRV"}) Support(f);  // PinScanFPGA missing
  EXPECT_EQ(Choose("FULL.INI").status, IcLoadStatus::MissingSupportFile);
  EXPECT_EQ(device_.MissingFileCount, 1);
  EXPECT_EQ(device_.Name, "AC27C1024");  // the values are loaded all the same
  EXPECT_THAT(link_.calls, ElementsAre("SendDriverFile ac27.drv"));

  Support("Scan.Bit");
  EXPECT_EQ(Choose("FULL.INI").status, IcLoadStatus::Loaded);
  EXPECT_EQ(device_.MissingFileCount, 0);
  EXPECT_EQ(link_.calls.size(), 3u);
}

TEST_F(IcIniLoaderTest, DriverNameGoesOutUnchangedWhileItsFileIsLookedForBelowFpga) {
  Support("Drv/X.BIN");
  for (const char* f : {"a.bit", "b.drv", "c.bit"}) Support(f);
  LoadText("UserWav=drv\\x.bin\r\nFPGAFile=A.BIT\r\nPinScanDRV=B.DRV\r\nPinScanFPGA=C.BIT\r\n");
  EXPECT_EQ(link_.calls.front(), "SendDriverFile drv\\x.bin");
  EXPECT_EQ(device_.SupportFilePaths[kUserWav], Dir() + "FPGA\\drv\\x.bin");
  EXPECT_EQ(device_.MissingFileCount, 0);
  EXPECT_EQ(link_.calls.size(), 2u);
}

TEST_F(IcIniLoaderTest, SupportFileOutsideTheProgramDirectoryCountsAsMissing) {
  for (const char* f : {"a.bit", "b.drv", "c.bit"}) Support(f);
  std::ofstream(root_ / "escape.drv") << "x";  // exists, but only through ".."
  LoadText("UserWav=..\\escape.drv\r\nFPGAFile=a.bit\r\nPinScanDRV=b.drv\r\nPinScanFPGA=c.bit\r\n");
  EXPECT_EQ(device_.MissingFileCount, 1);
  EXPECT_EQ(link_.calls.size(), 1u);
}

// A device file that is missing, is no regular file, or has no device
// section describes no device. The load still identifies the programmer and
// sends the driver, fills the record with defaults and marks it; it shows
// nothing (start-up with the stored device "None" is the ordinary state)
// and builds no algorithm image, even when files named "None" exist.
TEST_F(IcIniLoaderTest, NoDeviceFileMarksTheRecordAsHoldingNoDevice) {
  std::ofstream(root_ / "Ini" / "other.ini") << "[PIC_SUM]\r\nName=Other\r\n";
  fs::create_directories(root_ / "Ini" / "Folder.ini");
  ASSERT_EQ(::mkfifo((root_ / "Ini" / "pipe.ini").c_str(), 0600), 0);
  const char* const stored_names[] = {"None", "OTHER.INI", "folder.ini", "PIPE.INI"};
  for (const char* stored : stored_names) {
    SCOPED_TRACE(stored);
    Install("full_device.ini", "full.ini");
    SupportFilesOfFullDevice();
    ASSERT_EQ(Choose("full.ini").status, IcLoadStatus::Loaded);
    link_.calls.clear();
    Support("None");  // every support path names FPGA\None

    const IcLoadOutcome out = Choose(stored);
    EXPECT_EQ(out.status, IcLoadStatus::NoDeviceFile);
    EXPECT_FALSE(out.loaded());
    EXPECT_TRUE(device_.HoldsNoDevice);
    EXPECT_EQ(device_.IcIniPath, Dir() + "INI\\" + stored);
    EXPECT_THAT(link_.calls, ElementsAre("SendDriverFile None"));
    EXPECT_THAT(messages_.errors, IsEmpty());
    EXPECT_THAT(messages_.texts(), IsEmpty());
    EXPECT_EQ(device_.MissingFileCount, 0);
    EXPECT_EQ(device_.Name, "None");
    EXPECT_EQ(device_.Data_Width, "0");
    EXPECT_EQ(device_.SupportFilePaths[kFpgaFile], Dir() + "FPGA\\None");
    EXPECT_EQ(device_.Block.bytes, BlockOf({{20, 1}}));
    EXPECT_THAT(state_.ExpectedIdCodes, ElementsAre(0, 0, 0, 0));
    fs::remove(root_ / "fpga" / "None");
  }
  // Without the files named "None" the support check counts them missing.
  EXPECT_EQ(Choose("None").status, IcLoadStatus::NoDeviceFile);
  EXPECT_EQ(device_.MissingFileCount, 1);

  // The next device file that is there holds a device again.
  ASSERT_EQ(Choose("full.ini").status, IcLoadStatus::Loaded);
  EXPECT_FALSE(device_.HoldsNoDevice);
}

TEST_F(IcIniLoaderTest, WrongProgrammerEndsTheLoadWithNothingChanged) {
  Install("full_device.ini", "full.ini");
  SupportFilesOfFullDevice();
  ASSERT_EQ(Choose("full.ini").status, IcLoadStatus::Loaded);
  const SelectedDevice before = device_;
  link_.calls.clear();
  link_.wrong_model = true;
  Install("minimal_byte.ini", "min.ini");

  EXPECT_EQ(Choose("min.ini").status, IcLoadStatus::WrongProgrammer);
  EXPECT_THAT(link_.calls, ElementsAre("SendDriverFile None"));
  device_.SelectedIcIniPath = before.SelectedIcIniPath;
  EXPECT_EQ(device_, before);
  EXPECT_EQ(state_.PackagePins, 40);
}

TEST_F(IcIniLoaderTest, EmptyPathLoadsNothingAndCallsNoProgrammer) {
  device_.Name = "Kept";
  EXPECT_EQ(loader_->LoadIcParameters().status, IcLoadStatus::EmptyPath);
  EXPECT_THAT(link_.calls, IsEmpty());
  EXPECT_EQ(device_.Name, "Kept");
}

TEST_F(IcIniLoaderTest, RestoreAndKeepLeaveTheLoadedPathAlone) {
  Write("a.ini", "Name=A\r\n");
  Write("b.ini", "Name=B\r\n");
  struct Case {
    uint8_t restoring;
    int32_t keep;
    const char* name;
  } cases[] = {{0, 0, "B"}, {1, 0, "A"}, {0, 1, "A"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    state_.RestoringSession = c.restoring;
    device_.KeepIcIniPath = c.keep;
    device_.IcIniPath = Dir() + "INI\\A.INI";
    device_.SelectedIcIniPath = Dir() + "INI\\B.INI";
    ASSERT_TRUE(loader_->LoadIcParameters().loaded());
    EXPECT_EQ(device_.Name, c.name);
  }
}

// A device file that cannot be loaded shows why and leaves the device that
// was loaded before in place, record and run state alike.
TEST_F(IcIniLoaderTest, RefusedDeviceLeavesThePreviousDeviceInPlace) {
  struct Case {
    const char* fixture_or_keys;
    const char* message;
  } cases[] = {
      {"bad_page_size.ini", "'abc' is not a valid integer value"},
      {"Name=Broken\r\nIniVersion=\r\n", "'' is not a valid integer value"},
      {"max_address_Low=0x1FFFF\r\nerase_vcc=12.5\r\n", "'12.5' is not a valid integer value"},
      {"PIN=28\r\nGnd_pin1=14\r\nVcc_pin1=40\r\n",
       "Vcc_pin1=40 lies outside socket pins 1 to 48 (PIN=28)."},
      {"PIN=40\r\nGnd_pin1=-3\r\n", "Gnd_pin1=-3 lies outside socket pins 1 to 48 (PIN=40)."},
      {"PIN=48\r\nGnd_pin2=280\r\n", "Gnd_pin2=280 lies outside socket pins 1 to 48 (PIN=48)."},
      {"Vcc_pin2=25\r\n", "Vcc_pin2=25 lies outside socket pins 1 to 48 (PIN=0)."},
      {"PIN=28\r\nVcc_pin1=255\r\n", "Vcc_pin1=255 lies outside socket pins 1 to 48 (PIN=28)."},
      {"Data_Width=0xFFFF\r\nmax_address_Hi=0xFFFF\r\nmax_address_Low=0xFFFF\r\n"
       "ext_address_Hi=0xFFFF\r\next_address_Low=0xFFFF\r\n",
       "The device needs a data buffer of 17179869182 bytes; at most 536870912 bytes are "
       "supported."},
      {"Data_Width=0xFFFF\r\nmax_address_Hi=0x1FFF\r\nmax_address_Low=0xFFFF\r\n",
       "The device needs a data buffer of 1073741824 bytes; at most 536870912 bytes are "
       "supported."},
  };
  Install("full_device.ini", "full.ini");
  SupportFilesOfFullDevice();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture_or_keys);
    ASSERT_EQ(Choose("full.ini").status, IcLoadStatus::Loaded);
    const SelectedDevice device_before = device_;
    const MainFormState state_before = state_;
    messages_.errors.clear();
    link_.calls.clear();

    const std::string text = c.fixture_or_keys;
    if (text.ends_with(".ini")) {
      Install(text, "Bad.ini");
    } else {
      Write("Bad.ini", "UserWav=bad.drv\r\n" + text);
    }
    const IcLoadOutcome out = Choose("BAD.INI");

    EXPECT_EQ(out.status, IcLoadStatus::Failed);
    EXPECT_FALSE(out.loaded());
    EXPECT_EQ(out.message, c.message);
    EXPECT_THAT(messages_.errors, ElementsAre(c.message));
    // The driver went out before the bad value was met; no image was built.
    EXPECT_THAT(link_.calls, ElementsAre("SendDriverFile bad.drv"));
    SelectedDevice kept = device_;
    kept.SelectedIcIniPath = device_before.SelectedIcIniPath;
    EXPECT_EQ(kept, device_before);
    EXPECT_EQ(state_.ExpectedIdCodes, state_before.ExpectedIdCodes);
    EXPECT_EQ(state_.VccPinRaw, state_before.VccPinRaw);
    EXPECT_EQ(state_.PackagePins, state_before.PackagePins);
    EXPECT_EQ(state_.FuseCount, state_before.FuseCount);
    EXPECT_EQ(state_.FuseMode, state_before.FuseMode);
  }
}

TEST_F(IcIniLoaderTest, LongValues) {
  const std::string menu(200, 'm');
  ASSERT_TRUE(LoadText("Data_DoNotCare=0123456789ABCDEF\r\nMenu=" + menu + "\r\n").loaded());
  EXPECT_EQ(device_.Data_DoNotCare, "0123456789A");  // its 11 characters
  EXPECT_EQ(device_.OptionPageIni, menu);            // a file name is never cut
}

TEST_F(IcIniLoaderTest, EveryLoadStartsFromAClearedBlock) {
  ASSERT_TRUE(LoadText("page_size=64\r\npara1=7\r\n").loaded());
  device_.Block.SetPage(0x8000, 5, 1234);  // an operation's page words
  ASSERT_TRUE(LoadText("page_size=32\r\n").loaded());
  EXPECT_EQ(device_.Block.bytes, BlockOf({{20, 1}, {B::kPageSize, 32}}));
}

}  // namespace
}  // namespace quenlet
