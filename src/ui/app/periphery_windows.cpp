#include "ui/app/periphery_windows.h"

#include <QPainter>

#include "app/application.h"
#include "app/projects.h"
#include "ui/app/about_box.h"
#include "ui/app/main_form.h"
#include "ui/app/project_list.h"
#include "ui/app/project_new.h"
#include "ui/app/verify_error.h"
#include "ui/controls/look.h"

namespace quenlet {
namespace {

// The Project page: the working surface around the list.
class ProjectPage : public QWidget {
 public:
  explicit ProjectPage(QWidget* parent) : QWidget(parent) { setObjectName("Project_Panel"); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(look::kSurfaceBorder, 1.0));
    p.setBrush(look::kSurface);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
  }
};

constexpr int kPageMargin = 10;

}  // namespace

PeripheryWindows::PeripheryWindows(Application& app, Projects& projects, TMainForm& window)
    : app_(app), projects_(projects), window_(window) {
  project_panel_ = new ProjectPage(&window);
  project_panel_->setGeometry(QRect(TMainForm::kPagePosition, SkinPictures::kPageSize));
  project_list_ = new TProjectList(app, projects, project_panel_);
  project_list_->setGeometry(QRect(QPoint(0, 0), SkinPictures::kPageSize)
                                 .adjusted(kPageMargin, kPageMargin, -kPageMargin, -kPageMargin));
  project_panel_->hide();

  project_window_ = new Tproject_new(&window);
  projects_.SetWindow(project_window_);
  verify_error_ = new TVerify_error(&window);

  app_.commands().about = [this] {
    TAboutBox box(app_, &window_);
    box.exec();
  };
  window_.Refresh();
}

PeripheryWindows::~PeripheryWindows() {
  app_.commands().about = nullptr;
  projects_.SetWindow(nullptr);
  delete verify_error_;
  delete project_window_;
  delete project_panel_;
  window_.Refresh();
}

QWidget* PeripheryWindows::ProjectPanel() const {
  return project_panel_;
}
TProjectList* PeripheryWindows::ProjectList() const {
  return project_list_;
}
Tproject_new* PeripheryWindows::ProjectWindow() const {
  return project_window_;
}
TVerify_error* PeripheryWindows::VerifyError() const {
  return verify_error_;
}

}  // namespace quenlet
