#include "platform/program_paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace quenlet {
namespace {

namespace fs = std::filesystem;

class ProgramPathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("quenlet-paths-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "INI" / "Varnek");
    fs::create_directories(root_ / "fpga");
    std::ofstream(root_ / "INI" / "Am29F010.ini") << "x";
    std::ofstream(root_ / "INI" / "Varnek" / "HARDTEST.INI") << "x";
    std::ofstream(root_ / "fpga" / "Drv.Bin") << "x";
    std::ofstream(root_ / "History_1.ini") << "x";
  }
  void TearDown() override { fs::remove_all(root_); }
  std::string Root() const { return root_.string() + "/"; }
  fs::path root_;
};

TEST_F(ProgramPathsTest, ResolvesStoredFormsWithoutRegardToCase) {
  ProgramPaths paths(root_.string());
  const struct {
    std::string stored;
    std::string real;
  } cases[] = {
      {"INI\\am29f010.INI", "INI/Am29F010.ini"},
      {"\\ini\\AM29F010.ini", "INI/Am29F010.ini"},
      {Root() + "INI\\VARNEK\\hardtest.ini", "INI/Varnek/HARDTEST.INI"},
      {Root() + "FPGA\\drv.bin", "fpga/Drv.Bin"},
      {Root() + "History_1.ini", "History_1.ini"},
      {"ini/./Am29F010.ini", "INI/Am29F010.ini"},
      // Not there yet: existing folders matched, the rest kept as written.
      {"INI\\New.ini", "INI/New.ini"},
      {"NoDir\\Sub\\f.txt", "NoDir/Sub/f.txt"},
  };
  for (const auto& c : cases) {
    auto got = paths.Resolve(c.stored);
    ASSERT_TRUE(got.has_value()) << c.stored;
    EXPECT_EQ(*got, Root() + c.real) << c.stored;
  }
  EXPECT_TRUE(paths.FileExists("ini\\varnek\\HardTest.ini"));
  EXPECT_FALSE(paths.FileExists("INI\\New.ini"));
  EXPECT_FALSE(paths.FileExists("INI"));  // a folder is not a file
}

TEST_F(ProgramPathsTest, NothingResolvesOutsideTheProgramDirectory) {
  ProgramPaths paths(Root());
  const char* refused[] = {
      "..\\etc\\passwd", "INI\\..\\..\\x", "C:\\Windows\\win.ini", "c:x", "", "\\"};
  for (const char* stored : refused) EXPECT_FALSE(paths.Resolve(stored).has_value()) << stored;
  // An absolute path elsewhere is taken as a tail below the program directory.
  EXPECT_EQ(*paths.Resolve("/etc/passwd"), Root() + "etc/passwd");
}

TEST(ExecutableDirectory, EndsWithSlashAndHoldsTheTestBinary) {
  std::string dir = ExecutableDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_TRUE(fs::exists(dir));
}

}  // namespace
}  // namespace quenlet
