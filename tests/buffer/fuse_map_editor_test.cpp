// The fuse-map editor's logic: the map it builds, hostile geometry, the
// grid's window onto the map with its wraps and jumps, fills, the checksum
// display, and JEDEC loads and saves through the file chooser.
#include "buffer/fuse_map_editor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "buffer/data_buffer.h"
#include "buffer/fuse_map.h"
#include "buffer/jedec_file.h"
#include "device/selected_device.h"
#include "state/buffer_limits.h"
#include "state/main_form_state.h"
#include "support/fake_fuse_host.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

class FuseEditorTest : public testing::TempDirTest, protected testing::FuseEditorParts {
 protected:
  // A new editor for a device of this geometry, as the shell makes one.
  FuseMapEditor& Select(uint32_t count, uint32_t columns, uint32_t rows, uint8_t pins = 24,
                        int32_t intact = 0) {
    Geometry(count, columns, rows, pins, intact);
    editor_ = std::make_unique<FuseMapEditor>(Links());
    editor_->SetRedrawHandler([this] { ++redraws_; });
    editor_->InitFuseMap();
    return *editor_;
  }
  int64_t Focused() const {
    const FuseMapEditor& e = *editor_;
    return (e.RowOrigin() + e.FocusY()) * e.FuseColumns() + e.ColumnOrigin() + e.FocusX();
  }
  std::vector<uint8_t> Map() const { return {map.Fuses().begin(), map.Fuses().end()}; }
  std::string File(const std::string& name, const std::string& text) {
    testing::WriteFile(Path(name), text);
    return Path(name);
  }
  bool Load(const std::string& path) {
    files.answers.push_back(path);
    return editor_->GAL_loadClick();
  }

  std::unique_ptr<FuseMapEditor> editor_;
  int redraws_ = 0;
};

TEST_F(FuseEditorTest, NewEditorHoldsAClearedMapAndNoSum) {
  FuseMapEditor& e = Select(2194, 44, 50);
  ASSERT_TRUE(e.HasMap());
  EXPECT_EQ(e.GetFuseMapHandle(), &map);
  ASSERT_EQ(map.Block().size(), 2194u + 4096);
  for (size_t i = 0; i < map.Block().size(); ++i) {
    ASSERT_EQ(map.Block()[i], i < 2194 ? 0 : FuseMap::kNoFuse) << i;
  }
  EXPECT_EQ(e.SquareText(), "Square : 0044 * 0050 ");
  EXPECT_EQ(e.HorizontalMax(), 20);
  EXPECT_EQ(e.VerticalMax(), 50 - 8 + 6);
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_GT(redraws_, 0);

  // The sum last shown belongs to the editor: a new one starts at 0.
  map.TakeShownSum(0x1234);
  Select(2194, 44, 50);
  EXPECT_EQ(editor_->ShowCheckSum(6), 0u);
  EXPECT_EQ(host.sum, "00000000");
  EXPECT_FALSE(host.sum_red);
  map.SetFuse(2, 1);
  editor_->ShowCheckSum(6);
  EXPECT_EQ(host.sum, "00000004");
  EXPECT_TRUE(host.sum_red);
  EXPECT_TRUE(messages.boxes.empty());  // mode 6 shows no box
  editor_->ShowCheckSum(1);
  EXPECT_FALSE(host.sum_red);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "00000004");
  EXPECT_EQ(messages.boxes[0].caption, "Get Check Sum");
  const int sums = host.sums;
  editor_->ShowCheckSum(3);  // other modes only compute
  EXPECT_EQ(host.sums, sums);
}

TEST_F(FuseEditorTest, KeyPolarityComesFromIntact) {
  struct Case {
    int32_t intact;
    int fill_bit;
    const char* legend0;
    const char* legend1;
  };
  for (const Case& c : {Case{0, 0, "-->Intact.[0 Key]", "-->Blown.[1 Key]"},
                        Case{1, 1, "-->Blown.[0 Key]", "-->Intact.[1 Key]"},
                        Case{5, 0, "-->Intact.[0 Key]", "-->Blown.[1 Key]"}}) {
    FuseMapEditor& e = Select(64, 8, 8, 24, c.intact);
    EXPECT_EQ(e.FillBit(), c.fill_bit) << c.intact;
    EXPECT_EQ(e.Bitmap0Text(), c.legend0);
    EXPECT_EQ(e.BigMap1Text(), c.legend1);
    EXPECT_EQ(e.FillDialogTexts().bit, c.fill_bit);
  }
}

struct HostileCase {
  const char* name;
  uint64_t count;
  uint32_t columns, rows;
  uint8_t pins;
  std::vector<std::string> boxes;
  int map_failures;
  bool map;
};

TEST_F(FuseEditorTest, HostileGeometryLeavesNoMapAndNothingToCrashOn) {
  const std::string geometry = "'' maybe error..";
  const std::string memory = " Insufficient memory for GlobalAlloc! ";
  const HostileCase cases[] = {
      {"columns of -1", 5892, 0xFFFFFFFFu, 132, 24, {geometry}, 0, false},
      {"no rows", 5892, 44, 0, 24, {geometry}, 0, false},
      {"more columns than fuses", 10, 11, 1, 24, {geometry}, 0, false},
      {"more rows than fuses", 10, 1, 11, 24, {geometry}, 0, false},
      {"no fuses", 0, 44, 132, 24, {memory}, 1, false},
      {"beyond the buffer limit",
       kMaxBufferSize + 1,
       44,
       132,
       24,
       {"Momery not enough !", memory},
       1,
       false},
      {"few pins only warn", 64, 8, 8, 16, {geometry}, 0, true},
  };
  for (const HostileCase& c : cases) {
    SCOPED_TRACE(c.name);
    messages.boxes.clear();
    host = testing::FakeFuseHost();
    // The count of a device file is two 16-bit words; the run state holds 32 bits.
    FuseMapEditor& e = Select(static_cast<uint32_t>(std::min<uint64_t>(c.count, 0xFFFFFFFFu)),
                              c.columns, c.rows, c.pins);
    EXPECT_EQ(messages.texts(), c.boxes);
    if (!c.boxes.empty() && c.boxes[0] == geometry) {
      EXPECT_EQ(messages.boxes[0].caption, "Ini Error");
    }
    EXPECT_EQ(host.map_failures, c.map_failures);
    EXPECT_EQ(e.HasMap(), c.map);
    if (c.map) continue;
    EXPECT_EQ(e.GetFuseMapHandle(), nullptr);
    messages.boxes.clear();
    // Every command on a map that is not there does nothing.
    e.CurrentChange(3, 2);
    e.LeftEvent(0, 1);
    e.RightEvent(23, 7);
    e.StepRows(1);
    e.ScrollRowsTo(1000);
    e.ScrollColumnsTo(1000);
    e.JumpTo("00000005");
    e.CellChange(0, 0, 1);
    EXPECT_EQ(e.RowOrigin(), 0);
    EXPECT_EQ(e.ColumnOrigin(), 0);
    EXPECT_EQ(e.HorizontalMax(), 0);
    EXPECT_EQ(e.VerticalMax(), 0);
    for (int r = 0; r < FuseMapEditor::kGridRows; ++r) {
      for (int col = 0; col < FuseMapEditor::kGridColumns; ++col) {
        ASSERT_EQ(e.CellValue(r, col), FuseMap::kNoFuse);
      }
    }
    EXPECT_FALSE(e.ApplyFill());
    EXPECT_FALSE(e.Gal_SaveClick());
    EXPECT_FALSE(e.GAL_loadClick());
    EXPECT_TRUE(files.requests.empty());
    EXPECT_TRUE(messages.boxes.empty());
  }
}

TEST_F(FuseEditorTest, WrapsLandOnTheNeighbouringFuseFromEveryGridRow) {
  FuseMapEditor& e = Select(5892, 44, 134);
  for (int y = 0; y < FuseMapEditor::kGridRows; ++y) {
    SCOPED_TRACE(y);
    for (int64_t column_origin : {int64_t{0}, int64_t{5}}) {
      e.ScrollRowsTo(10);
      e.ScrollColumnsTo(column_origin);
      e.CurrentChange(0, y);
      const int64_t n = Focused();
      e.LeftEvent(0, y);
      EXPECT_EQ(Focused(), n - 1) << "left from column origin " << column_origin;
      EXPECT_GE(e.RowOrigin(), 0);
    }
    for (int64_t column_origin : {e.HorizontalMax(), int64_t{5}}) {
      e.ScrollRowsTo(10);
      e.ScrollColumnsTo(column_origin);
      e.CurrentChange(FuseMapEditor::kGridColumns - 1, y);
      const int64_t n = Focused();
      e.RightEvent(FuseMapEditor::kGridColumns - 1, y);
      EXPECT_EQ(Focused(), n + 1) << "right from column origin " << column_origin;
    }
  }
  // Neither end of the map goes further.
  e.ScrollRowsTo(0);
  e.ScrollColumnsTo(0);
  e.CurrentChange(0, 0);
  e.LeftEvent(0, 0);
  EXPECT_EQ(Focused(), 0);
  e.JumpToFuse(5891);
  e.RightEvent(e.FocusX(), e.FocusY());
  EXPECT_EQ(Focused(), 5891);
}

TEST_F(FuseEditorTest, NarrowMapShowsNoFusePastItsLastColumn) {
  FuseMapEditor& e = Select(160, 16, 10);
  for (size_t i = 0; i < 160; ++i) map.SetFuse(i, i % 3 == 0);
  EXPECT_EQ(e.HorizontalMax(), 0);
  e.ScrollRowsTo(1);
  for (int r = 0; r < FuseMapEditor::kGridRows; ++r) {
    for (int c = 0; c < FuseMapEditor::kGridColumns; ++c) {
      const uint8_t expected = c < 16 && (r + 1) * 16 + c < 160 ? ((r + 1) * 16 + c) % 3 == 0 : 2;
      ASSERT_EQ(e.CellValue(r, c), expected) << r << "," << c;
    }
  }
  // Left from a row's first fuse lands on the last fuse of the row above,
  // inside the map's columns.
  e.CurrentChange(0, 2);
  e.LeftEvent(0, 2);
  EXPECT_EQ(e.FocusX(), 15);
  EXPECT_EQ(Focused(), 3 * 16 - 1);
  // A cell past the map's columns changes nothing.
  const std::vector<uint8_t> before = Map();
  e.CellChange(20, 0, 1);
  EXPECT_EQ(Map(), before);
  e.JumpToFuse(159);
  EXPECT_EQ(Focused(), 159);
  EXPECT_EQ(e.FocusX(), 15);
}

TEST_F(FuseEditorTest, JumpPutsTheFocusOnTheFuseNumber) {
  FuseMapEditor& e = Select(5892, 44, 134);
  for (int64_t n : {0, 23, 24, 43, 44 * 8, 44 * 8 + 30, 5891}) {
    e.JumpToFuse(n);
    EXPECT_EQ(Focused(), n);
    EXPECT_LE(e.ColumnOrigin(), e.HorizontalMax());
    EXPECT_LE(e.RowOrigin(), e.VerticalMax());
  }
  e.JumpTo("99999999");
  EXPECT_EQ(Focused(), 5891);
  e.JumpTo("");
  EXPECT_EQ(Focused(), 0);
  // The grid reports its focus: the position and jump texts follow it.
  e.ScrollRowsTo(10);
  e.ScrollColumnsTo(3);
  e.CurrentChange(2, 1);
  EXPECT_EQ(e.PositionText(), "X : 0005     Y : 0011");
  EXPECT_EQ(e.JumpText(), "00000489");
  EXPECT_EQ(e.RowAddressText(1), "00000487");
  e.CellChange(2, 1, 1);
  EXPECT_EQ(map.Fuse(489), 1);
}

TEST(FuseNumberText, CutsAndClampsToTheLastFuse) {
  struct Case {
    const char* text;
    int64_t count;
    const char* result;
  };
  for (const Case& c :
       {Case{"", 5892, "00000000"}, Case{"12a34", 5892, "12"}, Case{"A12", 5892, "00000000"},
        Case{"5891", 5892, "5891"}, Case{"5892", 5892, "00005891"},
        Case{"123456789", 5892, "00005891"}, Case{"00000012345", 5892, "00000012"},
        Case{"123456789", 1000000000, "123456789"}, Case{"7", 0, "00000000"}}) {
    EXPECT_EQ(FuseNumberText(c.text, c.count), c.result) << c.text << " of " << c.count;
  }
}

TEST_F(FuseEditorTest, FillChecksItsRangeThenFills) {
  FuseMapEditor& e = Select(5892, 44, 134);
  struct Refusal {
    const char* start;
    const char* end;
    const char* caption;
  };
  for (const Refusal& r : {Refusal{"100", "99", "Error"}, Refusal{"100", "100", "Error"},
                           Refusal{"0", "5892", "ERROR"}}) {
    messages.boxes.clear();
    EXPECT_FALSE(e.AcceptFill(r.start, r.end, 1));
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, "Input Value Error !");
    EXPECT_EQ(messages.boxes[0].caption, r.caption);
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Stop);
  }
  EXPECT_FALSE(e.ApplyFill());

  const FuseMapEditor::FillTexts max = e.MaxTexts();
  EXPECT_EQ(max.start, "00000000");
  EXPECT_EQ(FuseNumberText(max.end, e.FuseCount()), "00005891");
  ASSERT_TRUE(e.AcceptFill(max.start, "00005891", 1));
  ASSERT_TRUE(e.ApplyFill());
  EXPECT_EQ(Map(), std::vector<uint8_t>(5892, 1));

  ASSERT_TRUE(e.AcceptFill("100", "199", 0));
  ASSERT_TRUE(e.ApplyFill());
  for (int64_t n = 0; n < 5892; ++n) ASSERT_EQ(map.Fuse(n), n < 100 || n > 199) << n;
  EXPECT_EQ(e.FillBit(), 0);
  EXPECT_EQ(e.FillEnd(), 199);
  // The dialog reopens on the last start, with the last fuse as its end.
  const FuseMapEditor::FillTexts again = e.FillDialogTexts();
  EXPECT_EQ(again.start, "0000100");
  EXPECT_EQ(again.end, "0005891");
  EXPECT_EQ(again.bit, 0);
  e.CancelFill();
  EXPECT_FALSE(e.ApplyFill());
}

const std::string kAllOnes = "\x02*F1*\x03";

TEST_F(FuseEditorTest, LoadCommitsOnlyAWholeFile) {
  FuseMapEditor& e = Select(64, 8, 8);
  const std::string good = File("ones.jed", kAllOnes);
  ASSERT_TRUE(Load(good));
  ASSERT_EQ(files.requests.size(), 1u);
  EXPECT_EQ(files.requests[0].title, "LOAD");
  EXPECT_EQ(files.requests[0].filter, "JED Files.|*.jed|All Files.|*.*");
  EXPECT_TRUE(files.requests[0].must_exist);
  EXPECT_EQ(Map(), std::vector<uint8_t>(64, 1));
  EXPECT_EQ(e.JedFileName(), good);
  EXPECT_EQ(e.JedText(), kAllOnes);
  EXPECT_EQ(host.load_path, good);
  EXPECT_EQ(host.sum, "000007F8");
  EXPECT_TRUE(host.sum_red);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].caption, "Get Check Sum");
  for (size_t i = 0; i < buffer.BufSize(); ++i) ASSERT_EQ(buffer.Bytes()[i], i < 64) << i;
  // The chooser opens where the last file was.
  EXPECT_EQ(Load(""), false);
  EXPECT_EQ(files.requests.back().initial_dir, dir_.string());

  struct Refused {
    const char* name;
    std::string text;
    const char* box;
    const char* caption;
  };
  const Refused refused[] = {
      {"list beyond the count", "\x02*L0 0000*L65 1*\x03", "Fuse Size is not Match", "Error"},
      {"QF of another device", "\x02*QF2194*L0 0*\x03", "Fuse Size is not Match", "Error"},
      {"no STX", "*L0 0*\x03", "This file is not a JEDEC file", "OPEN ERROR"},
      {"no fuse field", "\x02*N only a note*\x03", "This file is not a JEDEC file", "OPEN ERROR"},
  };
  for (const Refused& r : refused) {
    SCOPED_TRACE(r.name);
    messages.boxes.clear();
    const int sums = host.sums;
    EXPECT_FALSE(Load(File("bad.jed", r.text)));
    ASSERT_EQ(messages.boxes.size(), 1u);  // no checksum box after the refusal
    EXPECT_EQ(messages.boxes[0].text, r.box);
    EXPECT_EQ(messages.boxes[0].caption, r.caption);
    EXPECT_EQ(Map(), std::vector<uint8_t>(64, 1));
    EXPECT_EQ(buffer.Bytes()[0], 1);
    EXPECT_EQ(e.JedFileName(), good);
    EXPECT_EQ(host.load_path, good);
    EXPECT_EQ(host.sums, sums);
  }

  // A new file sets what it does not list to 0, not to the last file's fuses.
  ASSERT_TRUE(Load(File("sparse.jed", "\x02*L1 1*\x03")));
  std::vector<uint8_t> expected(64, 0);
  expected[1] = 1;
  EXPECT_EQ(Map(), expected);
}

TEST_F(FuseEditorTest, LoadRefusesFilesItCannotOrMustNotRead) {
  Select(64, 8, 8);
  const std::string huge = Path("huge.jed");
  testing::WriteFile(huge, kAllOnes);
  fs::resize_file(huge, FuseMapEditor::kJedecSlack + 64 * FuseMapEditor::kJedecBytesPerFuse + 1);
  const std::string pipe = Path("pipe.jed");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  fs::create_directory(Path("folder.jed"));

  struct Case {
    std::string path;
    std::string box;
    const char* caption;
  };
  for (const Case& c :
       {Case{huge, "File size is too big", "Load Error"},
        Case{pipe, pipe + " cannot be read.", "Load Error"},
        Case{Path("folder.jed"), Path("folder.jed") + " cannot be read.", "Load Error"},
        Case{Path("missing.jed"), Path("missing.jed") + " cannot be read.", "Load Error"}}) {
    messages.boxes.clear();
    EXPECT_FALSE(Load(c.path));
    ASSERT_EQ(messages.boxes.size(), 1u) << c.path;
    EXPECT_EQ(messages.boxes[0].text, c.box);
    EXPECT_EQ(messages.boxes[0].caption, c.caption);
    EXPECT_EQ(Map(), std::vector<uint8_t>(64, 0));
    EXPECT_EQ(host.load_path, "");
  }
}

TEST_F(FuseEditorTest, CopyIntoTheBufferStopsAtItsEnd) {
  Select(20000, 100, 200);
  ASSERT_LT(buffer.BufSize(), 20000u);
  ASSERT_TRUE(Load(File("ones.jed", kAllOnes)));
  for (size_t i = 0; i < buffer.BufSize(); ++i) ASSERT_EQ(buffer.Bytes()[i], 1) << i;
  EXPECT_EQ(host.step_fails, 0);
}

TEST_F(FuseEditorTest, SaveWritesOurFileAndAsksBeforeReplacing) {
  FuseMapEditor& e = Select(100, 7, 15);
  for (size_t i = 0; i < 100; i += 3) map.SetFuse(i, 1);
  const std::string ours = WriteJedecText(map, 7);
  const std::string file = Path("out.jed");

  files.answers.push_back(file);
  ASSERT_TRUE(e.Gal_SaveClick());
  ASSERT_EQ(files.requests.size(), 1u);
  EXPECT_EQ(files.requests[0].title, "SAVE");
  EXPECT_EQ(files.requests[0].filter, "JED Files|*.jed|All File|*.*");
  EXPECT_EQ(files.requests[0].default_extension, "JED");
  EXPECT_EQ(testing::ReadFile(file), ours);
  EXPECT_EQ(e.JedFileName(), file);
  EXPECT_TRUE(messages.boxes.empty());

  testing::WriteFile(file, "previous");
  files.answers.push_back(file);
  messages.answers.push_back(MessageResult::Cancel);
  EXPECT_FALSE(e.Gal_SaveClick());
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "File is Exist ! ");
  EXPECT_EQ(messages.boxes[0].caption, "");
  EXPECT_EQ(messages.boxes[0].buttons, MessageButtons::OkCancel);
  EXPECT_EQ(testing::ReadFile(file), "previous");

  files.answers.push_back(file);
  EXPECT_TRUE(e.Gal_SaveClick());
  EXPECT_EQ(testing::ReadFile(file), ours);

  files.answers.push_back("");
  EXPECT_FALSE(e.Gal_SaveClick());
}

// Runs `check` without the right to override file permissions: in a child
// process as "nobody" when the tests run as root. True when it passed.
bool AsUnprivilegedUser(const std::function<bool()>& check) {
  if (::geteuid() != 0) return check();
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    ::_exit(check() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(FuseEditorTest, SaveIntoAReadOnlyFolderFailsAndKeepsThePreviousFile) {
  FuseMapEditor& e = Select(100, 7, 15);
  const fs::path folder = dir_ / "readonly";
  fs::create_directory(folder);
  const std::string file = (folder / "out.jed").string();
  testing::WriteFile(file, "previous");
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  files.answers.push_back(file);

  const bool refused = AsUnprivilegedUser([&] {
    const bool saved = e.Gal_SaveClick();
    const auto& last = messages.boxes.back();
    return !saved && last.text.rfind("File write error !\n\n" + file + ": ", 0) == 0 &&
           last.caption == "SAVE" && last.icon == MessageIcon::Stop && e.JedFileName().empty();
  });
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_TRUE(refused);
  EXPECT_EQ(testing::ReadFile(file), "previous");
  EXPECT_THAT(std::vector<fs::path>(fs::directory_iterator(folder), fs::directory_iterator()),
              ElementsAre(fs::path(file)));
}

}  // namespace
}  // namespace quenlet
