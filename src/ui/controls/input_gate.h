#pragma once
// The one gate the operator's input passes on its way into the main window.
// While the program does not take input (a command, a step, a pass, the
// start-up restore, the self-test or a load runs, or the exit question is
// open), only the widgets admitted for good (Stop) and the windows the
// running work opens itself (its message boxes and questions, its dialogs,
// the progress window) take input; every other widget of the window (the
// pictures, the run boxes, the editors embedded in it and its popups) waits.
// Tab and Backtab still move the focus, so that Stop can be reached from
// the keyboard.
//
// The two ways in pass it:
//   - the mouse, the keys and the wheel: one event filter on the Qt
//     application drops them;
//   - the press of assistive technology, which posts no input event and
//     clicks the button directly: the program's own buttons (Q_OBJECT
//     classes of this program deriving from QAbstractButton) answer it
//     through an accessible interface that asks the gate first, and the
//     handlers of Qt's own buttons in the window ask Admits().
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QWidget;

namespace quenlet {

class InputGate : public QObject {
  Q_OBJECT

 public:
  // `takes_input` tells whether the program takes the operator's input now;
  // `window` is the window whose widgets wait while it does not. The gate is
  // installed on the Qt application for its lifetime.
  InputGate(std::function<bool()> takes_input, QWidget& window);
  ~InputGate() override;

  // `widget` (and what lies inside it) takes input whenever the window does
  // not: Stop.
  void AlwaysAdmit(const QWidget* widget);
  // Whether input to `target` goes through now.
  bool Admits(const QWidget* target) const;

  // The gate of the window `widget` lies in (a child of that window), or
  // null for a window without one.
  static const InputGate* Of(const QWidget* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool InGatedWindow(const QWidget* target) const;

  std::function<bool()> takes_input_;
  QWidget& window_;
  std::vector<QPointer<const QWidget>> always_;
};

}  // namespace quenlet
