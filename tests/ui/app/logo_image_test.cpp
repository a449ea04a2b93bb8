// Logo pictures from damaged files: refused when their pixels are cut
// short, and never with a pixel that names a colour the table lacks.
#include "ui/app/logo_image.h"

#include <gtest/gtest.h>

#include "ui/app/bitmap_bytes.h"

namespace quenlet::testing {
namespace {

TEST(LogoImage, PixelDataShorterThanTheHeaderClaimsIsRefused) {
  const struct {
    const char* name;
    std::string bitmap;
  } cases[] = {
      // 72 bytes: four colours and 2 of the 16 pixel bytes of a 4 x 4 picture.
      {"8-bit, two pixel bytes", Bitmap(4, 4, 8, 4, std::string(2, '\x01'))},
      {"8-bit, one row short", Bitmap(4, 4, 8, 4, std::string(12, '\x01'))},
      {"24-bit top-down, one byte short", Bitmap(2, -2, 24, 0, std::string(15, '\x7F'))},
      {"a width no file holds", Bitmap(0x7FFFFFFF, 1, 8, 4, std::string(16, '\0'))},
      {"no bitmap", std::string(60, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(DecodeLogoBitmap(c.bitmap).isNull());
  }
  // Whole pixel rows decode.
  EXPECT_FALSE(DecodeLogoBitmap(Bitmap(4, 4, 8, 4, std::string(16, '\x01'))).isNull());
  const QImage top_down = DecodeLogoBitmap(Bitmap(2, -2, 24, 0, std::string(16, '\x7F')));
  ASSERT_FALSE(top_down.isNull());
  EXPECT_EQ(top_down.pixel(1, 1), qRgb(0x7F, 0x7F, 0x7F));
}

TEST(LogoImage, IndicesPastTheColourTableShowBlack) {
  // Four colours; the second pixel of every row names colour 200.
  std::string rows;
  for (int r = 0; r < 4; ++r) rows += std::string{'\x01', '\xC8', '\x02', '\x03'};
  const QImage image = DecodeLogoBitmap(Bitmap(4, 4, 8, 4, rows));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.format(), QImage::Format_Indexed8);
  EXPECT_EQ(image.colorCount(), 256);
  EXPECT_EQ(image.pixel(0, 0), qRgb(0x80, 0x80, 0x80));
  EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 0));
  // Scaled as the toolbar scales it.
  const QImage scaled = image.scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  EXPECT_EQ(scaled.size(), QSize(40, 40));
}

}  // namespace
}  // namespace quenlet::testing
