#pragma once
// The open and save file dialogs. The windows pass one over QFileDialog;
// tests pass a fake, so no test ever opens a real dialog.
#include <string>

namespace quenlet {

struct FileDialogRequest {
  std::string title;
  // Pairs of label and patterns as the windows give them:
  // "Binary (*.bin)|*.bin|All File (*.*)|*.*"; patterns match either case.
  std::string filter;
  std::string initial_dir;
  std::string initial_name;
  std::string default_extension;  // save only, without the dot
  // Open: the file must exist. Save: its folder must exist.
  bool must_exist = false;
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The chosen path, or "" when the operator cancelled.
  virtual std::string ChooseOpen(const FileDialogRequest& request) = 0;
  virtual std::string ChooseSave(const FileDialogRequest& request) = 0;
};

}  // namespace quenlet
