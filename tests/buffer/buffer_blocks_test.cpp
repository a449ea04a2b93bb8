// Block copy, move and swap, at the buffer's edges and over overlapping ranges,
// and the editor's block command read from History_1.ini.
#include "buffer/buffer_blocks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "buffer/data_buffer.h"
#include "platform/ini_file.h"

namespace quenlet {
namespace {

using ::testing::ElementsAreArray;
using Bytes = std::vector<uint8_t>;

enum class Op { Copy, Move, Swap };

bool RunBlock(Op op, int64_t start, int64_t end, Bytes& buffer, int64_t dest) {
  switch (op) {
    case Op::Copy:
      return BlockCopy(start, end, buffer, dest);
    case Op::Move:
      return BlockMove(start, end, buffer, dest);
    case Op::Swap:
      return BlockSwap(start, end, buffer, dest);
  }
  return false;
}

struct BlockCase {
  const char* name;
  Op op;
  Bytes before;
  int64_t start, end, dest;
  bool ok;
  Bytes after;
};

TEST(BlockOperations, MatchTheirDefinitionsAtEdgesAndOverlaps) {
  const BlockCase cases[] = {
      // Overlap, destination above the source.
      {"copy up", Op::Copy, {1, 2, 3, 4, 0, 0}, 0, 3, 2, true, {1, 2, 1, 2, 3, 4}},
      {"move up", Op::Move, {1, 2, 3, 4, 0, 0}, 0, 3, 2, true, {0, 0, 1, 2, 3, 4}},
      // Overlap, destination below the source.
      {"copy down", Op::Copy, {0, 0, 1, 2, 3, 4}, 2, 5, 0, true, {1, 2, 3, 4, 3, 4}},
      {"move down", Op::Move, {0, 0, 1, 2, 3, 4}, 2, 5, 0, true, {1, 2, 3, 4, 0, 0}},
      // Apart, the destination ending on the last byte.
      {"move apart", Op::Move, {1, 2, 3, 4, 0, 0}, 0, 1, 4, true, {0, 0, 3, 4, 1, 2}},
      {"swap apart", Op::Swap, {1, 2, 3, 4, 5, 6}, 0, 1, 4, true, {5, 6, 3, 4, 1, 2}},
      {"copy from the end", Op::Copy, {1, 2, 3, 4, 5, 6}, 4, 5, 0, true, {5, 6, 3, 4, 5, 6}},
      // Overlapping swap: the ascending loop rotates.
      {"swap up", Op::Swap, {1, 2, 3, 4}, 0, 2, 1, true, {2, 3, 4, 1}},
      {"swap down", Op::Swap, {1, 2, 3, 4}, 1, 3, 0, true, {2, 3, 4, 1}},
      // One byte is a block too.
      {"copy one", Op::Copy, {9, 0, 0, 0}, 0, 0, 3, true, {9, 0, 0, 9}},
      {"move one", Op::Move, {9, 0, 0, 0}, 0, 0, 3, true, {0, 0, 0, 9}},
      {"swap one", Op::Swap, {9, 0, 0, 7}, 0, 0, 3, true, {7, 0, 0, 9}},
      // Defined to do nothing.
      {"copy onto itself", Op::Copy, {1, 2, 3}, 0, 2, 0, true, {1, 2, 3}},
      {"move onto itself", Op::Move, {1, 2, 3}, 0, 2, 0, true, {1, 2, 3}},
      {"reversed range", Op::Move, {1, 2, 3}, 2, 1, 0, true, {1, 2, 3}},
      // Ranges leaving the buffer are refused whole.
      {"dest end past", Op::Copy, {1, 2, 3, 4, 5, 6}, 0, 1, 5, false, {1, 2, 3, 4, 5, 6}},
      {"source end past", Op::Move, {1, 2, 3, 4, 5, 6}, 4, 6, 0, false, {1, 2, 3, 4, 5, 6}},
      {"negative start", Op::Swap, {1, 2, 3, 4, 5, 6}, -1, 1, 3, false, {1, 2, 3, 4, 5, 6}},
      {"negative dest", Op::Copy, {1, 2, 3, 4, 5, 6}, 0, 1, -2, false, {1, 2, 3, 4, 5, 6}},
      {"huge dest", Op::Swap, {1, 2, 3, 4, 5, 6}, 0, 1, INT64_MAX, false, {1, 2, 3, 4, 5, 6}},
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes buffer = c.before;
    EXPECT_EQ(RunBlock(c.op, c.start, c.end, buffer, c.dest), c.ok);
    EXPECT_THAT(buffer, ElementsAreArray(c.after));
  }
}

class BlockAction : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("quenlet_block_action_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    path = (dir / "History_1.ini").string();
    buffer.SetHistoryIniPath(path);
    buffer.SetChangeHandler([this](BufferChange) { ++redraws; });
    for (size_t i = 0; i < 8; ++i) buffer.Bytes()[i] = uint8_t(i + 1);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  void Dialog(int start, int end, int dest, int action) {
    IniFile ini(path);
    ini.WriteInteger("BlockDlg", "StartAdd", start);
    ini.WriteInteger("BlockDlg", "EndAdd", end);
    ini.WriteInteger("BlockDlg", "DistSAdd", dest);
    ini.WriteInteger("BlockDlg", "Action", action);
  }
  Bytes Front() { return {buffer.Bytes().begin(), buffer.Bytes().begin() + 8}; }
  std::filesystem::path dir;
  std::string path;
  DataBuffer buffer;
  int redraws = 0;
};

TEST_F(BlockAction, RunsTheStoredActionAndRedraws) {
  Dialog(0, 1, 6, 1);  // move bytes 0..1 to 6
  EXPECT_TRUE(buffer.DoBlockAction());
  EXPECT_THAT(Front(), ElementsAreArray({0, 0, 3, 4, 5, 6, 1, 2}));
  EXPECT_EQ(redraws, 1);

  Dialog(2, 3, 0, 2);  // swap 2..3 with 0..1
  EXPECT_TRUE(buffer.DoBlockAction());
  EXPECT_THAT(Front(), ElementsAreArray({3, 4, 0, 0, 5, 6, 1, 2}));
}

TEST_F(BlockAction, SkipsEmptyOrSelfRangesAndRefusesRangesPastTheBuffer) {
  const int size = int(buffer.BufSize());
  Dialog(0, 0, 4, 0);  // EndAdd below 1
  EXPECT_TRUE(buffer.DoBlockAction());
  Dialog(3, 5, 3, 0);  // destination is the source
  EXPECT_TRUE(buffer.DoBlockAction());
  EXPECT_EQ(redraws, 0);
  Dialog(0, 3, size - 2, 0);  // destination end past the buffer
  EXPECT_FALSE(buffer.DoBlockAction());
  EXPECT_THAT(Front(), ElementsAreArray({1, 2, 3, 4, 5, 6, 7, 8}));
  const auto slack = buffer.Block().subspan(buffer.BufSize());
  EXPECT_TRUE(std::all_of(slack.begin(), slack.end(), [](uint8_t b) { return b == 0; }));
  Dialog(0, 3, 4, 7);  // no such action: nothing but the redraw
  EXPECT_FALSE(buffer.DoBlockAction());
  EXPECT_THAT(Front(), ElementsAreArray({1, 2, 3, 4, 5, 6, 7, 8}));
}

}  // namespace
}  // namespace quenlet
