#include "ui/controls/message_box_window.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "ui/controls/dialog_look.h"
#include "ui/controls/message_icons.h"
#include "ui/controls/window_frame.h"
#include "ui/controls/window_placement.h"

namespace quenlet {
namespace {

// The icon, painted for the pixel ratio of the screen the box is on.
class MessageIconView : public QWidget {
 public:
  MessageIconView(MessageIcon icon, QWidget* parent) : QWidget(parent), icon_(icon) {
    setObjectName("Icon");
    setFixedSize(kMessageIconSize, kMessageIconSize);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const qreal ratio = devicePixelRatioF();
    if (cached_.isNull() || cached_.devicePixelRatio() != ratio) {
      cached_ = MessageIconPixmap(icon_, ratio);
    }
    QPainter(this).drawPixmap(0, 0, cached_);
  }

 private:
  MessageIcon icon_;
  QPixmap cached_;
};

struct ButtonText {
  MessageResult result;
  const char* name;
  const char* text;
};
constexpr ButtonText kOk{MessageResult::Ok, "OK", "OK"};
constexpr ButtonText kCancel{MessageResult::Cancel, "Cancel", "Cancel"};
constexpr ButtonText kYes{MessageResult::Yes, "Yes", "&Yes"};
constexpr ButtonText kNo{MessageResult::No, "No", "&No"};

std::vector<ButtonText> ButtonsOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return {kOk};
    case MessageButtons::OkCancel:
      return {kOk, kCancel};
    case MessageButtons::YesNo:
      return {kYes, kNo};
    case MessageButtons::YesNoCancel:
      return {kYes, kNo, kCancel};
  }
  return {kOk};
}

MessageResult EscapeResult(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return MessageResult::Ok;
    case MessageButtons::YesNo:
      return MessageResult::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
      return MessageResult::Cancel;
  }
  return MessageResult::Ok;
}

int Widest(const QFontMetrics& metrics, const QString& text) {
  int widest = 0;
  for (const QString& line : text.split('\n')) {
    widest = std::max(widest, metrics.horizontalAdvance(line));
  }
  return widest;
}

}  // namespace

MessageBoxWindow::MessageBoxWindow(const QString& caption_text, const QString& text,
                                   MessageButtons buttons, MessageIcon icon, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      icon_(icon),
      buttons_(buttons),
      result_(EscapeResult(buttons)) {
  setObjectName("MessageBox");
  setWindowTitle(caption_text);
  setModal(true);
  ApplyDialogLook(this);

  text_ = new QLabel(text, this);
  text_->setObjectName("Text");
  text_->setTextFormat(Qt::PlainText);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  if (Widest(text_->fontMetrics(), text) > kTextWidth) {
    text_->setWordWrap(true);
    text_->setFixedWidth(kTextWidth);
  }

  auto* message = new QHBoxLayout;
  message->setSpacing(16);
  if (icon != MessageIcon::None) {
    message->addWidget(new MessageIconView(icon, this), 0, Qt::AlignTop);
  }
  message->addWidget(text_, 1);

  auto* row = new QHBoxLayout;
  row->setSpacing(8);
  row->addStretch();
  bool first = true;
  for (const ButtonText& b : ButtonsOf(buttons)) {
    QPushButton* button = MakeDialogButton(b.name, b.text, this);
    button->setAccessibleName(b.name);
    button->setDefault(first);
    first = false;
    const MessageResult result = b.result;
    connect(button, &QPushButton::clicked, this, [this, result] { Press(result); });
    buttons_by_result_[static_cast<int>(result)] = button;
    row->addWidget(button);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->setSpacing(20);
  layout->addLayout(message);
  layout->addLayout(row);
  FrameWindow(this, WindowTitle::Band);

  // Wide enough for the caption to stand whole in its band.
  const QSize hint = sizeHint();
  const int caption = QFontMetrics(look::TitleFont()).horizontalAdvance(caption_text) + 2 * 16;
  setFixedSize(std::max(hint.width(), caption), hint.height());
}

QPushButton* MessageBoxWindow::Button(MessageResult result) const {
  return buttons_by_result_[static_cast<int>(result)];
}

void MessageBoxWindow::reject() {
  Press(EscapeResult(buttons_));
}

void MessageBoxWindow::Press(MessageResult result) {
  result_ = result;
  if (result == MessageResult::Cancel || result == MessageResult::No) {
    QDialog::reject();
  } else {
    accept();
  }
}

MessageResult RunMessageBox(const QString& caption, const QString& text, MessageButtons buttons,
                            MessageIcon icon, QWidget* owner) {
  MessageBoxWindow box(caption, text, buttons, icon, owner);
  PlaceWindow(box, owner ? WindowPlacement::OverMainWindow(owner) : WindowPlacement::OnScreen());
  box.exec();
  return box.Result();
}

}  // namespace quenlet
