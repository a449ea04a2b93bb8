#include "ui/controls/color_ref.h"

#include <gtest/gtest.h>

namespace quenlet {
namespace {

struct ColorCase {
  uint32_t value;
  const char* name;
};

TEST(ColorRefTest, RedIsTheLowByte) {
  const ColorCase cases[] = {
      {0x00FFFF, "#ffff00"}, {255, "#ff0000"},      {0x00FF00, "#00ff00"},
      {0xFF0000, "#0000ff"}, {0x123456, "#563412"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FromColorRef(c.value).name().toStdString(), c.name) << std::hex << c.value;
    EXPECT_EQ(ToColorRef(FromColorRef(c.value)), c.value);
  }
}

}  // namespace
}  // namespace quenlet
