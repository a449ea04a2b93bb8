#pragma once
// Driving windows in window tests: a script that runs once a modal dialog
// is up, the mouse on skinned pictures, clicks, typing, letting queued work
// run, and the texts a dialog shows.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace quenlet::testing {

// Runs `script` on the modal dialog of type Dialog once one is up. It is
// looked for every 10 ms for 3 s, so a dialog that a queued click opens is
// found too. A script that leaves the dialog open gets it closed with
// Escape, so a failing test never hangs. With `seen` the test checks that
// the dialog came; without it, a dialog that never came is a failure.
template <class Dialog>
void WhenShown(std::function<void(Dialog&)> script, bool* seen = nullptr) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  auto tries = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, tries, script, seen] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      if (++*tries > 300) {
        poll->stop();
        poll->deleteLater();
        if (!seen) ADD_FAILURE() << "no modal " << Dialog::staticMetaObject.className();
      }
      return;
    }
    poll->stop();
    poll->deleteLater();
    if (seen) *seen = true;
    script(*dialog);
    if (dialog->isVisible()) {
      QTimer::singleShot(0, dialog, [dialog] {
        if (dialog->isVisible()) QTest::keyClick(dialog, Qt::Key_Escape);
      });
    }
  });
  poll->start();
}

// Lets queued work run: restores, and commands that clicks post.
inline void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// A mouse event at `at` in the widget, as the window system sends it;
// `global` when the widget moves under the mouse.
inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons buttons, std::optional<QPoint> global = std::nullopt) {
  QMouseEvent event(type, QPointF(at), QPointF(global.value_or(widget->mapToGlobal(at))), button,
                    buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}
// The mouse onto the middle of a skinned picture, down and up there.
inline void Hover(QWidget* w) {
  SendMouse(w, QEvent::MouseMove, w->rect().center(), Qt::NoButton, Qt::NoButton);
}
inline void Press(QWidget* w) {
  SendMouse(w, QEvent::MouseButtonPress, w->rect().center(), Qt::LeftButton, Qt::LeftButton);
}
inline void Release(QWidget* w) {
  SendMouse(w, QEvent::MouseButtonRelease, w->rect().center(), Qt::LeftButton, Qt::NoButton);
}
// A person's click on a skinned picture: onto it, down and up, and the
// command it posts has run.
inline void ClickPicture(QWidget* w) {
  Hover(w);
  Press(w);
  Release(w);
  Settle();
}

inline void Click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
}

// A radio button or check box takes a click only on its mark and text, so
// the click goes onto the mark.
inline void Pick(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Clears the field and types the text key by key.
inline void Type(QLineEdit* edit, const QString& text) {
  edit->clear();
  QTest::keyClicks(edit, text);
}

inline QStringList TextsOf(QWidget& window) {
  QStringList texts;
  for (auto* l : window.findChildren<QLabel*>()) texts << l->text();
  for (auto* b : window.findChildren<QAbstractButton*>()) texts << b->text();
  for (auto* g : window.findChildren<QGroupBox*>()) texts << g->title();
  return texts;
}

}  // namespace quenlet::testing
