#pragma once
// The engineers' hidden panel "Panel4" of the main window's Copy page: one
// plain button per request of the engineering panel's logic. The main
// window shows and hides it (double and single click on its trigger); a
// mouse move over "0x4B" hides it too. Every click goes through the runner
// the owner gives, so the program's busy gate applies.
#include <QFrame>
#include <functional>
#include <string>

#include "platform/input_box.h"

class QGridLayout;
class QPushButton;

namespace quenlet {

class EngineeringPanel;

// The framework's input box; Cancel hands back the default text.
class QtInputBox : public InputBox {
 public:
  explicit QtInputBox(QWidget* parent) : parent_(parent) {}
  std::string Ask(const std::string& caption, const std::string& prompt,
                  const std::string& default_text) override;

 private:
  QWidget* parent_;
};

class EngineeringPanelWidget : public QFrame {
  Q_OBJECT

 public:
  using Runner = std::function<void(const std::function<void()>&)>;

  // `run` runs one click's work (null: at once).
  EngineeringPanelWidget(EngineeringPanel& panel, Runner run, QWidget* parent = nullptr);

  QPushButton* Button(const char* name) const;

  // A button of the panel whose work lies beyond the engineering panel's
  // logic (Button14: the Create page's type button), placed after the
  // others and run through the same runner. An empty work does nothing.
  QPushButton* AddCommandButton(const char* name, const char* caption, const char* accessible,
                                std::function<void()> work);

 public slots:
  // "Read SRAM" and "Write SRAM" follow every reconnect.
  void SetSramButtonsEnabled(bool enabled);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* AddButton(const char* name, const char* caption, const char* accessible,
                         void (EngineeringPanel::*click)());
  // The button in the next cell of the grid.
  QPushButton* Place(const char* name, const char* caption, const char* accessible,
                     std::function<void()> work);

  EngineeringPanel& panel_;
  Runner run_;
  QGridLayout* grid_ = nullptr;
  int buttons_ = 0;
  QPushButton* button21_ = nullptr;
};

}  // namespace quenlet
