#pragma once
// Driving a modal dialog from a test: the script runs once the dialog of
// the given type is the active modal window.
#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

namespace quenlet {

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

}  // namespace quenlet
