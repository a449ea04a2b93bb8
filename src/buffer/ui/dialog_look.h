#pragma once
// The look of the buffer dialogs (load, save, block, resize, fill,
// checksum): the light working surface with dark text, the accent for focus
// and selection, DejaVu Sans for labels and DejaVu Sans Mono for every hex
// value.
#include <QFont>

class QWidget;

namespace quenlet {

// Palette and label font for a dialog and everything in it.
void ApplyDialogLook(QWidget* dialog);

QFont LabelFont();  // 12 px
QFont TitleFont();  // 16 px semibold
QFont HexFont();    // 13 px mono, for address and value fields

// Colours of the working surface.
inline constexpr unsigned kSurfaceColour = 0xF4F6F8;
inline constexpr unsigned kSurfaceBorderColour = 0xC9D1DA;

}  // namespace quenlet
