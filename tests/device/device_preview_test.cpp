// The device dialog's preview of a part, the manufacturer's document and
// picture.
#include "device/device_preview.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/program_dir.h"

namespace quenlet::testing {
namespace {

class DevicePreviewTest : public ProgramDirTest {};

TEST_F(DevicePreviewTest, TextsFromTheIcIniFile) {
  const struct {
    const char* name;
    const char* keys;
    DevicePreviewTexts texts;
  } cases[] = {
      {"memory",
       "PIN=28\r\nTYPE=EPROM\r\nICSIZE=32768\r\nManCode=0x20\r\nDevCode=0x8C\r\n"
       "read_vcc=50\r\nprogram_vcc=65\r\nprogram_vpp=125\r\nNote=Erase by UV light\r\n",
       {"PIN : 28", "SIZE : 32768 ", " Manufacturer ID : 0x20      Device ID : 0x8C", "VCC = 5.0 V",
        "VCCP = 6.5 V", "VPP = 12.5 V", "Note : Erase by UV light"}},
      {"fuse device, no note",
       "PIN=20\r\nTYPE=PLD\r\nFUSE=2194\r\nICSIZE=9\r\nread_vcc=5V\r\nprogram_vpp=V\r\n",
       {"PIN : 20", "FUSE : 2194 ", " Manufacturer ID : <none>      Device ID : <none>",
        "VCC = 0.5 V", "VCCP = 0.0 V", "VPP = 0.0 V", "Note : None."}},
      // Each value is cut to the room the preview gives it.
      {"long values",
       "PIN=123456789\r\nICSIZE=0123456789ABCDEFG\r\nread_vcc=123456\r\nNote=\r\n",
       {"PIN : 1234567", "SIZE : 0123456789ABCDE ",
        " Manufacturer ID : <none>      Device ID : <none>", "VCC = 123.4 V", "VCCP = 0.0 V",
        "VPP = 0.0 V", "Note : "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Put("INI/dev.ini", std::string("[VK_KZExternValue]\r\n") + c.keys);
    EXPECT_EQ(ReadDevicePreview(Paths(), "DEV.INI"), c.texts);
  }
}

TEST_F(DevicePreviewTest, NoFileAndNoPartFile) {
  EXPECT_EQ(ReadDevicePreview(Paths(), "<none>"), std::nullopt);
  for (const char* file : {"missing.ini", "..\\..\\etc\\passwd"}) {
    const std::optional<DevicePreviewTexts> t = ReadDevicePreview(Paths(), file);
    ASSERT_TRUE(t.has_value()) << file;
    EXPECT_EQ(t->pin, "PIN : <none>");
    EXPECT_EQ(t->size, "SIZE : <none> ");
    EXPECT_EQ(t->vcc, "VCC = 0.0 V");
    EXPECT_EQ(t->note, "Note : None.");
  }
}

TEST_F(DevicePreviewTest, CutsNeverSplitACharacter) {
  // Eight bytes of room: 7 bytes, but the third UTF-8 character would be cut.
  Put("INI/u.ini", "[VK_KZExternValue]\r\nPIN=\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97\r\n");
  EXPECT_EQ(ReadDevicePreview(Paths(), "u.ini")->pin, "PIN : \xE4\xB8\xAD\xE6\x96\x87");
  // Big5: three characters and a half.
  Put("INI/b.ini", "[VK_KZExternValue]\r\nPIN=A\xA4\xA4\xA4\xE5\xA6\x72\xA6\x72\r\n");
  EXPECT_EQ(ReadDevicePreview(Paths(), "b.ini")->pin, "PIN : A\xA4\xA4\xA4\xE5\xA6\x72");
}

TEST_F(DevicePreviewTest, DocumentListAndSafeDocumentPaths) {
  Put("url/URLList.ini", "[Index]\r\nMaker=maker.html\r\nOther=None\r\n");
  Put("URL/maker.html", "<html/>");
  Put("URL/sub/deep.html", "<html/>");
  Put("outside.html", "<html/>");
  std::filesystem::create_symlink(dir_ / "outside.html", dir_ / "URL" / "link.html");
  ManufacturerDocuments documents(Paths());
  EXPECT_EQ(documents.Find("maker"), "maker.html");
  EXPECT_EQ(documents.Find("Other"), "None");
  EXPECT_EQ(documents.Find("Unlisted"), "None");

  EXPECT_EQ(ManufacturerDocumentPath(Paths(), "MAKER.HTML"),
            (dir_ / "URL" / "maker.html").string());
  EXPECT_TRUE(ManufacturerDocumentPath(Paths(), "sub\\deep.html").has_value());
  for (const char* refused : {"..\\outside.html", "/etc/passwd", "\\outside.html", "C:\\x.html",
                              "sub", "link.html", "absent.html", ""}) {
    EXPECT_EQ(ManufacturerDocumentPath(Paths(), refused), std::nullopt) << refused;
  }
}

// A desktop opener may run what it is handed: only documents of the listed
// kinds that are not executable are handed on.
TEST_F(DevicePreviewTest, OnlyDocumentsThatAreNotProgramsAreOpened) {
  for (const char* document :
       {"a.pdf", "b.HTM", "c.html", "d.txt", "e.png", "f.JPG", "g.gif", "h.bmp", "run.desktop",
        "run.sh", "noext", "i.jpeg", "j.pdf.sh", "prog.pdf"}) {
    Put(std::string("URL/") + document, "document");
  }
  std::filesystem::permissions(dir_ / "URL" / "prog.pdf", std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
  std::filesystem::create_symlink(dir_ / "URL" / "run.desktop", dir_ / "URL" / "link.pdf");
  for (const char* opened :
       {"a.pdf", "b.HTM", "c.html", "d.txt", "e.png", "f.JPG", "g.gif", "h.bmp"}) {
    EXPECT_EQ(ManufacturerDocumentPath(Paths(), opened), (dir_ / "URL" / opened).string())
        << opened;
  }
  for (const char* refused :
       {"run.desktop", "run.sh", "noext", "i.jpeg", "j.pdf.sh", "prog.pdf", "link.pdf"}) {
    EXPECT_EQ(ManufacturerDocumentPath(Paths(), refused), std::nullopt) << refused;
  }
}

TEST_F(DevicePreviewTest, PictureOfTheManufacturerElseTheEmptyOne) {
  EXPECT_EQ(ManufacturerPicturePath(Paths(), "Maker"), std::nullopt);
  Put("Bmpdata/NULL.bmp", "BM");
  EXPECT_EQ(ManufacturerPicturePath(Paths(), "Maker"), (dir_ / "Bmpdata" / "NULL.bmp").string());
  Put("BMPDATA/maker.BMP", "BM");
  std::filesystem::remove_all(dir_ / "Bmpdata");
  EXPECT_EQ(ManufacturerPicturePath(Paths(), "Maker"), (dir_ / "BMPDATA" / "maker.BMP").string());
}

}  // namespace
}  // namespace quenlet::testing
