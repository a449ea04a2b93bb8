#include "ui/programmer/engineering_panel_widget.h"

#include <QEvent>
#include <QGridLayout>
#include <QInputDialog>
#include <QPushButton>

#include "programmer/engineering_panel.h"
#include "ui/controls/dialog_look.h"
#include "ui/controls/display_text.h"
#include "ui/controls/window_frame.h"
#include "ui/controls/window_placement.h"

namespace quenlet {
namespace {

constexpr int kColumns = 6;

}  // namespace

std::string QtInputBox::Ask(const std::string& caption, const std::string& prompt,
                            const std::string& default_text) {
  QInputDialog box(parent_);
  box.setWindowTitle(DisplayText(caption));
  box.setLabelText(DisplayText(prompt));
  box.setTextValue(DisplayText(default_text));
  FrameWindow(&box);
  PlaceWindow(box, WindowPlacement::OverMainWindow(parent_ ? parent_->window() : nullptr));
  return box.exec() == QDialog::Accepted ? TypedBytes(box.textValue()) : default_text;
}

EngineeringPanelWidget::EngineeringPanelWidget(EngineeringPanel& panel, Runner run, QWidget* parent)
    : QFrame(parent), panel_(panel), run_(std::move(run)) {
  setObjectName("Panel4");
  setAccessibleName("Engineering panel");
  setFrameShape(QFrame::StyledPanel);
  ApplyDialogLook(this);

  grid_ = new QGridLayout(this);
  grid_->setContentsMargins(8, 8, 8, 8);
  grid_->setSpacing(4);
  using P = EngineeringPanel;
  struct Entry {
    const char* name;
    const char* caption;
    const char* accessible;  // null: the caption
    void (P::*click)();
  };
  const Entry entries[] = {
      {"Button6", "Open USB", nullptr, &P::Button6Click},
      {"Button7", "Read SRAM", nullptr, &P::Button7Click},
      {"Button8", "Write SRAM", nullptr, &P::Button8Click},
      {"Button9", "0x4c", "Request 0x4C", &P::Button9Click},
      {"Button10", "0x4d", "Request 0x4D", &P::Button9Click},
      {"Button12", "0x41", "Version request", &P::Button12Click},
      {"Button13", "0x42", "Status request", &P::Button13Click},
      {"Button15", "Page", nullptr, &P::Button15Click},
      {"Button16", "0x44", "Request 0x44", &P::Button16Click},
      {"Button17", "0x45", "Request 0x45", &P::Button17Click},
      {"Button18", "0x48", "Request 0x48", &P::Button18Click},
      {"Button19", "0x49", "Request 0x49", &P::Button19Click},
      {"Button20", "0x4a", "Request 0x4A", &P::Button20Click},
      {"Button21", "0x4B", "Component records", &P::Button21Click},
      {"Button1", "DLL ptr", "Test library with a pointer", &P::Button1Click},
      {"Button2", "DLL buffer", "Test library with the buffer", &P::Button2Click},
      {"Erase", "Erase", nullptr, &P::EraseClick},
      {"check", "check", "Blank check", &P::checkClick},
      {"program", "program", "Program", &P::programClick},
      {"verify", "verify", "Verify", &P::verifyClick},
      {"Prot", "Prot", "Protect", &P::ProtClick},
      {"prog", "prog", "Program test", &P::progClick},
      {"Init", "Init", nullptr, &P::InitClick},
  };
  for (const Entry& e : entries) {
    AddButton(e.name, e.caption, e.accessible ? e.accessible : e.caption, e.click);
  }
  button21_ = Button("Button21");
  button21_->setMouseTracking(true);
  button21_->installEventFilter(this);
  hide();
}

QPushButton* EngineeringPanelWidget::AddButton(const char* name, const char* caption,
                                               const char* accessible,
                                               void (EngineeringPanel::*click)()) {
  EngineeringPanel* panel = &panel_;
  return Place(name, caption, accessible, [panel, click] { (panel->*click)(); });
}

QPushButton* EngineeringPanelWidget::AddCommandButton(const char* name, const char* caption,
                                                      const char* accessible,
                                                      std::function<void()> work) {
  return Place(name, caption, accessible, std::move(work));
}

QPushButton* EngineeringPanelWidget::Place(const char* name, const char* caption,
                                           const char* accessible, std::function<void()> work) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setAccessibleName(accessible);
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::TabFocus);
  connect(button, &QPushButton::clicked, this, [this, work = std::move(work)] {
    if (!work) return;
    if (run_) {
      run_(work);
    } else {
      work();
    }
  });
  grid_->addWidget(button, buttons_ / kColumns, buttons_ % kColumns);
  ++buttons_;
  return button;
}

QPushButton* EngineeringPanelWidget::Button(const char* name) const {
  return findChild<QPushButton*>(name);
}

void EngineeringPanelWidget::SetSramButtonsEnabled(bool enabled) {
  Button("Button7")->setEnabled(enabled);
  Button("Button8")->setEnabled(enabled);
}

bool EngineeringPanelWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == button21_ && event->type() == QEvent::MouseMove) hide();
  return QFrame::eventFilter(watched, event);
}

}  // namespace quenlet
