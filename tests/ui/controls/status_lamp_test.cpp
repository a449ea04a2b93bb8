// The status lamp on the offscreen platform.
#include "ui/controls/status_lamp.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QEnterEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "ui/controls/color_ref.h"
#include "ui/controls/flood_fill.h"
#include "ui/screenshot.h"

namespace quenlet {
namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;

// The colour the lamp shows at its centre, as a person would see it.
QString Centre(TALed& lamp) {
  const QImage shot = lamp.grab().toImage();
  return QColor(shot.pixel(shot.width() / 2, shot.height() / 2)).name();
}

TEST(StatusLamp, NewLampIsASmallSilverLampWithoutTimer) {
  TALed lamp;
  EXPECT_EQ(lamp.size(), QSize(16, 16));
  EXPECT_EQ(lamp.TrueColor(), 65280u);
  EXPECT_EQ(lamp.FalseColor(), 12632256u);
  EXPECT_TRUE(lamp.Blink());
  EXPECT_EQ(lamp.Interval(), 1000);
  EXPECT_FALSE(lamp.Value());
  EXPECT_EQ(lamp.LEDStyle(), TLEDStyle::LEDSmall);
  EXPECT_EQ(lamp.ShownBitmap(), 1);
  EXPECT_EQ(lamp.BlinkTimer(), nullptr);
  EXPECT_EQ(Centre(lamp), "#c0c0c0");
}

TEST(StatusLamp, OnBlinksBetweenTheColoursUntilOff) {
  TALed lamp;
  QSignalSpy ticks(&lamp, &TALed::OnTimer);
  lamp.ChangeValue(true);
  EXPECT_EQ(Centre(lamp), "#00ff00");
  ASSERT_NE(lamp.BlinkTimer(), nullptr);
  EXPECT_TRUE(lamp.BlinkTimer()->isActive());
  EXPECT_EQ(lamp.BlinkTimer()->interval(), 1000);

  lamp.OnLedTimer();
  EXPECT_EQ(lamp.ShownBitmap(), 1);
  EXPECT_EQ(Centre(lamp), "#c0c0c0");
  lamp.OnLedTimer();
  EXPECT_EQ(Centre(lamp), "#00ff00");
  ASSERT_EQ(ticks.count(), 2);
  EXPECT_EQ(ticks.at(0).at(0).value<TALed*>(), &lamp);

  // A new interval applies to the running timer at once, and the timer is
  // really wired to the blink.
  lamp.SetInterval(10);
  EXPECT_EQ(lamp.BlinkTimer()->interval(), 10);
  EXPECT_TRUE(ticks.wait(5000));

  lamp.ChangeValue(false);
  EXPECT_EQ(lamp.BlinkTimer(), nullptr);
  EXPECT_EQ(lamp.ShownBitmap(), 1);
  EXPECT_EQ(Centre(lamp), "#c0c0c0");
}

TEST(StatusLamp, BlinkDecidesWhetherAnOnLampHasATimer) {
  TALed lamp;
  lamp.ChangeBlink(false);
  lamp.ChangeValue(true);
  EXPECT_EQ(lamp.BlinkTimer(), nullptr);
  EXPECT_EQ(Centre(lamp), "#00ff00");
  lamp.ChangeBlink(true);
  ASSERT_NE(lamp.BlinkTimer(), nullptr);
  EXPECT_EQ(lamp.ShownBitmap(), 0);
  lamp.OnLedTimer();
  // Stopping the blink shows the lamp's value again.
  lamp.ChangeBlink(false);
  EXPECT_EQ(lamp.BlinkTimer(), nullptr);
  EXPECT_EQ(Centre(lamp), "#00ff00");
}

TEST(StatusLamp, RecolourKeepsTheStateAndAnEqualColourChangesNothing) {
  TALed lamp;
  lamp.ChangeValue(true);
  const QTimer* timer = lamp.BlinkTimer();
  const qint64 on = lamp.OnBitmap().cacheKey();
  lamp.SetTrueColor(TALed::kLime);
  lamp.SetFalseColor(TALed::kSilver);
  EXPECT_EQ(lamp.BlinkTimer(), timer);
  EXPECT_EQ(lamp.OnBitmap().cacheKey(), on);

  lamp.OnLedTimer();  // showing the off colour
  lamp.SetTrueColor(0x00FFFF);
  ASSERT_NE(lamp.BlinkTimer(), nullptr);  // still blinking, from the on colour
  EXPECT_EQ(lamp.ShownBitmap(), 0);
  EXPECT_EQ(Centre(lamp), "#ffff00");

  TALed off;
  off.SetFalseColor(0x00FFFF);  // yellow as a Windows colour value
  EXPECT_EQ(off.BlinkTimer(), nullptr);
  EXPECT_EQ(Centre(off), "#ffff00");
  off.SetFalseColor(255);
  EXPECT_EQ(Centre(off), "#ff0000");
}

TEST(StatusLamp, EachStyleHasItsSizeAndTakesAnyColour) {
  const struct {
    TLEDStyle style;
    QSize size;
    const char* name;
  } styles[] = {
      {TLEDStyle::LEDSmall, {16, 16}, "small"},
      {TLEDStyle::LEDLarge, {22, 22}, "large"},
      {TLEDStyle::LEDSqSmall, {16, 16}, "sq-small"},
      {TLEDStyle::LEDSqLarge, {22, 22}, "sq-large"},
      {TLEDStyle::LEDVertical, {14, 22}, "vertical"},
      {TLEDStyle::LEDHorizontal, {22, 14}, "horizontal"},
  };
  const uint32_t colours[] = {TALed::kSilver, TALed::kLime, 0x00FFFF, 255};
  const int cell = 34;
  for (const qreal scale : {1.0, 2.0}) {
    QImage sheet(QSize(cell * 6, cell * 4) * scale, QImage::Format_ARGB32);
    sheet.setDevicePixelRatio(scale);
    sheet.fill(QColor(0xF4, 0xF6, 0xF8));
    QPainter p(&sheet);
    for (int column = 0; column < 6; ++column) {
      const auto& s = styles[column];
      SCOPED_TRACE(s.name);
      TALed lamp;
      lamp.ChangeBlink(false);
      lamp.ChangeStyle(s.style);
      EXPECT_EQ(lamp.size(), s.size);
      EXPECT_EQ(lamp.sizeHint(), s.size);
      for (int row = 0; row < 4; ++row) {
        lamp.SetFalseColor(colours[row]);
        EXPECT_EQ(Centre(lamp), FromColorRef(colours[row]).name());
        p.save();
        p.translate(column * cell + (cell - s.size.width()) / 2,
                    row * cell + (cell - s.size.height()) / 2);
        lamp.render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
        p.restore();
      }
    }
    p.end();
    testing::SaveScreenshot(sheet, scale == 1.0 ? "status-lamps" : "status-lamps@2x");
  }
}

TEST(StatusLamp, TellsEnterLeaveAndClickAndIsAButtonToAssistiveTechnology) {
  TALed lamp;
  QSignalSpy enter(&lamp, &TALed::OnMouseEnter);
  QSignalSpy leave(&lamp, &TALed::OnMouseLeave);
  QSignalSpy click(&lamp, &TALed::OnClick);
  lamp.show();
  QEnterEvent in(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
  QApplication::sendEvent(&lamp, &in);
  QEvent out(QEvent::Leave);
  QApplication::sendEvent(&lamp, &out);
  QTest::mouseClick(&lamp, Qt::LeftButton, {}, QPoint(8, 8));
  ASSERT_EQ(enter.count(), 1);
  ASSERT_EQ(leave.count(), 1);
  ASSERT_EQ(click.count(), 1);
  EXPECT_EQ(click.at(0).at(0).value<TALed*>(), &lamp);

  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&lamp);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->role(), QAccessible::Button);
  EXPECT_EQ(a->text(QAccessible::Name), "Status lamp");
  EXPECT_EQ(lamp.focusPolicy(), Qt::NoFocus);
}

// Flood fill on small pictures: '#' black, '.' lime, 'r' red.
QImage Picture(const std::vector<std::string>& rows) {
  QImage image(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()),
               QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const char c = rows[y][x];
      image.setPixel(x, y, c == '#' ? kBlack : c == 'r' ? kRed : kLedSurface);
    }
  }
  return image;
}

std::vector<std::string> Rows(const QImage& image) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      row += c == kBlack ? '#' : c == kRed ? 'r' : c == kLedSurface ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

int Count(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
  }
  return n;
}

TEST(FloodFillSurface, FillsTheFourConnectedRegionUpToTheBezel) {
  const std::vector<std::string> ring = {
      "..#####", ".#...#.", "#..#..#", "#.###.#", "#..#..#", ".#...#.", "..#####",
  };
  const struct {
    const char* name;
    QPoint seed;
    QRgb fill;
    int changed;
    std::vector<std::string> after;
  } cases[] = {
      {"inside the ring, around the bar",
       {2, 2},
       kRed,
       16,
       {"..#####", ".#rrr#.", "#rr#rr#", "#r###r#", "#rr#rr#", ".#rrr#.", "..#####"}},
      // The corners touch the inside only diagonally: they stay lime.
      {"a corner",
       {0, 0},
       kRed,
       3,
       {"rr#####", "r#...#.", "#..#..#", "#.###.#", "#..#..#", ".#...#.", "..#####"}},
      {"seed on the bezel", {2, 0}, kRed, 0, ring},
      {"the surface colour itself", {2, 2}, kLedSurface, 0, ring},
      {"outside the picture", {7, 3}, kRed, 0, ring},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QImage image = Picture(ring);
    EXPECT_EQ(FloodFillSurface(image, c.seed, kLedSurface, c.fill), c.changed);
    EXPECT_EQ(Rows(image), c.after);
  }
}

TEST(FloodFillSurface, WorksOnPicturesOfOtherFormats) {
  QImage image = Picture({"...", ".#.", "..."}).convertToFormat(QImage::Format_RGB888);
  EXPECT_EQ(FloodFillSurface(image, {0, 0}, kLedSurface, kRed), 8);
  EXPECT_EQ(Rows(image), (std::vector<std::string>{"rrr", "r#r", "rrr"}));
}

TEST(FloodFillSurface, EveryShapeHasItsSurfaceAtTheCentre) {
  for (int s = 0; s <= 5; ++s) {
    const auto style = static_cast<TLEDStyle>(s);
    for (const qreal scale : {1.0, 2.0}) {
      SCOPED_TRACE(s);
      QImage shape = DrawLedShape(style, scale);
      EXPECT_EQ(shape.size(), LedStyleSize(style) * scale);
      EXPECT_EQ(shape.pixel(shape.width() / 2, shape.height() / 2), kLedSurface);
      // The fill reaches every surface pixel: no lime is left over.
      EXPECT_GT(FloodFillSurface(shape, {shape.width() / 2, shape.height() / 2}, kLedSurface, kRed),
                0);
      EXPECT_EQ(Count(shape, kLedSurface), 0);
    }
  }
}

}  // namespace
}  // namespace quenlet
