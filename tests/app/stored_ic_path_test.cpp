#include "app/stored_ic_path.h"

#include <gtest/gtest.h>

#include "platform/program_paths.h"
#include "support/temp_dir.h"

namespace quenlet {
namespace {

class StoredIcPathTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    std::filesystem::create_directories(dir_ / "INI" / "AMD");
    testing::WriteFile(dir_ / "INI" / "AMD" / "Am29F010.ini", "[VK_KZExternValue]\r\n");
  }
};

TEST_F(StoredIcPathTest, PathsOfAnotherFolderResolveByTheirIniTail) {
  const ProgramPaths paths(dir_.string());
  const std::string here = paths.root();
  const std::string moved = here + "INI\\AMD\\Am29F010.ini";
  struct Case {
    std::string stored;
    std::optional<std::string> resolved;
  };
  const Case cases[] = {
      // Already below this program directory: kept as stored.
      {here + "INI\\AMD\\Am29F010.ini", here + "INI\\AMD\\Am29F010.ini"},
      {"INI\\amd\\AM29F010.INI", "INI\\amd\\AM29F010.INI"},
      // Another Windows drive or folder: the tail from the last INI folder on.
      {"C:\\Prog\\INI\\AMD\\Am29F010.ini", moved},
      {"/old/dir/INI\\AMD\\Am29F010.ini", here + "INI\\AMD\\Am29F010.ini"},
      {"D:\\x\\ini\\y\\INI\\AMD\\Am29F010.ini", moved},
      {"C:\\Prog\\ini\\amd\\am29f010.ini", here + "ini\\amd\\am29f010.ini"},
      // Nothing resolves: no device.
      {"None", std::nullopt},
      {"C:\\Prog\\INI\\AMD\\Missing.ini", std::nullopt},
      {"C:\\Prog\\INI", std::nullopt},
      {"C:\\Prog\\MINI\\AMD\\Am29F010.ini", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    const std::optional<std::string> got = ResolveStoredIcFile(paths, c.stored);
    if (!c.resolved) {
      EXPECT_EQ(got, std::nullopt);
      continue;
    }
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, *c.resolved);
    EXPECT_TRUE(paths.FileExists(*got));
  }
}

}  // namespace
}  // namespace quenlet
