// A fuse device on the simulated unit, end to end: a JEDEC file from another
// tool is loaded into the editor's map, programmed, read back into a fresh
// map and saved; the saved file goes round the same way and comes back byte
// for byte.
#include <gtest/gtest.h>

#include <string>

#include "app/copy_page_fuse_host.h"
#include "buffer/format_test_support.h"
#include "buffer/fuse_map_editor.h"
#include "buffer/jedec_file.h"
#include "ops_fixture.h"
#include "programmer/device_program.h"
#include "programmer/device_read.h"
#include "support/fuse_map_of.h"

namespace quenlet {
namespace {

using testing::DeviceShape;

// 5892 fuses of 44 columns, as the GAL22V10 sample device has them.
const DeviceShape kGal{.max_address = 5892, .fuse_columns = 44, .fuse_rows = 132};

std::string ForeignFile() {
  std::string text = "\x02Made elsewhere*\nN DEVICE GAL22V10*\nQF5892*\nQP24*\nF0*\n";
  for (int row = 0; row < 132; row += 3) {
    text += "L" + std::to_string(row * 44) + " ";
    for (int c = 0; c < 44; ++c) text += (row + c) % 5 == 0 ? '1' : '0';
    text += "*\n";
  }
  text +=
      "L5808 1111*\nG0*\nC0000*\nV0001 0L1010*\n\x03"
      "0000";
  return text;
}

class FuseFlowTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    ops_.Select(kGal);
    ops_.state.PackagePins = 24;
    NewEditor();
  }
  // The shell's device selection: a new editor with a cleared map.
  void NewEditor() {
    editor_ = std::make_unique<FuseMapEditor>(FuseEditorLinks{
        ops_.fuse_map, ops_.state, ops_.device, ops_.buffer, ops_.messages, files_, host_});
    ASSERT_TRUE(editor_->InitFuseMap());
  }
  std::vector<uint8_t> Map() const {
    return {ops_.fuse_map.Fuses().begin(), ops_.fuse_map.Fuses().end()};
  }
  // Load, program, read back into a fresh map, save: the saved file's text.
  std::string RoundThroughTheChip(const std::string& in, const std::string& out,
                                  std::vector<uint8_t>& loaded) {
    NewEditor();
    files_.answers.push_back(in);
    EXPECT_TRUE(editor_->GAL_loadClick());
    loaded = Map();
    EXPECT_EQ(ops_.view.SumText(), strprintf("%08X", ops_.fuse_map.CheckSum()));
    EXPECT_TRUE(program_1Click(ops_.ctx, 0)) << ::testing::PrintToString(ops_.events);
    EXPECT_TRUE(std::equal(loaded.begin(), loaded.end(), ops_.Chip().begin()));

    NewEditor();
    EXPECT_EQ(Map(), std::vector<uint8_t>(5892, 0));
    EXPECT_TRUE(readClick(ops_.ctx)) << ::testing::PrintToString(ops_.events);
    EXPECT_EQ(Map(), loaded);

    files_.answers.push_back(out);
    EXPECT_TRUE(editor_->Gal_SaveClick());
    return testing::ReadFile(out);
  }

  testing::OpsFixture ops_;
  testing::FakeFileChooser files_;
  testing::FakeLoadSaveWindows windows_;
  CopyPageFuseHost host_{ops_.view, ops_.step_fail, windows_};
  std::unique_ptr<FuseMapEditor> editor_;
};

TEST_F(FuseFlowTest, LoadProgramReadSaveGivesBackTheSameFile) {
  const std::string foreign = Path("foreign.jed");
  testing::WriteFile(foreign, ForeignFile());
  std::vector<uint8_t> from_foreign, from_ours;
  const std::string first = RoundThroughTheChip(foreign, Path("first.jed"), from_foreign);
  EXPECT_EQ(windows_.load_path, foreign);
  EXPECT_EQ(from_foreign[5808], 1);
  EXPECT_EQ(from_foreign[0], 1);
  EXPECT_EQ(from_foreign[44], 0);  // row 1 is not listed: F0
  EXPECT_EQ(first, WriteJedecText(*testing::FuseMapOf(from_foreign), 44));

  const std::string second = RoundThroughTheChip(Path("first.jed"), Path("second.jed"), from_ours);
  EXPECT_EQ(from_ours, from_foreign);
  EXPECT_EQ(second, first);
}

TEST_F(FuseFlowTest, EditorWithoutAMapShowsTheReadFailureAndTheOperationsRefuse) {
  ops_.state.FuseCount = 0;
  editor_ = std::make_unique<FuseMapEditor>(FuseEditorLinks{
      ops_.fuse_map, ops_.state, ops_.device, ops_.buffer, ops_.messages, files_, host_});
  EXPECT_FALSE(editor_->InitFuseMap());
  EXPECT_EQ(ops_.view.Top(Step::Read), Layer::f);
  EXPECT_EQ(ops_.FailSounds(), 1);
  ops_.ClearRecords();
  EXPECT_FALSE(program_1Click(ops_.ctx, 0));
  // Nothing reaches the unit without a map to take the fuses from.
  EXPECT_TRUE(ops_.wire.lines.empty());
  EXPECT_EQ(ops_.Messages(), std::vector<std::string>{" Insufficient memory for GlobalAlloc! "});
}

}  // namespace
}  // namespace quenlet
