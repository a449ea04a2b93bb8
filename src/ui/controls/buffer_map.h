#pragma once
// A map of up to 100 x 100 cells inside a sunken silver frame; each cell
// shows one of three pictures by its value: 0 Picture_BitLow, 1
// Picture_BitHeigh, 2 Picture_Data, 3 nothing. Drawing sizes the control to
// Colls_W x Colls_H cells of Picture_Data's size plus the frame.
#include <QImage>
#include <QWidget>
#include <array>

namespace quenlet {

class TBufferMap : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Colls_W READ Colls_W WRITE SetWColls)
  Q_PROPERTY(int Colls_H READ Colls_H WRITE SetHColls)

 public:
  static constexpr int kMaxCells = 100;
  static constexpr int kMaxValue = 3;
  static constexpr int kFrame = 4;  // frame pixels added to the cells' width and height

  explicit TBufferMap(QWidget* parent = nullptr);

  // 0 for a cell outside 0 .. 99.
  int ReadArrValue(int row, int column) const;
  // Stores a value of 0 .. 3 in a cell inside 0 .. 99; anything else changes
  // nothing.
  void SetArrValue(int row, int column, int value);

  void SetDataPictur(const QImage& picture);
  void SetBitLowPictur(const QImage& picture);
  void SetBitHeigh(const QImage& picture);
  const QImage& Picture_Data() const { return data_; }
  const QImage& Picture_BitLow() const { return bit_low_; }
  const QImage& Picture_BitHeigh() const { return bit_high_; }

  int Colls_W() const { return columns_; }
  int Colls_H() const { return rows_; }
  // A count of 0 .. 99 is stored and drawn; anything else changes nothing.
  void SetWColls(int n);
  void SetHColls(int n);

  // Sizes the control for its cells and draws it.
  void DrawAll();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage* PictureFor(int value) const;

  QImage data_;
  QImage bit_low_;
  QImage bit_high_;
  int rows_ = 6;
  int columns_ = 10;
  std::array<std::array<int, kMaxCells>, kMaxCells> cells_{};
};

}  // namespace quenlet
