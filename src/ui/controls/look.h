#pragma once
// The program's one visual language: palette and fonts of every window and
// control. A dark, quiet frame around a light working surface; colour only
// where it carries meaning (a step working, passed or failed).
#include <QColor>
#include <QFont>
#include <QPalette>

namespace quenlet::look {

// Frame (the main window's background).
inline const QColor kFrameTop{0x2B, 0x34, 0x40};
inline const QColor kFrameBottom{0x1E, 0x25, 0x2E};
inline const QColor kFrameEdge{0x3C, 0x47, 0x56};
inline const QColor kFrameText{0xE6, 0xEB, 0xF0};
inline const QColor kFrameMuted{0x8C, 0x99, 0xA8};
// The status lamps' bezel: a gradient from its top to kFrameBottom, with a
// darker edge.
inline const QColor kBezelTop{0x5B, 0x67, 0x75};
inline const QColor kBezelEdge{0x11, 0x16, 0x1C};
// Working surface (pages, dialogs).
inline const QColor kSurface{0xF4, 0xF6, 0xF8};
inline const QColor kSurfaceBorder{0xC9, 0xD1, 0xDA};
inline const QColor kTile{0xFF, 0xFF, 0xFF};
inline const QColor kText{0x1F, 0x29, 0x33};
inline const QColor kMuted{0x5B, 0x67, 0x75};
// Where values are typed and read: fields and the cells of the hex grids,
// with the grids' header row and the lines between their columns.
inline const QColor kField{0xFF, 0xFF, 0xFF};
inline const QColor kFieldHeader{0xE9, 0xED, 0xF1};
inline const QColor kFieldSeparator{0xEE, 0xF1, 0xF4};
// The rim of a light fuse cell.
inline const QColor kCellRim{0x8E, 0x99, 0xA6};
// Meaning.
inline const QColor kAccent{0x1F, 0x6F, 0xD1};
inline const QColor kAccentLight{0xDC, 0xEB, 0xFA};
inline const QColor kAccentPressed{0xC4, 0xD2, 0xDF};  // kAccentLight, 12 % darker
inline const QColor kAccentDark{0x0F, 0x3F, 0x7A};
inline const QColor kWorking{0xD9, 0x8E, 0x04};
inline const QColor kWorkingLight{0xFF, 0xF4, 0xD6};
inline const QColor kPass{0x2E, 0x9E, 0x44};
inline const QColor kPassLight{0xE3, 0xF5, 0xE6};
inline const QColor kFail{0xD2, 0x3B, 0x3B};
inline const QColor kFailLight{0xFD, 0xE7, 0xE7};
inline const QColor kDisabled{0xAE, 0xB7, 0xC1};
inline const QColor kDisabledFill{0xEC, 0xEF, 0xF2};
// Text and glyphs on a strong colour (accent, pass, fail).
inline const QColor kOnAccent{0xFF, 0xFF, 0xFF};
// The classic control frame of the picture grids (buffer map, fuse grid) and
// the LCD box: silver face, grey and white sunken bevel, black outline.
inline const QColor kControlFace{0xC0, 0xC0, 0xC0};
inline const QColor kControlShadow{0x80, 0x80, 0x80};
inline const QColor kControlHighlight{0xFF, 0xFF, 0xFF};
inline const QColor kControlOutline{0x00, 0x00, 0x00};

// Fixed pixel sizes, so that the fixed layouts hold at every scale.
inline QFont Sans(int pixel_size, bool bold = false) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  font.setStyleHint(QFont::SansSerif);
  return font;
}
inline QFont Mono(int pixel_size) {
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setPixelSize(pixel_size);
  font.setStyleHint(QFont::Monospace);
  return font;
}
inline QFont LabelFont() {
  return Sans(12);
}
inline QFont CaptionFont() {
  return Sans(11);
}
inline QFont TitleFont() {
  return Sans(16, true);
}
// Every hex value: addresses, sums, the grids' cells.
inline QFont HexFont() {
  return Mono(13);
}

// `from` in the program's colours: the working surface, white fields, the
// accent for selections, one grey for whatever is disabled. `button` is the
// face of plain buttons (the surface in dialogs, white tiles on the main
// window).
inline QPalette Palette(QPalette from, const QColor& button) {
  from.setColor(QPalette::Window, kSurface);
  from.setColor(QPalette::WindowText, kText);
  from.setColor(QPalette::Base, kField);
  from.setColor(QPalette::AlternateBase, kSurface);
  from.setColor(QPalette::Text, kText);
  from.setColor(QPalette::Button, button);
  from.setColor(QPalette::ButtonText, kText);
  from.setColor(QPalette::PlaceholderText, kMuted);
  from.setColor(QPalette::Highlight, kAccent);
  from.setColor(QPalette::HighlightedText, kOnAccent);
  from.setColor(QPalette::Mid, kSurfaceBorder);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    from.setColor(QPalette::Disabled, role, kDisabled);
  }
  from.setColor(QPalette::Disabled, QPalette::Base, kDisabledFill);
  from.setColor(QPalette::Disabled, QPalette::Button, kDisabledFill);
  return from;
}

}  // namespace quenlet::look
