#pragma once
// A small grid of two-state cells with one focused cell, moved by keys and
// mouse. It knows nothing of what the cells mean: it holds the values of its
// visible cells only and reports edits and attempts to leave its edges, so
// that its owner can scroll a larger data set under it.
//
// Cell values: 0 and 1, and 2 for "no cell" (drawn as background, skipped by
// the cursor). Right on the last cell before no cell reports RightEvent as
// on the last column does. The cell size is that of the "1" picture.
#include <QPixmap>
#include <QWidget>

namespace quenlet {

class TPalShowBox : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMaxRows = 30;
  static constexpr int kMaxColumns = 50;
  static constexpr int kFrame = 3;  // pixels of frame before the first cell

  enum class Picture { BitHeigh, BitLow, HeighDown, LowDown };
  // The cell pictures as this program draws them, at the given pixel ratio.
  static QPixmap DrawnPicture(Picture picture, int size = 16, qreal pixel_ratio = 1.0);

  explicit TPalShowBox(QWidget* parent = nullptr);

  QPixmap Picture_BitHeigh() const { return bit_heigh_; }
  QPixmap Picture_BitLow() const { return bit_low_; }
  QPixmap Picture_HeighDown() const { return heigh_down_; }
  QPixmap Picture_LowDown() const { return low_down_; }
  void SetBitHeigh(const QPixmap& picture);
  void SetBitLowPictur(const QPixmap& picture);
  void SetHeighDown(const QPixmap& picture);
  void SetLowDown(const QPixmap& picture);

  int Colls_W() const { return colls_w_; }
  int Colls_H() const { return colls_h_; }
  // Taken only within 1..49 columns and 1..29 rows; every cell then becomes
  // 2, the new area 0.
  void SetWColls(int columns);
  void SetHColls(int rows);

  int Focus_X() const { return focus_x_; }
  int Focus_Y() const { return focus_y_; }
  // Taken only inside the grid; then DrawAll.
  void SetFocusX(int x);
  void SetFocusY(int y);

  // 0 for any position outside the cell array.
  int ReadArrValue(int row, int column) const;
  // Values 0, 1 and 2 inside the cell array; no redraw (the owner calls
  // DrawAll after a batch).
  void SetArrValue(int row, int column, int value);

  // Sizes the control to its grid, repaints it and reports the focus.
  void DrawAll();

  // The key handling of the control, by Qt key code.
  void KeyDown(int key);

 signals:
  void Change(int x, int y, int value);
  void CurrentChange(int x, int y);
  void LeftEvent(int x, int y);
  void RightEvent(int x, int y);
  void BarUpEvent(int x, int y);
  void BarDownEvent(int x, int y);
  void PageUpEvent(int x, int y);
  void PageDownEvent(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QSize CellSize() const;
  void ResetCells();
  void Toggle();
  bool Handles(int key) const;

  QPixmap bit_heigh_, bit_low_, heigh_down_, low_down_;
  int colls_w_ = 10;
  int colls_h_ = 6;
  int cells_[kMaxRows][kMaxColumns];
  int focus_x_ = 0;
  int focus_y_ = 0;
  bool focused_ = false;
};

}  // namespace quenlet
