#include "ui/buffer/hex_grid.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "ui/controls/look.h"

namespace quenlet {
namespace {

// The grids' component names and the names a screen reader gives them, in
// the order of HexGrid.
struct GridNames {
  const char* object;
  const char* accessible;
};
constexpr GridNames kGridNames[kHexGridCount] = {
    {"AddressGB8bit", "Address, 8 bits"},      {"HexCodeSG8bit", "Hex bytes, 8 bits"},
    {"ASCIICode8bitSG", "Characters, 8 bits"}, {"AddressSG16Bit", "Word address, 16 bits"},
    {"HexCodeSG16Bit", "Hex words, 16 bits"},  {"ASCIICode16BisSG", "Characters, 16 bits"},
};

// Bytes without a glyph of their own show as a muted dot.
bool Printable(uint8_t byte) {
  return (byte >= 0x20 && byte < 0x7F) || byte >= 0xA0;
}

int ReservedColumns(HexGrid grid) {
  switch (grid) {
    case HexGrid::Address8:
    case HexGrid::Address16:
      return THexGrid::kMaxAddressDigits;
    case HexGrid::Hex16:
      return HexView::kBytesPerRow / 2;
    default:
      return HexView::kBytesPerRow;
  }
}

}  // namespace

THexGrid::THexGrid(HexView& view, HexGrid grid, QWidget* parent)
    : QWidget(parent), view_(view), grid_(grid) {
  setObjectName(kGridNames[size_t(grid)].object);
  setAccessibleName(kGridNames[size_t(grid)].accessible);
  setFont(look::HexFont());
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  advance_ = QFontMetricsF(font()).horizontalAdvance(QLatin1Char('0'));
  const double width = 2 + 2 * Padding() + ReservedColumns(grid) * CellWidth();
  setFixedSize(int(std::ceil(width)), 2 + HexView::kGridRows * kRowHeight);
}

double THexGrid::CellWidth() const {
  switch (grid_) {
    case HexGrid::Hex8:
      return kHexCellWidth;
    case HexGrid::Hex16:
      return 2 * kHexCellWidth;
    default:
      return advance_;
  }
}

double THexGrid::Padding() const {
  return grid_ == HexGrid::Hex8 || grid_ == HexGrid::Hex16 ? 0 : 2;
}

QRectF THexGrid::CellRect(int row, int column) const {
  // Seven address digits stand centred where eight would.
  const double unused = (ReservedColumns(grid_) - view_.Columns(grid_)) * CellWidth() / 2;
  return {1 + Padding() + unused + column * CellWidth(), 1.0 + row * kRowHeight, CellWidth(),
          double(kRowHeight)};
}

void THexGrid::CellAt(QPoint point, int& row, int& column) const {
  row = -1;
  column = -1;
  const int columns = view_.Columns(grid_);
  const QRectF first = CellRect(0, 0);
  const int r = int(std::floor((point.y() - first.top()) / kRowHeight));
  const int c = int(std::floor((point.x() - first.left()) / CellWidth()));
  if (r < 0 || r >= HexView::kGridRows) return;
  row = r;
  column = std::clamp(c, 0, columns - 1);
}

void THexGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), look::kField);
  painter.fillRect(QRect(0, 0, width(), 1 + kRowHeight), look::kFieldHeader);

  const bool address = HexView::IsAddressGrid(grid_);
  const bool hex = grid_ == HexGrid::Hex8 || grid_ == HexGrid::Hex16;
  const int columns = view_.Columns(grid_);
  // An address grid marks its digit only while it is the one typed into.
  const bool marks = !address || view_.FocusGrid(grid_) == grid_;
  const int selected_row = marks ? view_.SelectedRow(grid_) : -1;
  const int selected_column = view_.SelectedColumn(grid_);
  const bool focused = hasFocus();
  const std::string_view entry = view_.EntryGrid() == grid_ ? view_.Entry() : std::string_view{};
  // Static texts are placed by their top left: centre the line in the row.
  const double top = (kRowHeight - QFontMetricsF(font()).height()) / 2.0;

  if (hex) {
    painter.setPen(look::kFieldSeparator);
    for (int c = 1; c < columns; ++c) {
      const double x = std::floor(CellRect(0, c).left()) + 0.5;
      painter.drawLine(QPointF(x, 1 + kRowHeight), QPointF(x, height() - 1));
    }
  }

  for (int row = 0; row < HexView::kGridRows; ++row) {
    for (int column = 0; column < columns; ++column) {
      const QRectF cell = CellRect(row, column);
      QColor pen = row == 0 ? look::kMuted : look::kText;
      if (row > 0 && !address && view_.CellOffset(grid_, row, column) < 0) {
        // Past the buffer's end: no byte, no input.
        painter.fillRect(cell, look::kDisabledFill);
        continue;
      }
      CellText text = view_.Cell(grid_, row, column);
      const bool selected = row == selected_row && column == selected_column;
      if (selected) {
        painter.fillRect(cell, focused ? look::kAccent : look::kAccentLight);
        if (focused) pen = look::kOnAccent;
      }
      if (selected && !entry.empty()) {
        text.size = uint8_t(std::min(entry.size(), text.chars.size()));
        std::copy_n(entry.begin(), text.size, text.chars.begin());
      } else if (row > 0 && !address && !hex && !Printable(uint8_t(text.chars[0]))) {
        text.chars[0] = '.';
        if (!(selected && focused)) pen = look::kDisabled;
      }
      if (text.empty()) continue;
      painter.setPen(pen);
      const double x = cell.left() + (cell.width() - text.size * advance_) / 2;
      // Two characters at a time from the cache of prepared texts.
      for (int i = 0; i < text.size; i += 2) {
        const int n = std::min(2, text.size - i);
        if (n == 2 && text.chars[size_t(i)] == ' ' && text.chars[size_t(i) + 1] == ' ') continue;
        painter.drawStaticText(
            QPointF(x + i * advance_, cell.top() + top),
            Prepared(text.chars[size_t(i)], n == 2 ? text.chars[size_t(i) + 1] : 0));
      }
    }
  }

  painter.setPen(look::kSurfaceBorder);
  painter.drawLine(QPointF(0, kRowHeight + 0.5), QPointF(width(), kRowHeight + 0.5));
  painter.drawRect(QRectF(0.5, 0.5, width() - 1, height() - 1));
}

const QStaticText& THexGrid::Prepared(char first, char second) const {
  const uint32_t key = uint8_t(first) | uint32_t(uint8_t(second)) << 8;
  auto [it, fresh] = prepared_.try_emplace(key);
  if (fresh) {
    QString text{QChar(uint8_t(first))};
    if (second) text += QChar(uint8_t(second));
    it->second.setText(text);
    it->second.setTextFormat(Qt::PlainText);
    it->second.setPerformanceHint(QStaticText::AggressiveCaching);
    it->second.prepare(QTransform(), font());
  }
  return it->second;
}

void THexGrid::MoveSelection(int rows, int columns) {
  view_.Select(grid_, view_.SelectedRow(grid_) + rows, view_.SelectedColumn(grid_) + columns);
  emit SelectionMoved();
}

void THexGrid::Navigate(HexView::Navigation key) {
  view_.Navigate(grid_, key);
  emit SelectionMoved();
  emit Edited(HexView::Typed::Jumped);
}

void THexGrid::DescribeSelection() {
  // Screen readers read the grid's description: the rows shown and the
  // selected cell with its address and value.
  const QString text = QString::fromStdString(view_.Description(grid_));
  if (accessibleDescription() != text) setAccessibleDescription(text);
}

void THexGrid::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  switch (event->key()) {
    case Qt::Key_PageUp:
      Navigate(HexView::Navigation::PageUp);
      return;
    case Qt::Key_PageDown:
      Navigate(HexView::Navigation::PageDown);
      return;
    case Qt::Key_Home:
      Navigate(ctrl ? HexView::Navigation::BufferStart : HexView::Navigation::RowStart);
      return;
    case Qt::Key_End:
      Navigate(ctrl ? HexView::Navigation::BufferEnd : HexView::Navigation::RowEnd);
      return;
    case Qt::Key_Left:
      MoveSelection(0, -1);
      return;
    case Qt::Key_Right:
      MoveSelection(0, 1);
      return;
    case Qt::Key_Up:
      MoveSelection(-1, 0);
      return;
    case Qt::Key_Down:
      MoveSelection(1, 0);
      return;
    case Qt::Key_Backspace:
      view_.Backspace();
      update();
      return;
    default:
      break;
  }
  bool taken = false;
  for (const QChar ch : event->text()) {
    const HexView::Typed typed = view_.Type(grid_, ch.unicode());
    if (typed == HexView::Typed::Ignored) continue;
    taken = true;
    if (typed == HexView::Typed::Pending) {
      update();
    } else {
      emit Edited(typed);
    }
  }
  if (!taken) {
    update();  // a refused keystroke may have dropped the entry shown
    QWidget::keyPressEvent(event);
  }
}

void THexGrid::mousePressEvent(QMouseEvent* event) {
  int row = 0;
  int column = 0;
  CellAt(event->position().toPoint(), row, column);
  if (row >= 1) {
    view_.Select(grid_, row, column);
    emit SelectionMoved();
  }
  QWidget::mousePressEvent(event);
}

void THexGrid::focusInEvent(QFocusEvent* event) {
  // This grid becomes the one its view types into.
  view_.Select(grid_, view_.SelectedRow(grid_), view_.SelectedColumn(grid_));
  emit SelectionMoved();
  QWidget::focusInEvent(event);
}

void THexGrid::focusOutEvent(QFocusEvent* event) {
  if (view_.EntryGrid() == grid_) view_.CancelEntry();
  update();
  QWidget::focusOutEvent(event);
}

void THexGrid::wheelEvent(QWheelEvent* event) {
  emit WheelTurned(event->angleDelta().y());
  event->accept();
}

void THexGrid::contextMenuEvent(QContextMenuEvent* event) {
  emit MenuRequested(event->globalPos());
  event->accept();
}

}  // namespace quenlet
