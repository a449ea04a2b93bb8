#pragma once
// Driving modal dialogs in window tests: a script that runs once the dialog
// is up, clicks, typing, and the texts a dialog shows.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

namespace quenlet::testing {

// Runs `script` on the modal dialog of type Dialog once it is shown. A
// script that leaves the dialog open gets it closed with Escape, so a
// failing test never hangs.
template <class Dialog>
void WhenShown(std::function<void(Dialog&)> script) {
  QTimer::singleShot(0, [script] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "no modal " << Dialog::staticMetaObject.className();
      return;
    }
    script(*dialog);
    if (dialog->isVisible()) {
      QTimer::singleShot(0, dialog, [dialog] {
        if (dialog->isVisible()) QTest::keyClick(dialog, Qt::Key_Escape);
      });
    }
  });
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
