#include "ui/controls/status_lamp.h"

#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/controls/color_ref.h"
#include "ui/controls/flood_fill.h"
#include "ui/controls/look.h"

namespace quenlet {

namespace {

bool IsRound(TLEDStyle style) {
  return style == TLEDStyle::LEDSmall || style == TLEDStyle::LEDLarge;
}

bool IsLarge(TLEDStyle style) {
  return style == TLEDStyle::LEDLarge || style == TLEDStyle::LEDSqLarge;
}

// The lit surface after its fill: brightest in the middle, falling to 60 %
// towards the edge, with a darker one-pixel rim. Only pixels that were
// surface in the shape and hold the fill colour now are touched, so a fill
// that did not happen leaves the copy as it was.
void ShadeSurface(QImage& copy, const QImage& shape, QRgb fill, bool round) {
  const int w = copy.width();
  const int h = copy.height();
  std::vector<uint8_t> lit(static_cast<size_t>(w) * h, 0);
  int left = w, right = -1, top = h, bottom = -1;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (shape.pixel(x, y) == kLedSurface && copy.pixel(x, y) == fill) {
        lit[static_cast<size_t>(y) * w + x] = 1;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  if (right < 0) return;
  const double cx = (left + right + 1) / 2.0;
  const double cy = (top + bottom + 1) / 2.0;
  const double rx = (right - left + 1) / 2.0;
  const double ry = (bottom - top + 1) / 2.0;
  auto is_lit = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < w && y < h && lit[static_cast<size_t>(y) * w + x];
  };
  const QColor base = QColor::fromRgba(fill);
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      if (!is_lit(x, y)) continue;
      const double dx = std::abs(x + 0.5 - cx) / rx;
      const double dy = std::abs(y + 0.5 - cy) / ry;
      const double d = std::hypot(dx, dy);
      double factor = d <= 0.35 ? 1.0 : std::max(0.6, 1.0 - 0.4 * (d - 0.35) / 0.65);
      const bool rim =
          !is_lit(x - 1, y) || !is_lit(x + 1, y) || !is_lit(x, y - 1) || !is_lit(x, y + 1);
      if (rim) factor = 0.5;
      copy.setPixel(x, y,
                    qRgb(qRound(base.red() * factor), qRound(base.green() * factor),
                         qRound(base.blue() * factor)));
    }
  }
}

// The shape with its surface flood-filled from the centre in `color`.
QImage ColouredCopy(const QImage& shape, uint32_t color, bool round) {
  QImage copy = shape.copy();
  copy.setDevicePixelRatio(shape.devicePixelRatio());
  const QRgb fill = FromColorRef(color).rgba();
  FloodFillSurface(copy, QPoint(copy.width() / 2, copy.height() / 2), kLedSurface, fill);
  ShadeSurface(copy, shape, fill, round);
  return copy;
}

}  // namespace

QSize LedStyleSize(TLEDStyle style) {
  switch (style) {
    case TLEDStyle::LEDSmall:
    case TLEDStyle::LEDSqSmall:
      return {16, 16};
    case TLEDStyle::LEDLarge:
    case TLEDStyle::LEDSqLarge:
      return {22, 22};
    case TLEDStyle::LEDVertical:
      return {14, 22};
    case TLEDStyle::LEDHorizontal:
      return {22, 14};
  }
  return {16, 16};
}

QImage DrawLedShape(TLEDStyle style, qreal scale) {
  const QSize logical = LedStyleSize(style);
  const QSize size(qRound(logical.width() * scale), qRound(logical.height() * scale));
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // The bezel in the frame colours, lighter at the top.
    QLinearGradient bezel(0, 0, 0, size.height());
    bezel.setColorAt(0, look::kBezelTop);
    bezel.setColorAt(1, look::kFrameBottom);
    p.setPen(QPen(look::kBezelEdge, scale));
    p.setBrush(bezel);
    const QRectF outer = QRectF(QPointF(0, 0), QSizeF(size))
                             .adjusted(0.5 * scale, 0.5 * scale, -0.5 * scale, -0.5 * scale);
    if (IsRound(style)) {
      p.drawEllipse(outer);
    } else {
      p.drawRoundedRect(outer, 3 * scale, 3 * scale);
    }
    // The surface: exact lime, hard edges.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(kLedSurface));
    const int inset = qRound((IsLarge(style) ? 3 : 2) * scale);
    const QRect surface(inset, inset, size.width() - 2 * inset, size.height() - 2 * inset);
    if (IsRound(style)) {
      p.drawEllipse(surface);
    } else {
      p.drawRect(surface);
    }
  }
  image.setDevicePixelRatio(scale);
  return image;
}

TALed::TALed(QWidget* owner) : QAbstractButton(owner) {
  setFocusPolicy(Qt::NoFocus);
  setAccessibleName("Status lamp");
  setFixedSize(LedStyleSize(style_));
  connect(this, &QAbstractButton::clicked, this, [this] { emit OnClick(this); });
  CreateLedBitmap(devicePixelRatioF());
}

TALed::~TALed() {
  ResetLedTimer();
  FreeLedBitmap();
}

void TALed::CreateLedBitmap(qreal scale) {
  FreeLedBitmap();
  const QImage shape = DrawLedShape(style_, scale);
  on_bitmap_ = ColouredCopy(shape, true_color_, IsRound(style_));
  off_bitmap_ = ColouredCopy(shape, false_color_, IsRound(style_));
}

void TALed::FreeLedBitmap() {
  on_bitmap_ = QImage();
  off_bitmap_ = QImage();
}

void TALed::paintEvent(QPaintEvent*) {
  // Shapes are drawn at the screen's pixel density, so they stay sharp on a
  // scaled screen; a move to another screen draws them again.
  QPainter p(this);
  const qreal scale = p.paintEngine()->paintDevice()->devicePixelRatioF();
  if (on_bitmap_.isNull() || on_bitmap_.devicePixelRatio() != scale) CreateLedBitmap(scale);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  p.drawImage(QRectF(rect()), shown_bitmap_ == 0 ? on_bitmap_ : off_bitmap_);
}

void TALed::enterEvent(QEnterEvent* event) {
  QAbstractButton::enterEvent(event);
  emit OnMouseEnter(this);
}

void TALed::leaveEvent(QEvent* event) {
  QAbstractButton::leaveEvent(event);
  emit OnMouseLeave(this);
}

void TALed::SetToTrueColor() {
  shown_bitmap_ = 0;
  update();
}

void TALed::SetToFalseColor() {
  shown_bitmap_ = 1;
  update();
}

void TALed::SetLedTimer() {
  if (blink_timer_) return;
  shown_bitmap_ = 0;
  update();
  blink_timer_ = new QTimer(this);
  // A window timer never runs faster than the message loop allows; an
  // interval of 0 or below would make this one spin.
  blink_timer_->setInterval(std::max(1, interval_));
  connect(blink_timer_, &QTimer::timeout, this, &TALed::OnLedTimer);
  blink_timer_->start();
}

void TALed::ResetLedTimer() {
  delete blink_timer_;
  blink_timer_ = nullptr;
}

void TALed::OnLedTimer() {
  shown_bitmap_ = static_cast<uint8_t>(1 - shown_bitmap_);
  update();
  emit OnTimer(this);
}

void TALed::ChangeStyle(TLEDStyle style) {
  if (style == style_) return;
  style_ = style;
  setFixedSize(LedStyleSize(style_));
  CreateLedBitmap(devicePixelRatioF());
  update();
}

void TALed::ChangeValue(bool value) {
  if (value == value_) return;
  value_ = value;
  if (value_) {
    SetToTrueColor();
    if (blink_) SetLedTimer();
  } else {
    ResetLedTimer();
    SetToFalseColor();
  }
}

void TALed::ChangeBlink(bool blink) {
  if (blink == blink_) return;
  if (value_) {
    SetToTrueColor();
  } else {
    SetToFalseColor();
  }
  blink_ = blink;
  if (blink_ && value_) {
    SetLedTimer();
  } else {
    ResetLedTimer();
  }
}

void TALed::Recolour(uint32_t& field, uint32_t color) {
  if (color == field) return;
  // Blinking stops while the copies are made again, and starts afresh after.
  const bool blink = blink_;
  if (blink) ChangeBlink(false);
  field = color;
  CreateLedBitmap(devicePixelRatioF());
  ChangeBlink(blink);
  update();
}

void TALed::SetTrueColor(uint32_t color) {
  Recolour(true_color_, color);
}

void TALed::SetFalseColor(uint32_t color) {
  Recolour(false_color_, color);
}

void TALed::SetInterval(int32_t interval_ms) {
  if (interval_ms == interval_) return;
  interval_ = interval_ms;
  if (blink_timer_) blink_timer_->setInterval(std::max(1, interval_));
}

}  // namespace quenlet
