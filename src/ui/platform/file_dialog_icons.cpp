#include "ui/platform/file_dialog_icons.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include "ui/controls/look.h"

namespace quenlet {
namespace {

// The colours of a glyph, grey when its button is disabled.
struct Ink {
  QColor line;
  QColor accent;
  QColor fill;
  QColor sheet;
};

Ink InkFor(QIcon::Mode mode) {
  if (mode == QIcon::Disabled) {
    return {look::kDisabled, look::kDisabled, look::kDisabledFill, look::kDisabledFill};
  }
  return {look::kText, look::kAccent, look::kAccentLight, look::kTile};
}

QPen Stroke(const QColor& colour, qreal width = 1.5) {
  QPen pen(colour, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void Folder(QPainter& p, const Ink& ink, const QRectF& box) {
  QPainterPath folder;
  const qreal x = box.x(), y = box.y(), w = box.width(), h = box.height();
  folder.moveTo(x, y);
  folder.lineTo(x + w * 0.36, y);
  folder.lineTo(x + w * 0.46, y + h * 0.16);
  folder.lineTo(x + w, y + h * 0.16);
  folder.lineTo(x + w, y + h);
  folder.lineTo(x, y + h);
  folder.closeSubpath();
  p.setPen(Stroke(ink.accent, 1.2));
  p.setBrush(ink.fill);
  p.drawPath(folder);
}

// A screen's or a drive's casing.
void Casing(QPainter& p, const Ink& ink, const QRectF& box) {
  p.setPen(Stroke(ink.accent, 1.2));
  p.setBrush(ink.fill);
  p.drawRoundedRect(box, 1.5, 1.5);
}

// Every glyph on a 16-pixel square, lines in the skin's stroke style.
void Draw(QPainter& p, FileGlyph glyph, const Ink& ink) {
  p.setBrush(Qt::NoBrush);
  switch (glyph) {
    case FileGlyph::Folder:
      Folder(p, ink, QRectF(1.5, 3, 13, 10.5));
      break;
    case FileGlyph::File: {
      QPainterPath page;
      page.moveTo(3.5, 1.5);
      page.lineTo(10, 1.5);
      page.lineTo(12.5, 4);
      page.lineTo(12.5, 14.5);
      page.lineTo(3.5, 14.5);
      page.closeSubpath();
      p.setPen(Stroke(look::kMuted, 1.2));
      p.setBrush(ink.sheet);
      p.drawPath(page);
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(QPolygonF({{10, 1.5}, {10, 4}, {12.5, 4}}));
      p.setPen(Stroke(look::kSurfaceBorder, 1.2));
      for (qreal y : {7.5, 10.0, 12.5}) p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
      break;
    }
    case FileGlyph::Computer:
      Casing(p, ink, QRectF(1.5, 2.5, 13, 9));
      p.setPen(Stroke(ink.line, 1.2));
      p.drawLine(QPointF(8, 11.5), QPointF(8, 13.5));
      p.drawLine(QPointF(5, 14), QPointF(11, 14));
      break;
    case FileGlyph::Drive:
      Casing(p, ink, QRectF(1.5, 5, 13, 6.5));
      p.setPen(Stroke(ink.accent, 2));
      p.drawPoint(QPointF(11.5, 8.25));
      break;
    case FileGlyph::Back:
    case FileGlyph::Forward: {
      p.save();
      if (glyph == FileGlyph::Forward) {
        p.translate(16, 0);
        p.scale(-1, 1);
      }
      p.setPen(Stroke(ink.line));
      p.drawLine(QPointF(13, 8), QPointF(3.5, 8));
      p.drawPolyline(QPolygonF({{7.5, 4}, {3.5, 8}, {7.5, 12}}));
      p.restore();
      break;
    }
    case FileGlyph::Up:
      p.setPen(Stroke(ink.line));
      p.drawLine(QPointF(8, 13), QPointF(8, 3.5));
      p.drawPolyline(QPolygonF({{4, 7.5}, {8, 3.5}, {12, 7.5}}));
      break;
    case FileGlyph::NewFolder:
      Folder(p, ink, QRectF(1.5, 2.5, 11, 9));
      p.setPen(Stroke(ink.line));
      p.drawLine(QPointF(12, 9.5), QPointF(12, 14.5));
      p.drawLine(QPointF(9.5, 12), QPointF(14.5, 12));
      break;
    case FileGlyph::List:
      p.setPen(Stroke(ink.line, 1.2));
      for (qreal x : {2.5, 9.0}) {
        for (qreal y : {2.5, 9.0}) p.drawRoundedRect(QRectF(x, y, 4.5, 4.5), 1, 1);
      }
      break;
    case FileGlyph::Detail:
      p.setPen(Stroke(ink.line));
      for (qreal y : {4.0, 8.0, 12.0}) {
        p.drawPoint(QPointF(3, y));
        p.drawLine(QPointF(6, y), QPointF(13.5, y));
      }
      break;
  }
}

// Paints its glyph at whatever size and pixel ratio it is asked for.
class GlyphEngine : public QIconEngine {
 public:
  explicit GlyphEngine(FileGlyph glyph) : glyph_(glyph) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / 16.0, rect.height() / 16.0);
    Draw(*painter, glyph_, InkFor(mode));
    painter->restore();
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    paint(&p, QRect(QPoint(0, 0), size), mode, state);
    return pixmap;
  }
  QIconEngine* clone() const override { return new GlyphEngine(glyph_); }

 private:
  FileGlyph glyph_;
};

}  // namespace

QIcon FileGlyphIcon(FileGlyph glyph) {
  return QIcon(new GlyphEngine(glyph));
}

QIcon DrawnFileIcons::icon(IconType type) const {
  switch (type) {
    case Computer:
    case Desktop:
    case Network:
      return FileGlyphIcon(FileGlyph::Computer);
    case Drive:
      return FileGlyphIcon(FileGlyph::Drive);
    case Folder:
      return FileGlyphIcon(FileGlyph::Folder);
    case Trashcan:
    case File:
      return FileGlyphIcon(FileGlyph::File);
  }
  return FileGlyphIcon(FileGlyph::File);
}

QIcon DrawnFileIcons::icon(const QFileInfo& info) const {
  if (info.isRoot()) return icon(Drive);
  return icon(info.isDir() ? Folder : File);
}

void UseDrawnIcons(QFileDialog& dialog) {
  // One provider for every dialog of the run: stateless, and never gone
  // before a dialog that uses it.
  static DrawnFileIcons* const icons = new DrawnFileIcons;
  dialog.setIconProvider(icons);
  const struct {
    const char* button;
    FileGlyph glyph;
  } buttons[] = {{"backButton", FileGlyph::Back},     {"forwardButton", FileGlyph::Forward},
                 {"toParentButton", FileGlyph::Up},   {"newFolderButton", FileGlyph::NewFolder},
                 {"listModeButton", FileGlyph::List}, {"detailModeButton", FileGlyph::Detail}};
  for (const auto& b : buttons) {
    if (auto* button = dialog.findChild<QToolButton*>(b.button)) {
      button->setIcon(FileGlyphIcon(b.glyph));
    }
  }
}

}  // namespace quenlet
