#include "ui/app/skin_stack.h"

#include <QFocusEvent>
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
    // The press action of assistive technology clicks without a press.
    const std::string picture = pressed_.empty() ? TopLayer() : pressed_;
    pressed_.clear();
    if (on_click) on_click(picture);
  });
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
  if (!isEnabled()) p.setOpacity(0.35);
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

void SkinStack::focusInEvent(QFocusEvent* event) {
  keyboard_focus_ =
      event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
  QAbstractButton::focusInEvent(event);
}

void SkinStack::focusOutEvent(QFocusEvent* event) {
  keyboard_focus_ = false;
  QAbstractButton::focusOutEvent(event);
}

PictureStackView::PictureStackView(std::vector<std::string> layers, SkinPictures& pictures,
                                   const StepPictures& model, QWidget* parent)
    : QWidget(parent), layers_(std::move(layers)), pictures_(pictures), model_(model) {
  setObjectName(QString::fromStdString(layers_.front()));
  resize(pictures_.Size(layers_.front()));
  Refresh();
}

std::string PictureStackView::TopLayer() const {
  return TopOf(layers_, model_);
}

void PictureStackView::Refresh() {
  const std::string top = TopLayer();
  if (top == shown_ && !accessibleName().isEmpty()) return;
  shown_ = top;
  setAccessibleName(top.empty() ? QStringLiteral("No result") : QString::fromStdString(top));
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
