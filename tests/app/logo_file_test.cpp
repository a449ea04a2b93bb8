#include "app/logo_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace quenlet {
namespace {

class LogoFileTest : public testing::TempDirTest {};

TEST_F(LogoFileTest, HeaderStoredAtTheEndMovesToTheFront) {
  std::string header(kLogoHeaderSize, 'H');
  header[0] = 'B';
  header[1] = 'M';
  testing::WriteFile(Path("Temp0.cue"), "pixels" + header);
  EXPECT_EQ(RestoreLogoBitmap(Path("Temp0.cue")), header + "pixels");
  // A file of exactly the header is its own bitmap.
  testing::WriteFile(Path("Temp0.cue"), header);
  EXPECT_EQ(RestoreLogoBitmap(Path("Temp0.cue")), header);
  // Nothing is written beside the logo file.
  EXPECT_FALSE(std::filesystem::exists(Path("0.bmp")));
}

TEST_F(LogoFileTest, MissingShortOrHugeFileHoldsNoBitmap) {
  EXPECT_EQ(RestoreLogoBitmap(Path("Temp0.cue")), std::nullopt);
  for (size_t size : {size_t{0}, size_t{1}, kLogoHeaderSize - 1}) {
    SCOPED_TRACE(size);
    testing::WriteFile(Path("Temp0.cue"), std::string(size, 'x'));
    EXPECT_EQ(RestoreLogoBitmap(Path("Temp0.cue")), std::nullopt);
  }
  std::filesystem::create_directory(Path("folder.cue"));
  EXPECT_EQ(RestoreLogoBitmap(Path("folder.cue")), std::nullopt);
  // Too large for a logo: not read (a sparse file, nothing on the disk).
  testing::WriteFile(Path("Temp0.cue"), "");
  std::filesystem::resize_file(Path("Temp0.cue"), kLogoMaxSize + 1);
  EXPECT_EQ(RestoreLogoBitmap(Path("Temp0.cue")), std::nullopt);
}

}  // namespace
}  // namespace quenlet
