// The scrolling text on the offscreen platform. Ticks are driven by calling
// the tick slot; no test waits for the timer.
#include "ui/controls/scroll_text.h"

#include <gtest/gtest.h>
#include <QPainter>

#include <string>
#include <vector>

#include "ui/screenshot.h"

namespace quenlet {
namespace {

// The control's events in order, with the Position each one saw.
struct EventLog {
  explicit EventLog(TScrollText& text) {
    QObject::connect(&text, &TScrollText::OnBegin, [this](TScrollText* t) {
      events.push_back("begin " + std::to_string(t->Position()));
    });
    QObject::connect(&text, &TScrollText::OnStep, [this](TScrollText* t) {
      events.push_back("step " + std::to_string(t->Position()));
    });
    QObject::connect(&text, &TScrollText::OnEnd, [this](TScrollText* t) {
      events.push_back("end " + std::to_string(t->Position()));
    });
  }
  std::vector<std::string> events;
};

TEST(ScrollText, NewControlScrollsOneLineFromRightToLeft) {
  TScrollText text;
  EXPECT_EQ(text.size(), QSize(200, 20));
  EXPECT_TRUE(text.Running());
  EXPECT_EQ(text.Timer().interval(), 100);
  EXPECT_EQ(text.ScrollDirection(), TScrollDirection::sdRightToLeft);
  EXPECT_EQ(text.Items(), QStringList{"ScrollText"});
  EXPECT_EQ(text.Steps(), 80);
  EXPECT_EQ(text.Speed(), 100);
  EXPECT_EQ(text.Depth(), 1);
  EXPECT_EQ(text.Position(), 0);
  EXPECT_TRUE(text.Continuous());
  EXPECT_EQ(text.Alignment(), TAlignment::taCenter);
  EXPECT_EQ(text.TextStyle(), TTextStyle::tsNormal);
  EXPECT_EQ(text.Color(), text.palette().color(QPalette::Button));
  EXPECT_EQ(text.FontColor(), QColor(Qt::black));
}

TEST(ScrollText, APassHasStepsPlusOneTicksAndContinuousStartsTheNext) {
  const struct {
    int steps;
    bool continuous;
    bool running_after;
  } cases[] = {{3, true, true}, {3, false, false}, {1, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.steps << (c.continuous ? " continuous" : " once"));
    TScrollText text;
    text.SetSteps(c.steps);
    text.SetContinuous(c.continuous);
    text.SetSizeParams();
    ASSERT_GT(text.TextWidth(), 0);
    EventLog log(text);
    // The last frame of a pass is painted with the text past the exit edge.
    int last_x = 0;
    QObject::connect(&text, &TScrollText::OnStep,
                     [&](TScrollText* t) { last_x = t->TextOrigin().x(); });
    for (int i = 0; i <= c.steps; ++i) text.TimerTick();

    std::vector<std::string> expected = {"begin 0"};
    for (int p = 1; p <= c.steps + 1; ++p) expected.push_back("step " + std::to_string(p));
    expected.push_back("end " + std::to_string(c.steps + 1));
    EXPECT_EQ(log.events, expected);
    EXPECT_EQ(text.Position(), 0);
    EXPECT_EQ(text.Running(), c.running_after);
    EXPECT_LT(last_x, -text.TextWidth());

    // Stopped, a tick does nothing; running, it begins the next pass.
    log.events.clear();
    text.TimerTick();
    const std::vector<std::string> next =
        c.continuous ? std::vector<std::string>{"begin 0", "step 1"} : std::vector<std::string>{};
    EXPECT_EQ(log.events, next);
  }
}

TEST(ScrollText, TheTextEntersAtOneEdgeAndLeavesAtTheOther) {
  TScrollText text;
  text.resize(300, 120);
  text.SetItems({"one", "two lines"});
  text.SetSizeParams();
  const int w = 300, h = 120, tw = text.TextWidth(), th = text.TextHeight();
  const int x0 = text.XOffset(), y0 = text.YOffset();
  ASSERT_GT(tw, 0);
  ASSERT_EQ(th, 2 * text.LineHeight());
  EXPECT_EQ(x0, (w - tw) / 2);
  EXPECT_EQ(y0, (h - th) / 2);
  const struct {
    TScrollDirection direction;
    QPoint at_start;
    QPoint at_end;
  } cases[] = {
      {TScrollDirection::sdRightToLeft, {w, y0}, {-tw, y0}},
      {TScrollDirection::sdLeftToRight, {-tw, y0}, {w, y0}},
      {TScrollDirection::sdTopToBottom, {x0, -th}, {x0, h}},
      {TScrollDirection::sdBottomToTop, {x0, h}, {x0, -th}},
      {TScrollDirection::sdStatic, {x0, y0}, {x0, y0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.direction));
    text.ScrollStop();
    text.SetDirection(c.direction);
    EXPECT_EQ(text.Running(), c.direction != TScrollDirection::sdStatic);
    text.ScrollStop();
    text.ScrollStart(0);
    EXPECT_EQ(text.TextOrigin(), c.at_start);
    text.ScrollStop();
    text.ScrollStart(text.Steps());
    EXPECT_EQ(text.TextOrigin(), c.at_end);
  }
}

TEST(ScrollText, StartKeepsThePositionWhenOutOfRangeAndLeavesARunningTimer) {
  TScrollText text;
  text.ScrollStop();
  text.ScrollStart(30);
  EXPECT_EQ(text.Position(), 30);
  text.ScrollStart(5);  // already running
  EXPECT_EQ(text.Position(), 30);
  for (int position : {-1, 81}) {
    text.ScrollStop();
    text.ScrollStart(position);
    EXPECT_TRUE(text.Running());
    EXPECT_EQ(text.Position(), 30);
  }
  // Direction and continuity changes start a stopped timer where it stands.
  text.ScrollStop();
  text.SetDirection(TScrollDirection::sdRightToLeft);
  EXPECT_TRUE(text.Running());
  text.ScrollStop();
  text.SetContinuous(false);
  EXPECT_TRUE(text.Running());
  EXPECT_EQ(text.Position(), 30);
}

TEST(ScrollText, ReverseGoesBackFromTheSamePlace) {
  TScrollText text;
  text.resize(300, 120);
  text.SetDirection(TScrollDirection::sdBottomToTop);
  text.ScrollStop();
  text.ScrollStart(30);
  text.SetSizeParams();
  const QPoint before = text.TextOrigin();
  text.ReverseDirection();
  EXPECT_EQ(text.ScrollDirection(), TScrollDirection::sdTopToBottom);
  EXPECT_EQ(text.Position(), 50);
  EXPECT_EQ(text.TextOrigin(), before);
  text.ReverseDirection();
  EXPECT_EQ(text.ScrollDirection(), TScrollDirection::sdBottomToTop);
  EXPECT_EQ(text.Position(), 30);

  text.SetDirection(TScrollDirection::sdStatic);
  text.ReverseDirection();
  EXPECT_EQ(text.ScrollDirection(), TScrollDirection::sdStatic);
  EXPECT_EQ(text.Position(), 30);
}

TEST(ScrollText, SpeedAndStepsStayWithinTheirBounds) {
  TScrollText text;
  const struct {
    int given, speed;
  } speeds[] = {{0, 1}, {5000, 1000}, {-5, 1}, {250, 250}, {1000, 1000}};
  for (const auto& s : speeds) {
    text.SetSpeed(s.given);
    EXPECT_EQ(text.Speed(), s.speed) << s.given;
    EXPECT_EQ(text.Timer().interval(), s.speed) << s.given;
  }
  // No steps would divide the pass by zero: the least is one step, and a
  // pass then takes two ticks.
  for (int steps : {0, -7}) {
    text.SetSteps(steps);
    EXPECT_EQ(text.Steps(), 1);
  }
  text.SetContinuous(false);
  EventLog log(text);
  text.grab();
  text.TimerTick();
  text.TimerTick();
  EXPECT_EQ(log.events, (std::vector<std::string>{"begin 0", "step 1", "step 2", "end 2"}));
  text.grab();
}

TEST(ScrollText, NoLinesPaintsOnlyTheBackgroundAndStillSteps) {
  TScrollText text;
  text.SetItems({});
  text.SetColor(Qt::white);
  text.SetSteps(2);
  EventLog log(text);
  for (int i = 0; i < 3; ++i) text.TimerTick();
  EXPECT_EQ(log.events.front(), "begin 0");
  EXPECT_EQ(log.events.back(), "end 3");
  EXPECT_EQ(text.TextWidth(), 0);
  EXPECT_EQ(text.TextHeight(), 0);
  const QImage shot = text.grab().toImage();
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) ASSERT_EQ(shot.pixel(x, y), qRgb(255, 255, 255));
  }
}

TEST(ScrollText, StyledCopiesMakeEachLineLargerByTheirDepth) {
  TScrollText text;
  text.SetItems({"Quenlet", "scrolling text"});
  text.SetSizeParams();
  const int height = text.LineHeight();
  const int width = text.TextWidth();
  ASSERT_GT(height, 0);
  const struct {
    TTextStyle style;
    int depth;
    int extra;
  } cases[] = {
      {TTextStyle::tsRaised, 2, 4},
      {TTextStyle::tsLowered, 3, 6},
      {TTextStyle::tsShaddow, 2, 2},
      {TTextStyle::tsNormal, 5, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style));
    text.SetTextStyle(c.style);
    text.SetDepth(c.depth);
    EXPECT_EQ(text.LineHeight(), height + c.extra);
    EXPECT_EQ(text.TextWidth(), width + c.extra);
    EXPECT_EQ(text.TextHeight(), 2 * (height + c.extra));
  }
}

TEST(ScrollText, Screenshot) {
  // The styles and alignments, still, and a banner-like control mid-pass.
  const struct {
    TTextStyle style;
    TAlignment alignment;
  } samples[] = {
      {TTextStyle::tsNormal, TAlignment::taCenter},
      {TTextStyle::tsRaised, TAlignment::taLeftJustify},
      {TTextStyle::tsLowered, TAlignment::taRightJustify},
      {TTextStyle::tsShaddow, TAlignment::taCenter},
  };
  QImage sheet(460, 4 * 52 + 220, QImage::Format_ARGB32);
  sheet.fill(QColor(0xF4, 0xF6, 0xF8));
  QPainter p(&sheet);
  int top = 10;
  for (const auto& s : samples) {
    TScrollText text;
    text.resize(440, 44);
    text.SetItems({"Quenlet device programmer", "short line"});
    text.SetDirection(TScrollDirection::sdStatic);
    text.SetTextStyle(s.style);
    text.SetAlignment(s.alignment);
    text.SetDepth(1);
    text.render(&p, QPoint(10, top));
    top += 52;
  }
  TScrollText banner;
  banner.resize(440, 200);
  banner.SetColor(Qt::white);
  banner.SetItems({"Quenlet", "", "Reads, erases, blank-checks, programs,", "verifies and protects",
                   "memory and logic devices", "over USB."});
  banner.SetSteps(500);
  banner.SetDirection(TScrollDirection::sdBottomToTop);
  banner.ScrollStop();
  banner.ScrollStart(150);
  banner.render(&p, QPoint(10, top));
  p.end();
  testing::SaveScreenshot(sheet, "scroll-text");
}

}  // namespace
}  // namespace quenlet
