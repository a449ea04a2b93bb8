#pragma once
// The buffer editor on the main window's Edit page. Made once, right after
// the main window (main() and the window tests):
//
//   TMainForm window(app);
//   TMainEdit* editor = EmbedBufferEditor(window);
//
// The editor fills the page's container and shows the application's data
// buffer. The page's Sum, Block and Fill run the editor's Get Sum, Block and
// Fill Data; the program's editor refresh (after a load or a device read)
// redraws it. The editor's popup commands (Load, Save, Get Sum, Fill Data,
// Block, Resize) run through the application's busy gate like every other
// button, and typing, the swap buttons and the Data Set items ask the same
// gate first, so none of them can change the buffer while a device
// operation lets the window take clicks.
namespace quenlet {

class TMainEdit;
class TMainForm;

// The editor lives as long as the window; the commands it filled are
// emptied again when it goes.
TMainEdit* EmbedBufferEditor(TMainForm& window);

}  // namespace quenlet
