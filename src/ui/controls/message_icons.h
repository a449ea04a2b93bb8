#pragma once
// The message boxes' icons, drawn in the look's palette: information (an
// "i" on the accent), warning (a "!" on the working colour), error (a cross
// on the fail colour) and question (a "?" on the accent).
#include <QPixmap>

#include "platform/user_interfaces.h"

namespace quenlet {

inline constexpr int kMessageIconSize = 32;

// The icon, kMessageIconSize pixels square at `pixel_ratio` device pixels
// per pixel; null for MessageIcon::None.
QPixmap MessageIconPixmap(MessageIcon icon, qreal pixel_ratio);

}  // namespace quenlet
