#pragma once
// Placing a window in the middle of the screen.
class QWidget;

namespace quenlet {

// Centres `window` on the primary screen's work area (without panels and
// docks). Only the primary screen: centred on a desktop spread over several
// screens, the window would sit on their seam. Without a screen nothing moves.
void CenterOnPrimaryScreen(QWidget* window);

}  // namespace quenlet
