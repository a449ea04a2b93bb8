#pragma once
// A character LCD of 20 columns and 4 rows: each character's glyph comes from
// a glyph sheet of 16 x 16 cells (column = low four bits of the code, row =
// high four bits), on a background of the RED, GREEN and BLUE components.
// The cell named by the cursor byte after the 80 characters shows its glyph
// XOR-combined with the background, that is inverted.
#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <span>

namespace quenlet {

class TLcdPainBox : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int RED READ RED WRITE SetRED)
  Q_PROPERTY(int GREEN READ GREEN WRITE SetGREEN)
  Q_PROPERTY(int BLUE READ BLUE WRITE SetBLUE)

 public:
  static constexpr int kColumns = 20;
  static constexpr int kRows = 4;
  static constexpr int kCellWidth = 9;
  static constexpr int kCellHeight = 13;
  static constexpr int kGapX = 1;
  static constexpr int kGapY = 1;
  static constexpr int kCursorIndex = kColumns * kRows;     // the byte after the characters
  static constexpr int kTextBytes = kColumns * kRows + 20;  // the text block, zero-filled
  static constexpr int kWidth = kCellWidth * kColumns + kGapX * (kColumns + 2);
  static constexpr int kHeight = kCellHeight * kRows + kGapY * (kRows + 2);

  explicit TLcdPainBox(QWidget* parent = nullptr);

  // Copies the characters and the cursor byte (81 bytes), or as many of them
  // as the caller's block holds, then draws. Returns true.
  bool SetText(std::span<const uint8_t> block);
  std::span<const uint8_t> Text() const { return text_; }

  void SetDataPictur(const QImage& picture);
  const QImage& Picture_Data() const { return glyphs_; }

  int RED() const { return red_; }
  int GREEN() const { return green_; }
  int BLUE() const { return blue_; }
  void SetRED(int value) { red_ = value; }
  void SetGREEN(int value) { green_ = value; }
  void SetBLUE(int value) { blue_ = value; }

  // Brings the components into 0 .. 255 (stored back) and draws.
  void DrawAll();

  QSize sizeHint() const override { return {kWidth, kHeight}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Render();

  QImage glyphs_;
  QImage frame_;
  std::array<uint8_t, kTextBytes> text_{};
  int red_ = 145;
  int green_ = 138;
  int blue_ = 142;
};

}  // namespace quenlet
