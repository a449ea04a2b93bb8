#pragma once
// The scrolling text: a block of text lines moved across the control in
// fixed steps by a timer, drawn flat, raised, lowered or with a shadow.
// A pass takes Steps + 1 ticks: the text enters at one edge at Position 0
// and has just left the opposite edge at Position = Steps.
#include <QColor>
#include <QFont>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <cstdint>

class QPainter;

namespace quenlet {

enum class TScrollDirection : int {
  sdStatic = 0,
  sdRightToLeft = 1,
  sdLeftToRight = 2,
  sdTopToBottom = 3,
  sdBottomToTop = 4,
};

enum class TTextStyle : int { tsNormal = 0, tsRaised = 1, tsLowered = 2, tsShaddow = 3 };

// Where each line sits within the text block.
enum class TAlignment : int { taCenter = 0, taLeftJustify = 1, taRightJustify = 2 };

class TScrollText : public QWidget {
  Q_OBJECT

 public:
  static constexpr int32_t kMinSpeed = 1;
  static constexpr int32_t kMaxSpeed = 1000;

  // A new control is 200 x 20 and already scrolling from right to left.
  explicit TScrollText(QWidget* owner = nullptr);

  TAlignment Alignment() const { return alignment_; }
  TTextStyle TextStyle() const { return text_style_; }
  TScrollDirection ScrollDirection() const { return direction_; }
  const QStringList& Items() const { return items_; }
  const QColor& Color() const { return color_; }
  bool Continuous() const { return continuous_; }
  const QFont& Font() const { return font_; }
  const QColor& FontColor() const { return font_color_; }
  int32_t Steps() const { return steps_; }
  int32_t Speed() const { return speed_; }
  int32_t Depth() const { return depth_; }
  int32_t Position() const { return position_; }
  bool Running() const { return timer_.isActive(); }
  const QTimer& Timer() const { return timer_; }

  // Derived by SetSizeParams.
  int32_t LineHeight() const { return line_height_; }
  int32_t TextWidth() const { return text_width_; }
  int32_t TextHeight() const { return text_height_; }
  int32_t XOffset() const { return x_offset_; }
  int32_t YOffset() const { return y_offset_; }

  // Starts a stopped timer, from `position` when it lies within 0..Steps
  // (else from where it stands). A running timer is left alone.
  void ScrollStart(int32_t position);
  void ScrollStop();
  // The text goes back the way it came from the place it has reached.
  void ReverseDirection();
  void SetSizeParams();
  void DataChanged();
  // Top-left corner of the text block at the current Position.
  QPoint TextOrigin() const;

  // Each setter does nothing when the value is unchanged, except
  // SetDirection, which always starts or stops the timer by the direction.
  void SetItems(const QStringList& items);
  void SetTextStyle(TTextStyle style);
  void SetColor(const QColor& color);
  void SetAlignment(TAlignment alignment);
  void SetDepth(int32_t depth);
  void SetFont(const QFont& font);
  void SetFontColor(const QColor& color);
  void SetDirection(TScrollDirection direction);
  void SetContinuous(bool continuous);
  // At least 1: a pass of no steps has no place to put the text.
  void SetSteps(int32_t steps);
  // Kept within 1..1000 ms per tick.
  void SetSpeed(int32_t speed_ms);

 public slots:
  // One step of the pass; painted at once.
  void TimerTick();

 signals:
  void OnBegin(quenlet::TScrollText* text);
  void OnStep(quenlet::TScrollText* text);
  void OnEnd(quenlet::TScrollText* text);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Stores a changed value of something the picture shows and redraws.
  template <typename T>
  void Redraw(T& field, const T& value) {
    if (field == value) return;
    field = value;
    DataChanged();
  }
  int32_t StyleExtra() const;
  void DoTextOut(QPainter& canvas, int x, int y, const QString& text) const;

  TAlignment alignment_ = TAlignment::taCenter;
  TTextStyle text_style_ = TTextStyle::tsNormal;
  TScrollDirection direction_ = TScrollDirection::sdRightToLeft;
  QTimer timer_;
  QStringList items_{QStringLiteral("ScrollText")};
  QColor color_;
  bool continuous_ = true;
  QFont font_;
  QColor font_color_{Qt::black};
  int32_t steps_ = 80;
  int32_t speed_ = 100;
  int32_t depth_ = 1;
  int32_t line_height_ = 0;
  int32_t position_ = 0;
  int32_t text_width_ = 0;
  int32_t text_height_ = 0;
  int32_t x_offset_ = 0;
  int32_t y_offset_ = 0;
  bool in_tick_ = false;
};

}  // namespace quenlet
