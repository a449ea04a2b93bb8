#include "buffer/debug_log.h"

#include <gtest/gtest.h>

#include "buffer/data_buffer.h"
#include "format_test_support.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"

namespace quenlet {
namespace {

using DebugLogTest = testing::TempDirTest;

TEST_F(DebugLogTest, EntriesAreNumberedFromZero) {
  const std::string folder = dir_.string() + "/";
  testing::WriteFile(dir_ / "Debug.src", "[Other]\r\nKeep=1\r\n");
  ASSERT_TRUE(AppendDebugLog(folder, "first"));
  ASSERT_TRUE(AppendDebugLog(folder, "second"));
  IniFile log(Path("Debug.src"));
  EXPECT_EQ(log.ReadInteger("ERROR", "Total", -9), 1);
  EXPECT_EQ(log.ReadString("ERROR", "0", ""), "first");
  EXPECT_EQ(log.ReadString("ERROR", "1", ""), "second");
  EXPECT_EQ(log.ReadString("Other", "Keep", ""), "1");
}

TEST_F(DebugLogTest, ADamagedTotalStartsAgainAtZero) {
  testing::WriteFile(dir_ / "Debug.src", "[ERROR]\r\nTotal=-7\r\n");
  ASSERT_TRUE(AppendDebugLog(dir_.string() + "/", "entry"));
  EXPECT_EQ(IniFile(Path("Debug.src")).ReadString("ERROR", "0", ""), "entry");
}

TEST_F(DebugLogTest, LivesInTheSystemFolder) {
  DataBuffer buffer;
  buffer.SetHistoryIniPath(Path("History_1.ini"));
  ProgramPaths paths(dir_.string());
  // Nothing stored, and a drive path of another machine: the program folder.
  ASSERT_TRUE(AppendDebugLog(buffer, paths, "a"));
  IniFile(Path("History_1.ini")).WriteString("System", "Path", "C:\\Quenlet");
  ASSERT_TRUE(AppendDebugLog(buffer, paths, "b"));
  EXPECT_EQ(IniFile(Path("Debug.src")).ReadInteger("ERROR", "Total", -1), 1);
}

}  // namespace
}  // namespace quenlet
