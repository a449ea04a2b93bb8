#pragma once
// The status lamp: a small lamp in one of two colours that can blink between
// them. Its shape is drawn at run time with the lit surface in pure lime;
// each colour's copy is made by flood-filling that surface from the centre.
// Colours are Windows colour values (red in the low byte), as device files
// and layouts give them.
#include <QAbstractButton>
#include <QImage>
#include <cstdint>

class QTimer;

namespace quenlet {

enum class TLEDStyle : int {
  LEDSmall = 0,       // 16 x 16 round
  LEDLarge = 1,       // 22 x 22 round
  LEDSqSmall = 2,     // 16 x 16 square
  LEDSqLarge = 3,     // 22 x 22 square
  LEDVertical = 4,    // 14 x 22 bar
  LEDHorizontal = 5,  // 22 x 14 bar
};

// The control size of a style.
QSize LedStyleSize(TLEDStyle style);

// The lit surface of every shape: the colour the fill replaces.
inline constexpr QRgb kLedSurface = 0xFF00FF00;

// The shape of a style at `scale` device pixels per pixel: a shaded bezel
// on a transparent ground around the lit surface in kLedSurface, drawn
// without antialiasing so the fill reaches every surface pixel. The image
// carries `scale` as its device pixel ratio.
QImage DrawLedShape(TLEDStyle style, qreal scale);

// A clickable picture to assistive technology, so it is a button that paints
// itself; it takes no keyboard focus.
class TALed : public QAbstractButton {
  Q_OBJECT

 public:
  static constexpr uint32_t kLime = 0x00FF00;    // 65280
  static constexpr uint32_t kSilver = 0xC0C0C0;  // 12632256

  explicit TALed(QWidget* owner = nullptr);
  ~TALed() override;

  uint32_t TrueColor() const { return true_color_; }
  uint32_t FalseColor() const { return false_color_; }
  bool Blink() const { return blink_; }
  TLEDStyle LEDStyle() const { return style_; }
  int32_t Interval() const { return interval_; }
  bool Value() const { return value_; }

  // Each setter does nothing when the value equals the current one.
  void SetTrueColor(uint32_t color);
  void SetFalseColor(uint32_t color);
  void ChangeBlink(bool blink);
  void ChangeStyle(TLEDStyle style);
  void SetInterval(int32_t interval_ms);
  void ChangeValue(bool value);

  // 0 the TrueColor copy is shown, 1 the FalseColor copy.
  uint8_t ShownBitmap() const { return shown_bitmap_; }
  // Present only while the lamp blinks.
  QTimer* BlinkTimer() const { return blink_timer_; }
  const QImage& OnBitmap() const { return on_bitmap_; }
  const QImage& OffBitmap() const { return off_bitmap_; }

  QSize sizeHint() const override { return size(); }

 public slots:
  // One blink: the other copy is shown, then OnTimer.
  void OnLedTimer();

 signals:
  void OnTimer(quenlet::TALed* lamp);
  void OnMouseEnter(quenlet::TALed* lamp);
  void OnMouseLeave(quenlet::TALed* lamp);
  void OnClick(quenlet::TALed* lamp);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void CreateLedBitmap(qreal scale);
  void FreeLedBitmap();
  void SetToTrueColor();
  void SetToFalseColor();
  void SetLedTimer();
  void ResetLedTimer();
  void Recolour(uint32_t& field, uint32_t color);

  QImage on_bitmap_;
  QImage off_bitmap_;
  QTimer* blink_timer_ = nullptr;
  uint32_t true_color_ = kLime;
  uint32_t false_color_ = kSilver;
  bool blink_ = true;
  TLEDStyle style_ = TLEDStyle::LEDSmall;
  int32_t interval_ = 1000;
  bool value_ = false;
  uint8_t shown_bitmap_ = 1;
};

}  // namespace quenlet
