#pragma once
// The frame the program draws around its own windows, so that they look the
// same with a window manager and without one: a 1 px edge in the frame
// colour over everything in the window, which keeps the window apart from
// the main window under it, and, for a window with a caption, a title band
// across its top (the frame's gradient with the window's title, following
// setWindowTitle). The band drags its window, as the frame drags the main
// window.
class QWidget;

namespace quenlet {

inline constexpr int kTitleBandHeight = 32;

enum class WindowTitle { None, Band };

// Gives `window` its edge and, with WindowTitle::Band, the title band.
// The band's height is added to the top margin of the window's layout
// (call this once the layout is set); a window without a layout keeps its
// children below kTitleBandHeight itself. The band, or null without one.
QWidget* FrameWindow(QWidget* window, WindowTitle title = WindowTitle::None);

}  // namespace quenlet
