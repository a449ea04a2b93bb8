#pragma once
// The pictures of the file dialogs, drawn by the program in the look's
// line style instead of the toolkit's own bitmaps: folders, files and the
// computer in the listing and the sidebar, and the tool buttons (back,
// forward, up, new folder, list and detail view). Each is painted for the
// size and pixel ratio it is shown at.
#include <QAbstractFileIconProvider>
#include <QIcon>

class QFileDialog;

namespace quenlet {

enum class FileGlyph { Folder, File, Computer, Drive, Back, Forward, Up, NewFolder, List, Detail };

QIcon FileGlyphIcon(FileGlyph glyph);

class DrawnFileIcons : public QAbstractFileIconProvider {
 public:
  QIcon icon(IconType type) const override;
  QIcon icon(const QFileInfo& info) const override;
};

// Gives `dialog` the drawn pictures, its listing and its tool buttons.
void UseDrawnIcons(QFileDialog& dialog);

}  // namespace quenlet
