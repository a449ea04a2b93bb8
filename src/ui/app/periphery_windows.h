#pragma once
// The small windows that hang on the main window: the about box behind the
// toolbar's About, the project window and the hidden Project page with its
// list, and the verify-error list made at start-up. Made after the main
// window and gone before it; the projects themselves (Projects) exist
// before the main window, which fills their list when it is created.
#include <QPointer>

class QWidget;

namespace quenlet {

class Application;
class Projects;
class TMainForm;
class TProjectList;
class Tproject_new;
class TVerify_error;

class PeripheryWindows {
 public:
  PeripheryWindows(Application& app, Projects& projects, TMainForm& window);
  ~PeripheryWindows();
  PeripheryWindows(const PeripheryWindows&) = delete;
  PeripheryWindows& operator=(const PeripheryWindows&) = delete;

  // The Project page (hidden: no button of this layout shows it).
  QWidget* ProjectPanel() const;
  TProjectList* ProjectList() const;
  Tproject_new* ProjectWindow() const;
  TVerify_error* VerifyError() const;

 private:
  Application& app_;
  Projects& projects_;
  TMainForm& window_;
  QPointer<QWidget> project_panel_;
  QPointer<TProjectList> project_list_;
  QPointer<Tproject_new> project_window_;
  QPointer<TVerify_error> verify_error_;
};

}  // namespace quenlet
