#include "ui/controls/input_gate.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace quenlet {
namespace {

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
      return true;
    default:
      return false;
  }
}

// Tab and Backtab only move the focus.
bool MovesFocusOnly(const QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) {
    return false;
  }
  const auto* key = static_cast<const QKeyEvent*>(event);
  const Qt::KeyboardModifiers others = key->modifiers() & ~Qt::ShiftModifier;
  return (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && others == 0;
}

// Qt's button interface, for the program's own buttons, with the gate asked
// before a press acts.
class GatedButtonInterface : public QAccessibleWidget {
 public:
  explicit GatedButtonInterface(QAbstractButton* button)
      : QAccessibleWidget(button, QAccessible::Button) {}

  QString text(QAccessible::Text t) const override {
    QString s = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && s.isEmpty()) s = button()->text().remove(QLatin1Char('&'));
    return s;
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = button()->isCheckable();
    s.checked = button()->isChecked();
    s.pressed = button()->isDown();
    return s;
  }
  QStringList actionNames() const override {
    QStringList names;
    if (widget()->isEnabled()) names << (button()->isCheckable() ? toggleAction() : pressAction());
    return names + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action != pressAction() && action != toggleAction()) {
      QAccessibleWidget::doAction(action);
      return;
    }
    const InputGate* gate = InputGate::Of(widget());
    if (!widget()->isEnabled() || (gate != nullptr && !gate->Admits(widget()))) return;
    if (action == toggleAction()) {
      button()->toggle();
    } else {
      button()->animateClick();
    }
  }

 private:
  QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

// Asked before Qt's own factory for every class of the program; Qt's buttons
// keep Qt's interface.
QAccessibleInterface* GatedButtons(const QString& class_name, QObject* object) {
  auto* button = qobject_cast<QAbstractButton*>(object);
  if (button == nullptr || !class_name.startsWith(QLatin1String("quenlet::"))) return nullptr;
  return new GatedButtonInterface(button);
}

}  // namespace

InputGate::InputGate(std::function<bool()> takes_input, QWidget& window)
    : QObject(&window), takes_input_(std::move(takes_input)), window_(window) {
  QAccessible::installFactory(GatedButtons);
  QCoreApplication::instance()->installEventFilter(this);
}

InputGate::~InputGate() {
  QCoreApplication::instance()->removeEventFilter(this);
}

const InputGate* InputGate::Of(const QWidget* widget) {
  return widget->window()->findChild<InputGate*>(QString(), Qt::FindDirectChildrenOnly);
}

void InputGate::AlwaysAdmit(const QWidget* widget) {
  always_.emplace_back(widget);
}

bool InputGate::InGatedWindow(const QWidget* target) const {
  const QWidget* top = target->window();
  // A popup (a menu of an editor in the window) belongs to the window too.
  while (top != &window_ && top->windowType() == Qt::Popup && top->parentWidget() != nullptr) {
    top = top->parentWidget()->window();
  }
  return top == &window_;
}

bool InputGate::Admits(const QWidget* target) const {
  if (target == nullptr || takes_input_() || !InGatedWindow(target)) return true;
  for (const QPointer<const QWidget>& admitted : always_) {
    if (admitted && (admitted == target || admitted->isAncestorOf(target))) return true;
  }
  return false;
}

bool InputGate::eventFilter(QObject* watched, QEvent* event) {
  if (!IsInput(event->type()) || !watched->isWidgetType() || MovesFocusOnly(event)) return false;
  return !Admits(static_cast<const QWidget*>(watched));
}

}  // namespace quenlet
