#pragma once
// The look of the buffer dialogs (load, save, block, resize, fill,
// checksum): the light working surface with dark text, the accent for focus
// and selection, DejaVu Sans for labels and DejaVu Sans Mono for every hex
// value, all from the program's one palette (ui/controls/look.h).
#include <span>

#include "ui/controls/look.h"

class QButtonGroup;
class QDialog;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace quenlet {

// Palette and label font for a dialog and everything in it.
void ApplyDialogLook(QWidget* dialog);

// A modal parameter dialog with a title bar that stays above the main
// window, in the dialogs' look, with the program's edge (window_frame.h).
// close_button: the title bar has one.
void SetUpParameterDialog(QDialog* dialog, const char* object_name, const char* title,
                          bool close_button = true);

class THistoryComboBox;

// Builders the dialogs share, so their rows line up alike.
// A button with its object name; its text is its accessible name.
QPushButton* MakeDialogButton(const char* name, const char* text, QWidget* parent);
// The file-name field of a dialog: a history of 10 names in `section`.
THistoryComboBox* MakeNameEdit(const char* section, const char* accessible_name, int min_width,
                               QWidget* parent);
// A group box of radio buttons, one per text, their ids the codes 0, 1, ...,
// in `columns` columns filled top to bottom.
QGroupBox* MakeRadioGroup(const char* name, const char* title, std::span<const char* const> texts,
                          int columns, QButtonGroup* group, QWidget* parent);
// The "Format" group: one column.
QGroupBox* MakeFormatGroup(std::span<const char* const> texts, QButtonGroup* group,
                           QWidget* parent);
// "label  [field.......]  [button]"
QHBoxLayout* NameRow(const char* label, QWidget* field, QWidget* button, QWidget* parent);
// The confirming and the cancelling button at the bottom right.
QHBoxLayout* ButtonRow(QPushButton* confirm, QPushButton* cancel);

}  // namespace quenlet
