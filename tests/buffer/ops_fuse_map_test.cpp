// The fuse map holder: fuses 0/1 whoever writes them, then 4096 bytes of
// "no fuse", and the JEDEC fuse checksum over it.
#include <gtest/gtest.h>

#include <vector>

#include "buffer/fuse_map.h"
#include "state/buffer_limits.h"

namespace quenlet {
namespace {

TEST(FuseMap, FusesThenTheTailOfNoFuse) {
  FuseMap map;
  ASSERT_TRUE(map.Init(10));
  EXPECT_EQ(map.FuseCount(), 10u);
  ASSERT_EQ(map.Block().size(), 10u + 4096);
  for (size_t i = 0; i < map.Block().size(); ++i) {
    EXPECT_EQ(map.Block()[i], i < 10 ? 0 : FuseMap::kNoFuse) << i;
  }
  EXPECT_FALSE(map.SetFuse(10, 1));  // the tail is not a fuse
  EXPECT_EQ(map.Fuse(10), FuseMap::kNoFuse);
}

// No fuses, or more than the largest buffer holds (a device file's two
// 16-bit words can name up to 4 G): no map, and nothing allocated for it.
TEST(FuseMap, NoMapWithoutFusesOrAboveTheBufferLimit) {
  for (int64_t count :
       {int64_t{0}, int64_t{-1}, int64_t(kMaxBufferSize) + 1, int64_t{0xFFFFFFFF}}) {
    SCOPED_TRACE(count);
    FuseMap map;
    ASSERT_TRUE(map.Init(5));
    EXPECT_FALSE(map.Init(count));
    EXPECT_FALSE(map.HasMap());
    EXPECT_TRUE(map.Fuses().empty());
  }
}

// Every writer stores by the map's rule (non-zero is 1) and only inside the
// map; the sum and a verify's comparison see the fuses as stored.
TEST(FuseMap, EveryWriterStoresZeroOrOneInsideTheMap) {
  FuseMap map;
  ASSERT_TRUE(map.Init(6));
  EXPECT_TRUE(map.SetFuse(0, 0xFF));
  EXPECT_TRUE(map.StoreFuses(1, std::vector<uint8_t>{0x02, 0x00, 0x80}));
  EXPECT_FALSE(map.StoreFuses(4, std::vector<uint8_t>{1, 1, 1}));  // one past the end
  EXPECT_FALSE(map.StoreFuses(7, {}));
  EXPECT_TRUE(map.FillFuses(4, 100, 7));  // cut at the last fuse
  EXPECT_FALSE(map.FillFuses(6, 6, 1));
  EXPECT_FALSE(map.FillFuses(3, 2, 1));
  EXPECT_EQ(std::vector<uint8_t>(map.Block().begin(), map.Block().begin() + 7),
            (std::vector<uint8_t>{1, 1, 0, 1, 1, 1, FuseMap::kNoFuse}));
  EXPECT_EQ(map.CheckSum(), 0x3Bu);
  EXPECT_EQ(map.CountDiffering(0, std::vector<uint8_t>{0x01, 0xFF, 0x00, 0x40, 0x00}), 1u);
  EXPECT_EQ(map.CountDiffering(5, std::vector<uint8_t>{0x01, 0x01}), 1u);  // past the end
}

TEST(FuseMap, CheckSumOfGroupsOfEight) {
  struct Case {
    std::vector<uint8_t> fuses;
    uint32_t sum;
  };
  for (const Case& c : {Case{{1, 0, 1}, 5}, Case{{1, 1, 1, 1, 1, 1, 1, 1, 1}, 0xFF + 1},
                        Case{{0, 0, 0, 0, 0, 0, 0, 1, 0, 1}, 0x80 + 0x02}}) {
    FuseMap map;
    ASSERT_TRUE(map.Init(static_cast<int64_t>(c.fuses.size())));
    for (size_t i = 0; i < c.fuses.size(); ++i) map.SetFuse(i, c.fuses[i]);
    EXPECT_EQ(map.CheckSum(), c.sum);
  }
}

TEST(FuseMap, ShownSumTurnsRedOnlyWhenItChanges) {
  FuseMap map;
  EXPECT_TRUE(map.TakeShownSum(7));
  EXPECT_FALSE(map.TakeShownSum(7));
  EXPECT_TRUE(map.TakeShownSum(0));
}

}  // namespace
}  // namespace quenlet
