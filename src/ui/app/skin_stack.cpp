#include "ui/app/skin_stack.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "programmer/step_pictures.h"
#include "ui/app/skin_pictures.h"
#include "ui/controls/look.h"

namespace quenlet {
namespace {

std::string TopOf(const std::vector<std::string>& layers, const StepPictures& model) {
  for (const std::string& layer : layers) {
    if (model.VisibleByName(layer)) return layer;
  }
  return {};
}

const char* StepState(const std::string& top, const std::string& frame) {
  if (top.empty() || top == frame) return "not available for this device";
  switch (top.back()) {
    case 'w':
      return "working";
    case 'p':
      return "passed";
    case 'f':
      return "failed";
    default:
      return "ready";
  }
}

// The focus went to another window (a dialog, a message box) and comes
// back from it: it is still where the keyboard put it.
bool WindowChange(const QFocusEvent* event) {
  return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

}  // namespace

SkinStack::SkinStack(std::vector<std::string> layers, const std::string& label,
                     SkinPictures& pictures, const StepPictures& model, QWidget* parent)
    : QAbstractButton(parent), layers_(std::move(layers)), pictures_(pictures), model_(model) {
  setObjectName(QString::fromStdString(layers_.front()));
  setAccessibleName(QString::fromStdString(label));
  setText(QString::fromStdString(label));
  setToolTip(QString::fromStdString(label));
  setMouseTracking(true);
  setCursor(Qt::ArrowCursor);
  setFocusPolicy(Qt::TabFocus);
  resize(sizeHint());
  connect(this, &QAbstractButton::clicked, this, [this] {
    std::string picture = pressed_;
    pressed_.clear();
    if (!picture.empty()) {
      if (on_click) on_click(picture);
      return;
    }
    // Space, Enter or the press of assistive technology: no mouse went
    // onto the picture. What its move would uncover takes the click, and
    // the pointer's leaving gives the stack its look back.
    Mouse(SkinMouse::Move, TopLayer());
    picture = TopLayer();
    Mouse(SkinMouse::Move, SkinEngine::kBackground);
    if (on_click && !picture.empty()) on_click(picture);
  });
}

void SkinStack::Refresh() {
  update();
  if (!step_tile_) return;
  const std::string top = TopLayer();
  const QString state = QString::fromLatin1(StepState(top, layers_.back()));
  if (accessibleDescription() != state) setAccessibleDescription(state);
  setEnabled(top != layers_.back() && !top.empty());
}

QSize SkinStack::sizeHint() const {
  return pictures_.Size(layers_.front());
}

std::string SkinStack::TopLayer() const {
  return TopOf(layers_, model_);
}

void SkinStack::Mouse(SkinMouse event, const std::string& picture) {
  if (on_mouse && !picture.empty()) on_mouse(event, picture);
}

void SkinStack::paintEvent(QPaintEvent*) {
  const std::string top = TopLayer();
  if (top.empty()) return;
  QPainter p(this);
  // A step tile's frame is its own disabled look.
  if (!isEnabled() && !step_tile_) p.setOpacity(0.35);
  p.drawPixmap(0, 0, pictures_.Picture(top, devicePixelRatioF()));
  if (keyboard_focus_ && hasFocus()) {
    p.setOpacity(1.0);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(look::kAccent, 1.5, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
  }
}

void SkinStack::mouseMoveEvent(QMouseEvent* event) {
  // While pressed the moves belong to the picture that took the press.
  Mouse(SkinMouse::Move, isDown() && !pressed_.empty() ? pressed_ : TopLayer());
  QAbstractButton::mouseMoveEvent(event);
  // Not on to the background under it, whose hover would undo this one.
  event->accept();
}

void SkinStack::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = TopLayer();
    Mouse(SkinMouse::Down, pressed_);
  }
  QAbstractButton::mousePressEvent(event);
}

void SkinStack::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Mouse(SkinMouse::Up, pressed_);
  QAbstractButton::mouseReleaseEvent(event);
  if (!isDown()) pressed_.clear();
}

void SkinStack::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && on_double_click) {
    on_double_click(TopLayer());
    return;
  }
  QAbstractButton::mouseDoubleClickEvent(event);
}

void SkinStack::keyPressEvent(QKeyEvent* event) {
  // Enter acts as Space does (a button of Qt's takes only Space).
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      event->modifiers() == Qt::NoModifier) {
    if (!event->isAutoRepeat()) click();
    event->accept();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void SkinStack::focusInEvent(QFocusEvent* event) {
  if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
    keyboard_focus_ = true;
  } else if (!WindowChange(event)) {
    keyboard_focus_ = false;
  }
  QAbstractButton::focusInEvent(event);
}

void SkinStack::focusOutEvent(QFocusEvent* event) {
  if (!WindowChange(event)) keyboard_focus_ = false;
  QAbstractButton::focusOutEvent(event);
}

PictureStackView::PictureStackView(std::vector<std::string> layers, SkinPictures& pictures,
                                   const StepPictures& model, QWidget* parent)
    : QWidget(parent), layers_(std::move(layers)), pictures_(pictures), model_(model) {
  setObjectName(QString::fromStdString(layers_.front()));
  setAccessibleName(QStringLiteral("Result"));
  resize(pictures_.Size(layers_.front()));
  Refresh();
}

std::string PictureStackView::TopLayer() const {
  return TopOf(layers_, model_);
}

void PictureStackView::Refresh() {
  const std::string top = TopLayer();
  if (top == shown_ && !accessibleDescription().isEmpty()) return;
  shown_ = top;
  setAccessibleDescription(top.empty() ? QStringLiteral("No result") : QString::fromStdString(top));
  update();
}

void PictureStackView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!shown_.empty()) {
    p.drawPixmap(0, 0, pictures_.Picture(shown_, devicePixelRatioF()));
    return;
  }
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(look::kSurfaceBorder, 1.0, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

}  // namespace quenlet
