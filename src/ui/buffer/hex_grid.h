#pragma once
// One of the editor's six grids: 17 rows (a header and 16 buffer rows) of
// address digits, hex bytes or words, or characters, painted straight from
// the view core. The grid keeps no texts of its own, so what it paints is
// always the buffer as it is; typing goes through the core's rules. The
// arrows, Page Up and Down, Home and End (with Ctrl: the buffer's start and
// end) move through the buffer; its accessible description says where.
#include <QStaticText>
#include <QWidget>
#include <unordered_map>

#include "buffer/hex_view.h"

namespace quenlet {

class THexGrid : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRowHeight = 15;
  static constexpr int kHexCellWidth = 19;  // two digits and their gap
  static constexpr int kMaxAddressDigits = 8;

  THexGrid(HexView& view, HexGrid grid, QWidget* parent = nullptr);

  HexGrid Kind() const { return grid_; }
  // The cell under a point of the widget: row -1 when there is none.
  void CellAt(QPoint point, int& row, int& column) const;
  QRectF CellRect(int row, int column) const;

  QSize sizeHint() const override { return size(); }

  // Brings the accessible description up to the view (the rows shown, the
  // selected cell and its value).
  void DescribeSelection();

 signals:
  // A keystroke stored a byte or moved the view.
  void Edited(HexView::Typed typed);
  // The selection of this grid's view moved.
  void SelectionMoved();
  void WheelTurned(int angle_delta);
  void MenuRequested(QPoint global_position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  double CellWidth() const;
  double Padding() const;
  void MoveSelection(int rows, int columns);
  // Page Up and Down, Home and End (with Ctrl: the buffer's start and end).
  void Navigate(HexView::Navigation key);
  // One or two characters prepared for drawing, made once per grid: the
  // grids paint the same few hundred texts over and over.
  const QStaticText& Prepared(char first, char second) const;

  HexView& view_;
  HexGrid grid_;
  double advance_ = 8;
  mutable std::unordered_map<uint32_t, QStaticText>
      prepared_;  // width of one character of the grid font
};

}  // namespace quenlet
