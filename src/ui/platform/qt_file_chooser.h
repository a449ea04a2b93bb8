#pragma once
// The open and save file dialogs over QFileDialog (Qt's own dialog widgets,
// the same on every desktop).
//
// A request's filter text is given as the windows always gave it, pairs of
// label and patterns separated by '|' ("Binary (*.bin)|*.bin|All File
// (*.*)|*.*", several patterns of one entry separated by ';'). On Linux
// names are case-sensitive and "*.*" misses names without a dot, so each
// pattern becomes its lower- and upper-case form ("*.bin *.BIN"), the
// listing ignores case, and "*.*" becomes "*".
//
// The save dialog never asks about an existing file: the program's dialogs
// ask that themselves, once.
//
// The dialog opens over the main window, inside the screen, at the size the
// last one was left at (at first at least 760 x 480), with its size, type
// and date columns as wide as what they show, and with the program's own
// pictures (file_dialog_icons.h) and edge.
#include <QSize>
#include <QStringList>
#include <memory>
#include <string>

#include "platform/file_chooser.h"

class QFileDialog;
class QWidget;

namespace quenlet {

class QtFileChooser : public FileChooser {
 public:
  static constexpr QSize kFirstSize{760, 480};

  explicit QtFileChooser(QWidget* parent = nullptr) : parent_(parent) {}

  std::string ChooseOpen(const FileDialogRequest& request) override;
  std::string ChooseSave(const FileDialogRequest& request) override;

 private:
  std::string Run(const FileDialogRequest& request, bool save);

  QWidget* parent_;
  QSize last_size_;
};

// The Qt name filters of a filter text, in its order.
QStringList QtNameFilters(const std::string& filter);

// The dialog a request opens, set up and not yet shown.
std::unique_ptr<QFileDialog> MakeFileDialog(const FileDialogRequest& request, bool save,
                                            QWidget* parent);

}  // namespace quenlet
