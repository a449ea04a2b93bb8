#pragma once
// The program's message box, in its own look with or without a window
// manager: a frameless modal dialog whose caption stands whole in a title
// band, its icon drawn by the program at the box's pixel ratio, the text,
// and the buttons at the bottom right (the first one the default). Escape is
// Cancel where there is one, No for Yes/No, else OK.
#include <QDialog>
#include <QString>

#include "platform/user_interfaces.h"

class QLabel;
class QPushButton;

namespace quenlet {

class MessageBoxWindow : public QDialog {
  Q_OBJECT

 public:
  // The widest a line of text runs before it wraps.
  static constexpr int kTextWidth = 480;

  MessageBoxWindow(const QString& caption, const QString& text, MessageButtons buttons,
                   MessageIcon icon, QWidget* parent = nullptr);

  // The button pressed (or the one Escape stands for).
  MessageResult Result() const { return result_; }
  // The button for `result`; null when the box has none.
  QPushButton* Button(MessageResult result) const;
  QLabel* TextLabel() const { return text_; }
  MessageIcon Icon() const { return icon_; }

  void reject() override;

 private:
  void Press(MessageResult result);

  MessageIcon icon_;
  MessageButtons buttons_;
  MessageResult result_;
  QLabel* text_ = nullptr;
  QPushButton* buttons_by_result_[4] = {};
};

// Shows the box modally over `owner`, placed as the program's windows are,
// and returns the button pressed.
MessageResult RunMessageBox(const QString& caption, const QString& text, MessageButtons buttons,
                            MessageIcon icon, QWidget* owner);

}  // namespace quenlet
