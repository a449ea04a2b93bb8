#include "ui/controls/pal_show_box.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/controls/look.h"

namespace quenlet {
namespace {

constexpr int kNoCell = 2;

struct CellLook {
  QColor fill;
  QColor rim;
  qreal rim_width;
  QColor inner;  // a second ring inside the rim, or none
};

CellLook LookOf(TPalShowBox::Picture picture) {
  switch (picture) {
    case TPalShowBox::Picture::BitHeigh:
      return {look::kFrameTop, look::kFrameBottom, 1.0, QColor()};
    case TPalShowBox::Picture::BitLow:
      return {look::kSurface, look::kCellRim, 1.0, QColor()};
    case TPalShowBox::Picture::HeighDown:
      return {look::kAccent, look::kAccentDark, 2.0, look::kOnAccent};
    case TPalShowBox::Picture::LowDown:
      return {look::kAccentLight, look::kAccent, 2.0, QColor()};
  }
  return {};
}

}  // namespace

QPixmap TPalShowBox::DrawnPicture(Picture picture, int size, qreal pixel_ratio) {
  QPixmap pixmap(QSize(size, size) * pixel_ratio);
  pixmap.setDevicePixelRatio(pixel_ratio);
  pixmap.fill(Qt::transparent);
  const CellLook look = LookOf(picture);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  // One pixel of the grid's background stays between neighbouring cells.
  const qreal inset = 1.0 + look.rim_width / 2;
  const QRectF cell(inset, inset, size - 2 * inset, size - 2 * inset);
  p.setPen(QPen(look.rim, look.rim_width));
  p.setBrush(look.fill);
  p.drawRoundedRect(cell, 2, 2);
  if (look.inner.isValid()) {
    p.setPen(QPen(look.inner, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(cell.adjusted(2, 2, -2, -2), 1, 1);
  }
  return pixmap;
}

TPalShowBox::TPalShowBox(QWidget* parent) : QWidget(parent) {
  const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
  bit_heigh_ = DrawnPicture(Picture::BitHeigh, 16, ratio);
  bit_low_ = DrawnPicture(Picture::BitLow, 16, ratio);
  heigh_down_ = DrawnPicture(Picture::HeighDown, 16, ratio);
  low_down_ = DrawnPicture(Picture::LowDown, 16, ratio);
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName("Fuse grid");
  setAccessibleDescription("Arrow keys move, 0 and 1 set a cell, Space or Enter toggles it");
  ResetCells();
  resize(40, 40);
}

void TPalShowBox::SetBitHeigh(const QPixmap& picture) {
  bit_heigh_ = picture;
  DrawAll();
}

void TPalShowBox::SetBitLowPictur(const QPixmap& picture) {
  bit_low_ = picture;
  DrawAll();
}

void TPalShowBox::SetHeighDown(const QPixmap& picture) {
  heigh_down_ = picture;
  DrawAll();
}

void TPalShowBox::SetLowDown(const QPixmap& picture) {
  low_down_ = picture;
  DrawAll();
}

void TPalShowBox::ResetCells() {
  for (auto& row : cells_) std::fill(std::begin(row), std::end(row), kNoCell);
  for (int r = 0; r < colls_h_; ++r) {
    for (int c = 0; c < colls_w_; ++c) cells_[r][c] = 0;
  }
  // The focus stays on the grid when it shrinks.
  focus_x_ = std::min(focus_x_, colls_w_ - 1);
  focus_y_ = std::min(focus_y_, colls_h_ - 1);
}

void TPalShowBox::SetWColls(int columns) {
  if (columns < 1 || columns >= kMaxColumns) return;
  colls_w_ = columns;
  ResetCells();
  DrawAll();
}

void TPalShowBox::SetHColls(int rows) {
  if (rows < 1 || rows >= kMaxRows) return;
  colls_h_ = rows;
  ResetCells();
  DrawAll();
}

void TPalShowBox::SetFocusX(int x) {
  if (x < 0 || x >= colls_w_) return;
  focus_x_ = x;
  DrawAll();
}

void TPalShowBox::SetFocusY(int y) {
  if (y < 0 || y >= colls_h_) return;
  focus_y_ = y;
  DrawAll();
}

int TPalShowBox::ReadArrValue(int row, int column) const {
  if (row < 0 || row >= kMaxRows || column < 0 || column >= kMaxColumns) return 0;
  return cells_[row][column];
}

void TPalShowBox::SetArrValue(int row, int column, int value) {
  if (value < 0 || value > kNoCell) return;
  if (row < 0 || row >= kMaxRows || column < 0 || column >= kMaxColumns) return;
  cells_[row][column] = value;
}

QSize TPalShowBox::CellSize() const {
  const QSize size =
      bit_heigh_.isNull() ? QSize(16, 16) : bit_heigh_.deviceIndependentSize().toSize();
  return size.isEmpty() ? QSize(16, 16) : size;
}

void TPalShowBox::DrawAll() {
  const QSize cell = CellSize();
  setFixedSize(cell.width() * colls_w_ + 4, cell.height() * colls_h_ + 4);
  update();
  // Every redraw reports the focus; painting itself never does.
  emit CurrentChange(focus_x_, focus_y_);
}

void TPalShowBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int w = width();
  const int h = height();
  p.fillRect(rect(), look::kControlFace);
  p.setPen(look::kControlOutline);
  p.drawRect(0, 0, w - 1, h - 1);
  p.setPen(look::kControlShadow);
  p.drawPolyline(QPolygon({QPoint(w - 2, 1), QPoint(1, 1), QPoint(1, h - 2)}));
  p.setPen(look::kControlHighlight);
  p.drawPolyline(QPolygon({QPoint(w - 2, 1), QPoint(w - 2, h - 2), QPoint(1, h - 2)}));

  const QSize cell = CellSize();
  auto draw = [&](int r, int c, const QPixmap& picture) {
    const QSize own = picture.deviceIndependentSize().toSize();
    p.drawPixmap(QRect(QPoint(c * cell.width() + kFrame, r * cell.height() + kFrame), own),
                 picture);
  };
  for (int r = 0; r < colls_h_; ++r) {
    for (int c = 0; c < colls_w_; ++c) {
      if (cells_[r][c] == 1) draw(r, c, bit_heigh_);
      if (cells_[r][c] == 0) draw(r, c, bit_low_);
    }
  }
  if (focused_) {
    const int value = cells_[focus_y_][focus_x_];
    if (value == 1) draw(focus_y_, focus_x_, heigh_down_);
    if (value == 0) draw(focus_y_, focus_x_, low_down_);
  }
}

void TPalShowBox::Toggle() {
  int& cell = cells_[focus_y_][focus_x_];
  if (cell == kNoCell) return;
  cell = cell == 0 ? 1 : 0;
  emit Change(focus_x_, focus_y_, cell);
}

void TPalShowBox::KeyDown(int key) {
  switch (key) {
    case Qt::Key_Left:
      if (--focus_x_ < 0) {
        focus_x_ = 0;
        emit LeftEvent(0, focus_y_);
      }
      break;
    case Qt::Key_Right: {
      // The grid's last column, or the last cell before no cell (a map
      // narrower than the grid): the owner decides where the cursor goes.
      const bool last_cell =
          focus_x_ == colls_w_ - 1 ||
          (cells_[focus_y_][focus_x_ + 1] == kNoCell && cells_[focus_y_][focus_x_] != kNoCell);
      if (last_cell) {
        emit RightEvent(focus_x_, focus_y_);
        return;
      }
      if (cells_[focus_y_][focus_x_ + 1] == kNoCell) return;
      ++focus_x_;
      break;
    }
    case Qt::Key_Up:
      if (--focus_y_ < 0) {
        focus_y_ = 0;
        emit BarUpEvent(focus_x_, 0);
      }
      break;
    case Qt::Key_Down:
      if (focus_y_ + 1 >= colls_h_ || cells_[focus_y_ + 1][focus_x_] == kNoCell) {
        emit BarDownEvent(focus_x_, focus_y_);
      } else {
        ++focus_y_;
      }
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      Toggle();
      KeyDown(Qt::Key_Right);
      break;
    case Qt::Key_0:
    case Qt::Key_1: {
      int& cell = cells_[focus_y_][focus_x_];
      if (cell != kNoCell) {
        cell = key == Qt::Key_1 ? 1 : 0;
        emit Change(focus_x_, focus_y_, cell);
        KeyDown(Qt::Key_Right);
      }
      break;
    }
    case Qt::Key_Home:
      focus_x_ = 0;
      break;
    case Qt::Key_End: {
      int cells = 0;
      while (cells < colls_w_ && cells_[focus_y_][cells] != kNoCell) ++cells;
      // A row of no cells keeps the focus where it is.
      if (cells > 0) focus_x_ = cells - 1;
      break;
    }
    case Qt::Key_PageUp:
      if (focus_y_ > 0) {
        focus_y_ = 0;
      } else {
        emit PageUpEvent(focus_x_, focus_y_);
      }
      break;
    case Qt::Key_PageDown:
      if (focus_y_ == colls_h_ - 1) {
        emit PageDownEvent(focus_x_, focus_y_);
      } else {
        int rows = 0;
        while (rows < colls_h_ && cells_[rows][focus_x_] != kNoCell) ++rows;
        if (rows > 0) focus_y_ = rows - 1;
      }
      break;
    default:
      break;
  }
  DrawAll();
}

bool TPalShowBox::Handles(int key) const {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_0:
    case Qt::Key_1:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return true;
    default:
      return false;
  }
}

void TPalShowBox::keyPressEvent(QKeyEvent* event) {
  KeyDown(event->key());
  // Keys the grid does not use (Escape, Tab with modifiers, shortcuts) go on
  // to the window that holds it.
  if (!Handles(event->key())) event->ignore();
}

void TPalShowBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  const QSize cell = CellSize();
  const QPoint at = event->position().toPoint() - QPoint(kFrame, kFrame);
  // A press on the frame picks the nearest cell.
  focus_x_ = std::clamp(at.x() < 0 ? 0 : at.x() / cell.width(), 0, colls_w_ - 1);
  focus_y_ = std::clamp(at.y() < 0 ? 0 : at.y() / cell.height(), 0, colls_h_ - 1);
  focused_ = true;
  DrawAll();
}

void TPalShowBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  Toggle();
  DrawAll();
}

void TPalShowBox::focusInEvent(QFocusEvent*) {
  focused_ = true;
  update();
}

void TPalShowBox::focusOutEvent(QFocusEvent*) {
  focused_ = false;
  DrawAll();
}

}  // namespace quenlet
