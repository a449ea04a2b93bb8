// The LCD picture box and the buffer map, with glyph sheets and cell
// pictures made here.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include "ui/controls/buffer_map.h"
#include "ui/controls/lcd_pain_box.h"
#include "ui/screenshot.h"

namespace quenlet {
namespace {

constexpr QRgb kBackground = qRgb(145, 138, 142);

// A glyph sheet whose cell for code n is filled with a colour of its own,
// with one dark pixel at the cell's top left so that glyphs are told apart.
QImage ColourSheet() {
  QImage sheet(16 * TLcdPainBox::kCellWidth, 16 * TLcdPainBox::kCellHeight, QImage::Format_RGB32);
  for (int code = 0; code < 256; ++code) {
    const QRect cell((code & 15) * TLcdPainBox::kCellWidth, (code >> 4) * TLcdPainBox::kCellHeight,
                     TLcdPainBox::kCellWidth, TLcdPainBox::kCellHeight);
    QPainter(&sheet).fillRect(cell, QColor(code, 255 - code, (code * 7) & 0xFF));
    sheet.setPixel(cell.topLeft(), qRgb(0, 0, 0));
  }
  return sheet;
}

// A readable sheet: digits and capitals drawn in a 9 x 13 cell, dark on clear.
QImage LetterSheet() {
  QImage sheet(16 * TLcdPainBox::kCellWidth, 16 * TLcdPainBox::kCellHeight, QImage::Format_RGB32);
  sheet.fill(kBackground);
  QPainter painter(&sheet);
  QFont font("DejaVu Sans Mono");
  font.setPixelSize(11);
  painter.setFont(font);
  painter.setPen(QColor(30, 34, 40));
  for (int code = 0x21; code < 0x7F; ++code) {
    const QRect cell((code & 15) * TLcdPainBox::kCellWidth, (code >> 4) * TLcdPainBox::kCellHeight,
                     TLcdPainBox::kCellWidth, TLcdPainBox::kCellHeight);
    painter.drawText(cell, Qt::AlignCenter, QString(QChar(code)));
  }
  return sheet;
}

QRgb Rgb(QRgb pixel) {
  return pixel & 0x00FFFFFF;
}

QPoint CellOrigin(int row, int column) {
  return {(TLcdPainBox::kGapX + TLcdPainBox::kCellWidth) * column + TLcdPainBox::kGapX,
          (TLcdPainBox::kGapY + TLcdPainBox::kCellHeight) * row + TLcdPainBox::kGapY};
}

TEST(LcdPainBox, HasItsSizeAndDefaults) {
  TLcdPainBox lcd;
  EXPECT_EQ(lcd.size(), QSize(202, 58));
  EXPECT_EQ(lcd.RED(), 145);
  EXPECT_EQ(lcd.GREEN(), 138);
  EXPECT_EQ(lcd.BLUE(), 142);
  EXPECT_EQ(lcd.Text().size(), 100u);
}

TEST(LcdPainBox, WithoutGlyphSheetDrawsOnlyTheBackground) {
  TLcdPainBox lcd;
  const QImage image = lcd.grab().toImage();
  EXPECT_EQ(Rgb(image.pixel(0, 0)), 0u) << "black frame";
  EXPECT_EQ(Rgb(image.pixel(201, 57)), 0u);
  for (int y = 1; y < 57; ++y) {
    for (int x = 1; x < 201; ++x)
      ASSERT_EQ(Rgb(image.pixel(x, y)), Rgb(kBackground)) << x << "," << y;
  }
}

TEST(LcdPainBox, CursorCellShowsItsGlyphXorTheBackground) {
  TLcdPainBox lcd;
  lcd.SetDataPictur(ColourSheet());
  std::array<uint8_t, 81> text;
  text.fill(' ');
  text[80] = 0;  // cursor on the first cell
  EXPECT_TRUE(lcd.SetText(text));
  const QImage image = lcd.grab().toImage();
  const QImage sheet = ColourSheet();
  const QPoint space_glyph((' ' & 15) * 9, (' ' >> 4) * 13);
  for (QPoint at : {QPoint(0, 0), QPoint(4, 6), QPoint(8, 12)}) {
    const QRgb glyph = Rgb(sheet.pixel(space_glyph + at));
    EXPECT_EQ(Rgb(image.pixel(CellOrigin(0, 0) + at)), glyph ^ Rgb(kBackground));
    EXPECT_EQ(Rgb(image.pixel(CellOrigin(0, 1) + at)), glyph);
    EXPECT_EQ(Rgb(image.pixel(CellOrigin(3, 19) + at)), glyph);
  }
  text[5] = 'A';
  text[80] = 200;  // past the last cell: no cursor
  lcd.SetText(text);
  const QImage moved = lcd.grab().toImage();
  EXPECT_EQ(Rgb(moved.pixel(CellOrigin(0, 0) + QPoint(4, 6))),
            Rgb(sheet.pixel(space_glyph + QPoint(4, 6))));
  EXPECT_EQ(Rgb(moved.pixel(CellOrigin(0, 5) + QPoint(4, 6))),
            Rgb(sheet.pixel(QPoint(('A' & 15) * 9 + 4, ('A' >> 4) * 13 + 6))));
}

TEST(LcdPainBox, TextCopiesAreBoundedByTheCallersBlock) {
  TLcdPainBox lcd;
  std::vector<uint8_t> full(200, 'x');
  lcd.SetText(full);
  EXPECT_EQ(lcd.Text()[80], 'x');
  EXPECT_EQ(lcd.Text()[81], 0) << "only the characters and the cursor byte";
  const uint8_t shorter[3] = {'a', 'b', 'c'};
  lcd.SetText(shorter);
  EXPECT_EQ(lcd.Text()[2], 'c');
  EXPECT_EQ(lcd.Text()[3], 'x') << "the rest stays";
  lcd.SetText({});
  EXPECT_EQ(lcd.Text()[0], 'a');
}

TEST(LcdPainBox, ColourComponentsAreBroughtIntoAByteOnDrawing) {
  struct Case {
    int value, stored;
  };
  for (const Case& c : {Case{300, 44}, Case{256, 0}, Case{-1, 255}, Case{-300, 212}, Case{7, 7}}) {
    TLcdPainBox lcd;
    lcd.SetRED(c.value);
    lcd.SetGREEN(c.value);
    lcd.SetBLUE(c.value);
    lcd.DrawAll();
    EXPECT_EQ(lcd.RED(), c.stored) << c.value;
    EXPECT_EQ(lcd.GREEN(), c.stored);
    EXPECT_EQ(lcd.BLUE(), c.stored);
    EXPECT_EQ(Rgb(lcd.grab().toImage().pixel(100, 30)), Rgb(qRgb(c.stored, c.stored, c.stored)));
  }
}

// ---- buffer map -----------------------------------------------------------------

QImage Picture(int width, int height, QRgb colour) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(colour);
  return picture;
}

TEST(BufferMap, CellValuesAndCountsStayInTheirRanges) {
  TBufferMap map;
  EXPECT_EQ(map.size(), QSize(40, 40));
  EXPECT_EQ(map.Colls_W(), 10);
  EXPECT_EQ(map.Colls_H(), 6);
  struct Set {
    int row, column, value;
    bool stored;
  };
  const Set sets[] = {{5, 5, 4, false},  {5, 5, -1, false},  {5, 5, 3, true},
                      {99, 99, 1, true}, {100, 0, 1, false}, {0, -1, 1, false},
                      {-1, 0, 2, false}, {0, 100, 2, false}, {0, 0, 2, true}};
  for (const Set& s : sets) {
    const int before = map.ReadArrValue(s.row, s.column);
    map.SetArrValue(s.row, s.column, s.value);
    EXPECT_EQ(map.ReadArrValue(s.row, s.column), s.stored ? s.value : before)
        << s.row << "," << s.column << " := " << s.value;
  }
  EXPECT_EQ(map.ReadArrValue(100, 0), 0);
  EXPECT_EQ(map.ReadArrValue(-1, -1), 0);

  map.SetDataPictur(Picture(10, 8, qRgb(255, 0, 0)));
  for (int n : {100, -1, 1000}) {
    map.SetWColls(n);
    map.SetHColls(n);
  }
  EXPECT_EQ(map.Colls_W(), 10);
  EXPECT_EQ(map.Colls_H(), 6);
  map.SetWColls(12);
  map.SetHColls(7);
  EXPECT_EQ(map.width(), 124);
  EXPECT_EQ(map.height(), 60);
  map.SetWColls(0);
  EXPECT_EQ(map.width(), 4);
}

TEST(BufferMap, CellsShowThePictureOfTheirValueInASunkenFrame) {
  TBufferMap map;
  map.SetDataPictur(Picture(10, 8, qRgb(255, 0, 0)));
  map.SetBitLowPictur(Picture(10, 8, qRgb(0, 0, 255)));
  map.SetBitHeigh(Picture(10, 8, qRgb(0, 255, 0)));
  map.SetArrValue(0, 1, 1);
  map.SetArrValue(0, 2, 2);
  map.SetArrValue(0, 3, 3);
  map.SetArrValue(5, 9, 3);  // the frame's right edge shows beside an empty cell
  const QImage image = map.grab().toImage();
  auto cell = [&](int row, int column) {
    return Rgb(image.pixel(column * 10 + 3 + 5, row * 8 + 3 + 4));
  };
  EXPECT_EQ(cell(0, 0), Rgb(qRgb(0, 0, 255))) << "0: Picture_BitLow";
  EXPECT_EQ(cell(0, 1), Rgb(qRgb(0, 255, 0))) << "1: Picture_BitHeigh";
  EXPECT_EQ(cell(0, 2), Rgb(qRgb(255, 0, 0))) << "2: Picture_Data";
  EXPECT_EQ(cell(0, 3), Rgb(qRgb(0xC0, 0xC0, 0xC0))) << "3: nothing";
  EXPECT_EQ(Rgb(image.pixel(0, 0)), 0u);
  EXPECT_EQ(Rgb(image.pixel(5, 1)), Rgb(qRgb(0x80, 0x80, 0x80)));
  EXPECT_EQ(Rgb(image.pixel(map.width() - 2, 5 * 8 + 3 + 4)), Rgb(qRgb(0xFF, 0xFF, 0xFF)));
}

TEST(LcdAndBufferMap, Screenshots) {
  TLcdPainBox lcd;
  lcd.SetDataPictur(LetterSheet());
  std::string text =
      "QUENLET  PROGRAMMER "
      "DEVICE: 27C512      "
      "SUM   : 007F7553    "
      "PASS  : 0012        ";
  std::vector<uint8_t> block(text.begin(), text.end());
  block.push_back(48);  // the cursor on the third row
  lcd.SetText(block);
  lcd.show();
  EXPECT_TRUE(testing::SaveScreenshot(lcd, "lcd_pain_box"));

  TBufferMap map;
  QImage low = Picture(12, 12, qRgb(0xDC, 0xEB, 0xFA));
  QImage high = Picture(12, 12, qRgb(0x1F, 0x6F, 0xD1));
  QImage data = Picture(12, 12, qRgb(0x2E, 0x9E, 0x44));
  for (QImage* p : {&low, &high, &data}) {
    QPainter painter(p);
    painter.setPen(QColor(0xF4, 0xF6, 0xF8));
    painter.drawRect(0, 0, 11, 11);
  }
  map.SetBitLowPictur(low);
  map.SetBitHeigh(high);
  map.SetDataPictur(data);
  map.SetWColls(16);
  map.SetHColls(8);
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 16; ++c) map.SetArrValue(r, c, (r * 5 + c * 3) % 4);
  }
  map.show();
  EXPECT_TRUE(testing::SaveScreenshot(map, "buffer_map"));
}

}  // namespace
}  // namespace quenlet
