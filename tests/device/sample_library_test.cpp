// The sample program directory as the build lays it out beside the
// executable: the catalogue, every device file on the simulated unit, the
// option pages, the pictures and logo files, and the sample data.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "buffer/intel_hex.h"
#include "device/big_ini_file.h"
#include "device/ic_ini_loader.h"
#include "device/option_block.h"
#include "device/option_page_file.h"
#include "platform/ini_file.h"
#include "platform/ini_snapshot.h"
#include "platform/program_paths.h"
#include "platform/strprintf.h"
#include "programmer/ops_fixture.h"
#include "programmer/programmer_loader_link.h"
#include "support/temp_dir.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kProgramDir = QUENLET_PROGRAM_DIR "/";
// The one part the catalogue lists without a device file, so the device
// dialog has a case to refuse.
const char* const kMissingPart = "QD-GONE";

std::string Real(const std::string& stored) {
  const auto path = ProgramPaths(kProgramDir).Resolve(stored);
  return path ? *path : std::string();
}

// Catalogue counts are hexadecimal, "0x" allowed.
uint32_t HexCount(const std::string& text) {
  return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
}

struct ListedPart {
  std::string manufacturer;
  std::string part;
  std::string file;  // as the device dialog's OK finds it
};

// The catalogue as the device dialog lists it: the lists through the
// profile reader, the file names through the INI store.
std::vector<ListedPart> ListedParts(std::map<std::string, int>* counts = nullptr) {
  const std::string path = Real("Select.ini");
  const IniFile select(path);
  TBigIniFile store(path);
  std::vector<ListedPart> parts;
  const uint32_t makers = HexCount(select.ReadString("ITEM", "Value", "0"));
  for (uint32_t m = 1; m <= makers; ++m) {
    const std::string maker = select.ReadString("ITEM", strprintf("%04X", m), "0");
    const uint32_t n = HexCount(select.ReadString(maker, "Value", "0"));
    if (counts) (*counts)[maker] = static_cast<int>(n);
    for (uint32_t p = 1; p <= n; ++p) {
      const std::string part = select.ReadString(maker, strprintf("%04X", p), "<none>");
      parts.push_back({maker, part, store.ReadString(maker, part, "<none>")});
    }
  }
  return parts;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TEST(SampleLibrary, CatalogueLinesHaveNoBlankAroundTheirEquals) {
  // The device dialog's OK reads a key as the whole text before "=".
  const std::string text = ReadFile(Real("Select.ini"));
  ASSERT_FALSE(text.empty());
  for (const std::string& line : Lines(text)) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    EXPECT_TRUE(eq > 0 && line[eq - 1] != ' ' && line[eq - 1] != '\t') << line;
    EXPECT_TRUE(eq + 1 < line.size() && line[eq + 1] != ' ' && line[eq + 1] != '\t') << line;
  }
}

TEST(SampleLibrary, EveryListedPartHasItsDeviceFileButTheMissingOne) {
  std::map<std::string, int> counts;
  const std::vector<ListedPart> parts = ListedParts(&counts);
  // The cases the device dialog needs: the maker shown without history, a
  // name with "_", a maker without parts, a count past 9 in hexadecimal.
  EXPECT_THAT(counts, ElementsAre(std::pair<const std::string, int>{"Big Vendor", 11},
                                  std::pair<const std::string, int>{"Demo_Maker", 2},
                                  std::pair<const std::string, int>{"Empty Vendor", 0},
                                  std::pair<const std::string, int>{"General Type", 3},
                                  std::pair<const std::string, int>{"Quenlet Demo", 7}));
  std::vector<std::string> missing;
  for (const ListedPart& p : parts) {
    EXPECT_NE(p.part, "<none>") << p.manufacturer;
    if (!ProgramPaths(kProgramDir).FileExists(kProgramDir + "INI\\" + p.file)) {
      missing.push_back(p.manufacturer + "/" + p.part);
    }
  }
  EXPECT_THAT(missing, ElementsAre(std::string("Demo_Maker/") + kMissingPart));
}

// What each device file is there to show.
struct DeviceCase {
  const char* file;  // below INI\ as device files name it
  DataWidth width;
  uint32_t device_size;
  uint16_t option_fuse_type;
  bool second_area;
  uint32_t fuse_count;  // a fuse device when not 0
  const char* option_pages;
  bool pic_sum;
};

const DeviceCase kDevices[] = {
    {"QD27-256.ini", DataWidth::Byte, 0x8000, 0, false, 0, "0", false},
    {"QD29-1MW.ini", DataWidth::Word, 0x20000, 0, false, 0, "0", false},
    // N counts the last addresses of both areas, plus one.
    {"QD2A-064.ini", DataWidth::Byte, 0x1FFF + 0xFF + 1, 0, true, 0, "0", false},
    {"QDH-016.ini", DataWidth::Byte, 0x800, 1, false, 0, "0", false},
    {"QDO-008.ini", DataWidth::Byte, 0x400, 2, false, 0, "MENU\\QDO-008.INI", false},
    {"QDP-14.ini", DataWidth::Word, 0x1000, 0, false, 0, "0", true},
    {"QDG-16.ini", DataWidth::Byte, 2195, 0, false, 2194, "0", false},
    {"VARNEK\\HARDTEST.INI", DataWidth::Byte, 0x100, 0, false, 0, "0", false},
};

bool StartsWithPlaceholder(const uint8_t* bytes) {
  return std::string(reinterpret_cast<const char*>(bytes), 19) == "QUENLET PLACEHOLDER";
}

TEST(SampleLibrary, EveryDeviceLoadsOnTheSimulatedUnit) {
  std::set<std::string> listed;
  for (const ListedPart& p : ListedParts()) {
    if (p.part != kMissingPart) listed.insert(p.file);
  }
  std::set<std::string> covered;
  for (const DeviceCase& c : kDevices) {
    SCOPED_TRACE(c.file);
    covered.insert(c.file);
    OpsFixture f;
    f.state.ProgramDir = kProgramDir;
    const ProgramPaths paths(kProgramDir);
    ProgrammerLoaderLink loader_link(f.link);
    IcIniLoader loader(f.device, f.state, paths, loader_link, f.messages);
    f.device.SelectedIcIniPath = kProgramDir + "INI\\" + c.file;

    const IcLoadOutcome outcome = loader.LoadIcParameters();
    EXPECT_EQ(outcome.status, IcLoadStatus::Loaded) << outcome.message;
    EXPECT_THAT(f.events, IsEmpty());
    EXPECT_EQ(f.device.MissingFileCount, 0);
    // The support files reached the image and the driver reached the unit:
    // the upload opens the driver by its bare name, the existence test
    // below FPGA\, and the library has it in both places.
    ASSERT_EQ(f.state.AlgorithmImage.size(), 0x8000u);
    EXPECT_TRUE(StartsWithPlaceholder(f.state.AlgorithmImage.data() + 0x2000));
    EXPECT_TRUE(StartsWithPlaceholder(f.state.AlgorithmImage.data() + 0x4000));
    EXPECT_TRUE(StartsWithPlaceholder(f.state.AlgorithmImage.data() + 0x6000));
    EXPECT_EQ(f.unit().driver_passes_received(), 4);
    ASSERT_FALSE(f.unit().driver_pass(0).empty());
    EXPECT_TRUE(StartsWithPlaceholder(f.unit().driver_pass(0).data()));

    EXPECT_EQ(f.device.Width(), c.width);
    EXPECT_EQ(f.device.IcDeviceSize, c.device_size);
    EXPECT_EQ(f.device.Option_Fuse_Type, c.option_fuse_type);
    EXPECT_EQ(f.device.HasSecondArea(), c.second_area);
    EXPECT_EQ(f.state.FuseMode, c.fuse_count ? 1 : 0);
    if (c.fuse_count) {
      EXPECT_EQ(f.state.FuseCount, c.fuse_count);
    }
    EXPECT_EQ(f.device.OptionPageIni, c.option_pages);
    EXPECT_EQ(IniFile(Real("INI\\" + std::string(c.file)))
                  .ReadInteger("SysInformation", "ToCountPICsumFlag", 0),
              c.pic_sum ? 1 : 0);
  }
  for (const std::string& file : listed) EXPECT_EQ(covered.count(file), 1u) << file;
}

TEST(SampleLibrary, OptionPagesFitTheOptionBlock) {
  int files = 0;
  for (const DeviceCase& c : kDevices) {
    if (std::string(c.option_pages) == "0") continue;
    SCOPED_TRACE(c.option_pages);
    ++files;
    ASSERT_TRUE(ProgramPaths(kProgramDir).FileExists(c.option_pages));
    const OptionPageSet pages = ReadOptionPageSet(IniSnapshot(Real(c.option_pages)));
    EXPECT_GE(pages.pages.size(), 2u);
    const OptionUnpack unpack = UnpackOptionBlock(OptionBlock{}, pages);
    EXPECT_GT(unpack.words, 0u);
    EXPECT_FALSE(unpack.cut);  // within the block's 128 words
  }
  EXPECT_EQ(files, 1);
}

uint32_t Le(const std::string& b, size_t at, int count) {
  uint32_t v = 0;
  for (int i = count - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
  return v;
}

// A 24-bit Windows bitmap with the 54-byte header whose size matches.
void ExpectBitmap(const std::string& bmp, int width, int height) {
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(Le(bmp, 2, 4), bmp.size());
  EXPECT_EQ(Le(bmp, 10, 4), 54u);
  EXPECT_EQ(Le(bmp, 14, 4), 40u);
  EXPECT_EQ(static_cast<int>(Le(bmp, 18, 4)), width);
  EXPECT_EQ(static_cast<int>(Le(bmp, 22, 4)), height);
  EXPECT_EQ(Le(bmp, 28, 2), 24u);
  EXPECT_EQ(bmp.size(), 54 + ((width * 3 + 3) & ~3u) * height);
}

TEST(SampleLibrary, LogoFilesKeepTheBitmapHeaderAtTheEnd) {
  const struct {
    const char* file;
    int width, height;
  } logos[] = {{"Temp0.cue", 128, 44}, {"Temp1.cue", 556, 390}};
  for (const auto& logo : logos) {
    SCOPED_TRACE(logo.file);
    const std::string stored = ReadFile(Real(logo.file));
    ASSERT_GT(stored.size(), 54u);
    ExpectBitmap(stored.substr(stored.size() - 54) + stored.substr(0, stored.size() - 54),
                 logo.width, logo.height);
  }
  // The device dialog's pictures are plain bitmaps.
  for (const char* picture : {"Bmpdata\\NULL.bmp", "Bmpdata\\Quenlet Demo.bmp"}) {
    SCOPED_TRACE(picture);
    ExpectBitmap(ReadFile(Real(picture)), 120, 60);
  }
}

TEST(SampleLibrary, DocumentsAndProjectsNameWhatTheLibraryHolds) {
  const IniFile urls(Real("url\\URLList.ini"));
  const std::string document = urls.ReadString("Index", "Quenlet Demo", "None");
  EXPECT_TRUE(ProgramPaths(kProgramDir).FileExists("URL\\" + document)) << document;
  EXPECT_EQ(urls.ReadString("Index", "Big Vendor", "None"), "None");

  const std::string path = Real("Project.ini");
  const IniFile projects(path);
  TBigIniFile store(Real("Select.ini"));
  int records = 0;
  for (int n = 1; n <= 10; ++n) {
    const std::string section = std::to_string(n);
    const std::string vendor = projects.ReadString(section, "Vendor", "<empty>");
    if (vendor == "<empty>") break;
    ++records;
    const std::string file =
        store.ReadString(vendor, projects.ReadString(section, "ID", "<empty>"), "<none>");
    EXPECT_TRUE(ProgramPaths(kProgramDir).FileExists("INI\\" + file)) << section;
    const std::string source = projects.ReadString(section, "Source", "<empty>");
    if (source != "<empty>") {
      EXPECT_TRUE(ProgramPaths(kProgramDir).FileExists(source)) << source;
    }
    EXPECT_EQ(projects.ReadString(section, "Prog", "").rfind('+', 0), 0u) << section;
  }
  EXPECT_EQ(records, 2);
}

TEST(SampleLibrary, SampleDataFitTheirDevices) {
  FakeProgress progress;
  const HexReadResult hex = ReadIntelHex(ReadFile(Real("Samples\\QD27-256.HEX")), 0xFF, progress);
  ASSERT_TRUE(hex.ok());
  EXPECT_LT(hex.image.LastAddress(), 0x8000u);

  // The JEDEC file: one STX before the first field, the fuse count of the
  // QDG-16, every fuse listed once in order, and a fuse checksum that fits.
  const std::string jed = ReadFile(Real("Samples\\QDG-16.JED"));
  ASSERT_FALSE(jed.empty());
  EXPECT_EQ(jed.front(), '\x02');
  EXPECT_EQ(jed.back(), '\x03');
  EXPECT_EQ(std::count(jed.begin(), jed.begin() + jed.find('*'), '\x02'), 1);
  uint32_t fuse_count = 0;
  std::string fuses;
  uint32_t checksum = 0;
  for (const std::string& line : Lines(jed)) {
    if (line.rfind("QF", 0) == 0) fuse_count = std::stoul(line.substr(2));
    if (line.rfind("C", 0) == 0) checksum = std::stoul(line.substr(1), nullptr, 16);
    if (line.size() > 1 && line[0] == 'L' && std::isdigit(static_cast<unsigned char>(line[1]))) {
      const size_t blank = line.find(' ');
      EXPECT_EQ(std::stoul(line.substr(1, blank - 1)), fuses.size()) << line;
      fuses += line.substr(line.find_first_not_of(' ', blank),
                           line.size() - 1 - line.find_first_not_of(' ', blank));
    }
  }
  EXPECT_EQ(fuse_count, 2194u);
  EXPECT_EQ(fuses.size(), fuse_count);
  EXPECT_EQ(fuses.find_first_not_of("01"), std::string::npos);
  uint32_t sum = 0;
  for (size_t start = 0; start < fuses.size(); start += 8) {
    for (size_t k = 0; k < 8 && start + k < fuses.size(); ++k) {
      if (fuses[start + k] == '1') sum += 1u << k;
    }
  }
  EXPECT_EQ(sum & 0xFFFF, checksum);
}

}  // namespace
}  // namespace quenlet::testing
