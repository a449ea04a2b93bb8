#include "ui/controls/scroll_text.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/controls/look.h"

namespace quenlet {

TScrollText::TScrollText(QWidget* owner) : QWidget(owner) {
  color_ = palette().color(QPalette::Button);
  // The program's one font, at the pixel size of a 10-point face.
  font_ = look::Sans(13);
  resize(200, 20);
  timer_.setInterval(speed_);
  connect(&timer_, &QTimer::timeout, this, &TScrollText::TimerTick);
  SetDirection(direction_);
}

void TScrollText::ScrollStart(int32_t position) {
  if (timer_.isActive()) return;
  if (position >= 0 && position <= steps_) position_ = position;
  timer_.start();
}

void TScrollText::ScrollStop() {
  timer_.stop();
}

void TScrollText::ReverseDirection() {
  switch (direction_) {
    case TScrollDirection::sdStatic:
      return;
    case TScrollDirection::sdRightToLeft:
      direction_ = TScrollDirection::sdLeftToRight;
      break;
    case TScrollDirection::sdLeftToRight:
      direction_ = TScrollDirection::sdRightToLeft;
      break;
    case TScrollDirection::sdTopToBottom:
      direction_ = TScrollDirection::sdBottomToTop;
      break;
    case TScrollDirection::sdBottomToTop:
      direction_ = TScrollDirection::sdTopToBottom;
      break;
  }
  position_ = steps_ - position_;
}

int32_t TScrollText::StyleExtra() const {
  switch (text_style_) {
    case TTextStyle::tsRaised:
    case TTextStyle::tsLowered:
      return 2 * depth_;
    case TTextStyle::tsShaddow:
      return depth_;
    case TTextStyle::tsNormal:
      break;
  }
  return 0;
}

void TScrollText::SetSizeParams() {
  const QFontMetrics metrics(font_, this);
  // A Windows cell height counts the leading inside the face; add it once
  // more, as the line spacing did there.
  const int internal_leading = std::max(0, metrics.height() - QFontInfo(font_).pixelSize());
  line_height_ = metrics.height() + internal_leading + StyleExtra();
  text_width_ = 0;
  for (const QString& line : items_) {
    text_width_ = std::max(text_width_, metrics.horizontalAdvance(line) + StyleExtra());
  }
  text_height_ = static_cast<int32_t>(items_.size()) * line_height_;
  x_offset_ = width() > text_width_ ? (width() - text_width_) / 2 : 0;
  y_offset_ = height() > text_height_ ? (height() - text_height_) / 2 : 0;
}

void TScrollText::DataChanged() {
  SetSizeParams();
  update();
}

QPoint TScrollText::TextOrigin() const {
  const double f = static_cast<double>(position_) / steps_;
  auto round = [](double v) { return static_cast<int>(std::lround(v)); };
  const int w = width();
  const int h = height();
  switch (direction_) {
    case TScrollDirection::sdRightToLeft:
      return {round((1 - f) * (text_width_ + w)) - text_width_, y_offset_};
    case TScrollDirection::sdLeftToRight:
      return {round(f * (text_width_ + w)) - text_width_, y_offset_};
    case TScrollDirection::sdTopToBottom:
      return {x_offset_, round(f * (text_height_ + h)) - text_height_};
    case TScrollDirection::sdBottomToTop:
      return {x_offset_, round((1 - f) * (text_height_ + h)) - text_height_};
    case TScrollDirection::sdStatic:
      break;
  }
  return {x_offset_, y_offset_};
}

void TScrollText::paintEvent(QPaintEvent*) {
  SetSizeParams();
  QPainter canvas(this);
  canvas.fillRect(rect(), color_);
  canvas.setFont(font_);
  const QPoint origin = TextOrigin();
  int y = origin.y();
  for (const QString& line : items_) {
    DoTextOut(canvas, origin.x(), y, line);
    y += line_height_;
  }
}

void TScrollText::DoTextOut(QPainter& canvas, int x, int y, const QString& text) const {
  const QFontMetrics metrics(font_, this);
  const int line_width = metrics.horizontalAdvance(text);
  int a = 0;
  switch (alignment_) {
    case TAlignment::taCenter:
      a = static_cast<int>(std::lround(text_width_ / 2.0 - line_width / 2.0));
      break;
    case TAlignment::taRightJustify:
      a = text_width_ - line_width;
      break;
    case TAlignment::taLeftJustify:
      break;
  }
  // Qt places text by its baseline; the layout gives the top of the cell.
  const int top = y + metrics.ascent();
  const QColor highlight = palette().color(QPalette::Light);
  const QColor shadow = palette().color(QPalette::Dark);
  auto out = [&](const QColor& colour, int dx, int dy) {
    canvas.setPen(colour);
    canvas.drawText(x + a + dx, top + dy, text);
  };
  switch (text_style_) {
    case TTextStyle::tsRaised:
      out(highlight, -depth_, -depth_);
      out(shadow, depth_, depth_);
      break;
    case TTextStyle::tsLowered:
      out(shadow, -depth_, -depth_);
      out(highlight, depth_, depth_);
      break;
    case TTextStyle::tsShaddow:
      out(shadow, depth_, depth_);
      break;
    case TTextStyle::tsNormal:
      break;
  }
  out(font_color_, 0, 0);
}

void TScrollText::TimerTick() {
  // A handler that runs a nested event loop must not let the next tick in
  // before this one is done.
  if (!timer_.isActive() || in_tick_) return;
  in_tick_ = true;
  if (position_ == 0) emit OnBegin(this);
  ++position_;
  repaint();
  emit OnStep(this);
  if (position_ > steps_) {
    timer_.stop();
    emit OnEnd(this);
    position_ = 0;
    if (continuous_) ScrollStart(0);
  }
  in_tick_ = false;
}

void TScrollText::SetItems(const QStringList& items) {
  Redraw(items_, items);
}

void TScrollText::SetTextStyle(TTextStyle style) {
  Redraw(text_style_, style);
}

void TScrollText::SetColor(const QColor& color) {
  Redraw(color_, color);
}

void TScrollText::SetAlignment(TAlignment alignment) {
  Redraw(alignment_, alignment);
}

void TScrollText::SetDepth(int32_t depth) {
  Redraw(depth_, depth);
}

void TScrollText::SetFont(const QFont& font) {
  Redraw(font_, font);
}

void TScrollText::SetFontColor(const QColor& color) {
  Redraw(font_color_, color);
}

void TScrollText::SetDirection(TScrollDirection direction) {
  direction_ = direction;
  if (direction_ == TScrollDirection::sdStatic) {
    ScrollStop();
  } else {
    ScrollStart(position_);
  }
  update();
}

void TScrollText::SetContinuous(bool continuous) {
  if (continuous == continuous_) return;
  continuous_ = continuous;
  if (direction_ != TScrollDirection::sdStatic) ScrollStart(position_);
}

void TScrollText::SetSteps(int32_t steps) {
  steps = std::max(1, steps);
  if (steps == steps_) return;
  steps_ = steps;
}

void TScrollText::SetSpeed(int32_t speed_ms) {
  speed_ms = std::clamp(speed_ms, kMinSpeed, kMaxSpeed);
  if (speed_ms == speed_) return;
  speed_ = speed_ms;
  timer_.setInterval(speed_);
}

}  // namespace quenlet
