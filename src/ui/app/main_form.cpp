#include "ui/app/main_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "app/skin_layout.h"
#include "ui/app/logo_image.h"
#include "ui/app/skin_stack.h"
#include "ui/controls/color_ref.h"
#include "ui/controls/display_text.h"
#include "ui/controls/input_gate.h"
#include "ui/controls/look.h"
#include "ui/controls/status_lamp.h"
#include "ui/controls/window_placement.h"

namespace quenlet {
namespace {

// Columns of the Copy page's tiles: 66 wide, 8 apart.
constexpr int kColumn0 = 12;
constexpr int kColumnStep = 74;
int Column(int i) {
  return kColumn0 + i * kColumnStep;
}

constexpr RunBox kBoxOrder[] = {RunBox::CheckBox1, RunBox::CheckBox2, RunBox::CheckBox3,
                                RunBox::CheckBox4, RunBox::CheckBox5, RunBox::check_confirm};

// A page: its surface picture, the skin's "PAGE" hover, the arrow cursor.
class SkinPage : public QWidget {
 public:
  SkinPage(const char* picture, SkinPictures& pictures, std::function<void()> on_move,
           QWidget* parent)
      : QWidget(parent), picture_(picture), pictures_(pictures), on_move_(std::move(on_move)) {
    setObjectName(picture);
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
    setGeometry(QRect(TMainForm::kPagePosition, SkinPictures::kPageSize));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).drawPixmap(0, 0, pictures_.Picture(picture_, devicePixelRatioF()));
  }
  void mouseMoveEvent(QMouseEvent*) override { on_move_(); }

 private:
  std::string picture_;
  SkinPictures& pictures_;
  std::function<void()> on_move_;
};

// Where the hex editor is embedded: an inset panel until it is.
class EditorPlace : public QWidget {
 public:
  explicit EditorPlace(QWidget* parent) : QWidget(parent) {
    setObjectName("DumpEdit_Panel");
    setGeometry(QRect(QPoint(0, 0), TMainForm::kEditorSize));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(look::kSurfaceBorder, 1.0));
    p.setBrush(look::kTile);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
  }
};

QLabel* Caption(const QString& text, QWidget* parent, QRect at) {
  auto* label = new QLabel(text, parent);
  label->setFont(look::CaptionFont());
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, look::kMuted);
  label->setPalette(palette);
  label->setGeometry(at);
  return label;
}

QLineEdit* Field(QWidget* parent, QRect at, const QFont& font, const QString& name) {
  auto* edit = new QLineEdit(parent);
  edit->setReadOnly(true);
  edit->setFont(font);
  edit->setGeometry(at);
  edit->setFocusPolicy(Qt::NoFocus);
  edit->setAccessibleName(name);
  return edit;
}

void SetTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  if (palette.color(role) == colour) return;
  palette.setColor(role, colour);
  widget->setPalette(palette);
}

Step StepOf(const std::string& picture, Layer* layer) {
  for (int s = 0; s < static_cast<int>(Step::Count); ++s) {
    for (int l = 0; l < static_cast<int>(Layer::Count); ++l) {
      if (picture == StepPictures::Name(static_cast<Step>(s), static_cast<Layer>(l))) {
        *layer = static_cast<Layer>(l);
        return static_cast<Step>(s);
      }
    }
  }
  *layer = Layer::n;
  return Step::Count;
}

}  // namespace

TMainForm::TMainForm(Application& app, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      app_(app),
      pictures_(app.paths().root()) {
  setObjectName("MainForm");
  setWindowTitle(QString::fromUtf8(Application::kTitle));
  setFixedSize(SkinPictures::kWindowSize);
  setFont(look::LabelFont());
  setMouseTracking(true);
  setCursor(Qt::SizeAllCursor);  // the background drags the window
  setPalette(look::Palette(palette(), look::kTile));
  // Before any button: their accessible interfaces ask it.
  gate_ = new InputGate([this] { return app_.TakesInput(); }, *this);

  const QScreen* screen = QGuiApplication::primaryScreen();
  pictures_.Prepare(screen ? screen->devicePixelRatio() : 1.0);

  BuildToolbar();
  BuildCopyPage();
  BuildEditPage();
  PlaceWindow(*this, WindowPlacement::OnScreen());

  app_.AttachWindow(this);
  refresh_timer_ = new QTimer(this);
  refresh_timer_->setSingleShot(true);
  connect(refresh_timer_, &QTimer::timeout, this, &TMainForm::Refresh);
  app_.pictures().SetChangeHandler([this] { RefreshSoon(); });
  app_.SetChangeHandler([this] { RefreshSoon(); });
  app_.WindowCreated(static_cast<int64_t>(winId()));
  ShowLogo();
  Refresh();
}

TMainForm::~TMainForm() {
  app_.pictures().SetChangeHandler(nullptr);
  app_.SetChangeHandler(nullptr);
  app_.AttachWindow(nullptr);
}

SkinStack* TMainForm::AddStack(const SkinStackLayout& layout, QWidget* parent, QPoint at) {
  auto* stack = new SkinStack(layout.layers, layout.label, pictures_, app_.pictures(), parent);
  stack->move(at);
  stack->on_mouse = [this](SkinMouse event, const std::string& picture) { Skin(event, picture); };
  stacks_[layout.name] = stack;
  return stack;
}

void TMainForm::BuildToolbar() {
  const auto& stacks = ToolbarStacks();
  const int width = SkinPictures::kToolbarTileSize.width();
  const int left = SkinPictures::kWindowSize.width() - 10 - 4 * width - 3 * 4;
  ShellCommands& c = app_.commands();
  const std::function<void()> actions[] = {
      [this, &c] { app_.RunCommand(c.parameters); }, [this, &c] { app_.RunCommand(c.options); },
      [this, &c] { app_.RunCommand(c.about); }, [this] { app_.ExitClick(); }};
  for (size_t i = 0; i < stacks.size(); ++i) {
    SkinStack* stack = AddStack(stacks[i], this, QPoint(left + int(i) * (width + 4), 5));
    const std::function<void()> action = actions[i];
    stack->on_click = [this, stack, action](const std::string&) { Click(stack, action); };
  }
  // The stored logo, when there is one, beside the name plate.
  logo_ = new QLabel(this);
  logo_->setObjectName("SLogo");
  // Between the name plate and the toolbar tiles.
  logo_->setGeometry(164, 6, 108, 40);
  logo_->setAlignment(Qt::AlignCenter);
  logo_->setAccessibleDescription("Logo");
  logo_->hide();
}

void TMainForm::BuildCopyPage() {
  copy_page_ = new SkinPage(
      "Copy_Page", pictures_, [this] { Skin(SkinMouse::Move, "Copy_Page"); }, this);
  QWidget* page = copy_page_;
  ShellCommands& c = app_.commands();

  // The device, the checksum and the loaded file.
  manufacturer_ = new QLabel(page);
  manufacturer_->setObjectName("SelectedType0");
  manufacturer_->setGeometry(12, 8, 340, 16);
  manufacturer_->setAccessibleDescription("Manufacturer");
  SetTextColour(manufacturer_, QPalette::WindowText, look::kMuted);
  part_ = new QLabel(page);
  part_->setObjectName("SelectedType1");
  part_->setGeometry(12, 24, 340, 26);
  part_->setFont(look::TitleFont());
  part_->setAccessibleDescription("Device");
  Caption("Checksum", page, QRect(375, 6, 110, 14));
  sum_edit_ = Field(page, QRect(375, 22, 112, 28), look::Mono(18), "Checksum");
  sum_edit_->setObjectName("SumEdit");
  sum_edit_->setAlignment(Qt::AlignCenter);
  SkinStack* checksum = AddStack(RunStacks()[3], page, QPoint(495, 22));
  checksum->on_click = [this, checksum, &c](const std::string&) {
    Click(checksum, [this, &c] { app_.RunCommand(c.checksum); });
  };
  Caption("File", page, QRect(12, 60, 30, 22))->setObjectName("Label25");
  load_path_ = Field(page, QRect(44, 60, 479, 22), look::LabelFont(), "Loaded file");
  load_path_->setObjectName("LoadPathEdit");

  // The steps that bring a device and data in, and the result of the last run.
  const Step prep[] = {Step::Type, Step::Load, Step::Save, Step::Edit};
  for (int i = 0; i < 4; ++i) {
    SkinStack* tile = AddStack(StepStack(prep[i]), page, QPoint(Column(i), 94));
    tile->MakeStepTile();
    tile->on_click = [this, tile](const std::string& picture) { StepClicked(tile, picture); };
  }
  result_ = new PictureStackView(ResultLayers(), pictures_, app_.pictures(), page);
  result_->move(312, 110);
  Caption("Passes", page, QRect(446, 94, 77, 14));
  count_label_ = new QLabel(page);
  count_label_->setObjectName("CountLabel");
  count_label_->setFont(look::Mono(28));
  count_label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  count_label_->setGeometry(446, 106, 77, 34);
  count_label_->setAccessibleDescription("Pass counter");
  zero_btn_ = new QPushButton("Reset", page);
  zero_btn_->setObjectName("ZeroBtn");
  zero_btn_->setFont(look::CaptionFont());
  zero_btn_->setAccessibleName("Reset counter");
  zero_btn_->setGeometry(467, 142, 56, 22);
  zero_btn_->setCursor(Qt::ArrowCursor);
  connect(zero_btn_, &QPushButton::clicked, this,
          [this, &c] { Click(zero_btn_, [this, &c] { app_.RunCommand(c.zero_counter); }); });

  // The device steps, each with its lamp and its run box.
  const Step device_steps[] = {Step::Read,    Step::Confirm, Step::Erase,  Step::Blank,
                               Step::Program, Step::Verify,  Step::Protect};
  // Run box of each device step: none for Read, the automatic confirm for Confirm.
  const int box_index[] = {-1, 5, 0, 1, 2, 3, 4};
  for (int i = 0; i < 7; ++i) {
    SkinStack* tile = AddStack(StepStack(device_steps[i]), page, QPoint(Column(i), 180));
    tile->MakeStepTile();
    tile->on_click = [this, tile](const std::string& picture) { StepClicked(tile, picture); };
    // The step's status lamp, silver until something lights it.
    auto* lamp = new TALed(page);
    lamp->setObjectName(kLampNames[i]);
    lamp->setAccessibleName(QStringLiteral("%1 lamp").arg(StepLabel(device_steps[i])));
    lamp->setGeometry(Column(i) + 2, 257, 16, 16);
    lamps_[kLampNames[i]] = lamp;
    if (box_index[i] < 0) continue;
    const RunBox box = kBoxOrder[box_index[i]];
    auto* check = new QCheckBox(box == RunBox::check_confirm ? "Auto" : "Run", page);
    check->setObjectName(box == RunBox::check_confirm
                             ? "check_confirm"
                             : QStringLiteral("CheckBox%1").arg(box_index[i] + 1));
    check->setAccessibleName(box == RunBox::check_confirm
                                 ? QStringLiteral("Confirm after read")
                                 : QStringLiteral("Run %1").arg(StepLabel(device_steps[i])));
    check->setFont(look::CaptionFont());
    check->setGeometry(Column(i) + 20, 255, 48, 20);
    check->setCursor(Qt::ArrowCursor);
    connect(check, &QCheckBox::toggled, this, [this, check, box](bool on) {
      // A press of assistive technology toggles without an input event.
      if (!gate_->Admits(check)) {
        Refresh();
        return;
      }
      app_.pictures().TickBox(box, on);
    });
    boxes_[box_index[i]] = check;
  }

  // Run, AutoRun, Stop and the progress of the step at work.
  const std::function<void()> run_actions[] = {[this, &c] { app_.RunCommand(c.run); },
                                               [this, &c] { app_.RunCommand(c.auto_run); },
                                               [this] { app_.RunStop(); }};
  for (int i = 0; i < 3; ++i) {
    SkinStack* stack = AddStack(RunStacks()[i], page, QPoint(12 + i * 128, 292));
    const std::function<void()> action = run_actions[i];
    if (i == 2) {
      // Stop acts while a run is busy: the gate admits it, and it runs at
      // once from the queue, never after the run.
      gate_->AlwaysAdmit(stack);
      stack->on_click = [this, action](const std::string&) {
        QMetaObject::invokeMethod(this, action, Qt::QueuedConnection);
      };
    } else {
      stack->on_click = [this, stack, action](const std::string&) { Click(stack, action); };
    }
  }
  Caption("Progress", page, QRect(404, 294, 100, 14));
  progress_ = new QProgressBar(page);
  progress_->setObjectName("ProgressBar2");
  progress_->setTextVisible(false);
  progress_->setGeometry(404, 312, 119, 12);
  progress_->setAccessibleName("Progress");

  // The engineering panel's hidden trigger.
  auto* trigger = new SkinStack({"Image6"}, "Engineering panel", pictures_, app_.pictures(), page);
  trigger->move(518, 349);
  trigger->setFocusPolicy(Qt::NoFocus);
  trigger->on_click = [this, trigger, &c](const std::string&) {
    Click(trigger, [this, &c] { app_.RunCommand(c.engineering_hide); });
  };
  trigger->on_double_click = [this, trigger, &c](const std::string&) {
    Click(trigger, [this, &c] { app_.RunCommand(c.engineering_show); });
  };
  stacks_["Image6"] = trigger;
  app_.pictures().Show("Image6");
}

void TMainForm::BuildEditPage() {
  edit_page_ = new SkinPage(
      "Edit_Page", pictures_, [this] { Skin(SkinMouse::Move, "Edit_Page"); }, this);
  editor_host_ = new EditorPlace(edit_page_);
  ShellCommands& c = app_.commands();
  const auto& stacks = EditCommandStacks();
  const std::function<void()> actions[] = {
      [this, &c] { app_.RunCommand(c.edit_sum); }, [this, &c] { app_.RunCommand(c.edit_block); },
      [this, &c] { app_.RunCommand(c.edit_fill); },
      // Ok leaves the editor for the Copy page.
      [this] { app_.RunCommand([this] { app_.CopyBtnClick(); }); }};
  const int left[] = {12, 116, 220, 427};
  for (size_t i = 0; i < stacks.size(); ++i) {
    SkinStack* stack = AddStack(stacks[i], edit_page_, QPoint(left[i], 316));
    const std::function<void()> action = actions[i];
    stack->on_click = [this, stack, action](const std::string&) { Click(stack, action); };
  }
  edit_page_->hide();
}

void TMainForm::Skin(SkinMouse event, const std::string& picture) {
  HandleSkinMouse(app_.skin(), app_.pictures(), app_.state(), event, picture);
}

void TMainForm::Click(const QWidget* from, const std::function<void()>& command) {
  // A press of assistive technology clicks without an input event: the gate
  // is asked here as well.
  if (!gate_->Admits(from)) return;
  QMetaObject::invokeMethod(
      this,
      [this, command] {
        const bool active = isActiveWindow();
        app_.RunGiven(command);
        // What the command changed is drawn now that it is over.
        if (refresh_timer_->isActive()) Refresh();
        // A dialog the command opened has closed and left no window of the
        // program active: the window takes the focus back, onto the widget
        // that had it (the tile the keyboard started the command from).
        if (active && isVisible() && QApplication::activeWindow() == nullptr) activateWindow();
      },
      Qt::QueuedConnection);
}

void TMainForm::StepClicked(const QWidget* tile, const std::string& picture) {
  Layer layer;
  const Step step = StepOf(picture, &layer);
  if (step == Step::Count) return;
  Click(tile, [this, step, layer] { app_.StepClick(step, layer); });
}

void TMainForm::ShowLogo() {
  const std::optional<std::string>& bitmap = app_.LogoBitmap();
  const QImage image = bitmap ? DecodeLogoBitmap(*bitmap) : QImage();
  if (image.isNull()) {
    logo_->hide();
    return;
  }
  const qreal ratio = devicePixelRatioF();
  QPixmap pixmap = QPixmap::fromImage(
      image.scaled(logo_->size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  pixmap.setDevicePixelRatio(ratio);
  logo_->setPixmap(pixmap);
  logo_->show();
}

QWidget* TMainForm::Lamp(const std::string& name) const {
  auto it = lamps_.find(name);
  return it == lamps_.end() ? nullptr : it->second;
}

SkinStack* TMainForm::Stack(const std::string& name) const {
  auto it = stacks_.find(name);
  return it == stacks_.end() ? nullptr : it->second;
}

QCheckBox* TMainForm::Box(RunBox box) const {
  for (size_t i = 0; i < std::size(kBoxOrder); ++i) {
    if (kBoxOrder[i] == box) return boxes_[i];
  }
  return nullptr;
}

void TMainForm::PlaceFuseEditor(QWidget* editor) {
  editor->setParent(this, Qt::Widget | Qt::FramelessWindowHint);
  // An editor wider than the room right of its place moves left: a child
  // is cut at the window's edge, and its OK button would be lost.
  const int room = width() - kPagePosition.x() - editor->width();
  editor->move(std::max(0, std::min(kFuseEditorPosition.x(), room)), kFuseEditorPosition.y());
  // Down to the page's foot, so that no half of a run button shows below it.
  const int foot = kPagePosition.y() + SkinPictures::kPageSize.height();
  if (editor->y() + editor->height() < foot) editor->setFixedHeight(foot - editor->y());
  editor->raise();
  editor->show();
}

void TMainForm::RefreshSoon() {
  if (!app_.Busy()) {
    // The next turn of the event loop draws every change made until then.
    if (!refresh_timer_->isActive()) refresh_timer_->start(0);
    return;
  }
  // An operation changes the pictures hundreds of times and lets the event
  // loop run only now and then: the window is drawn at once, so that the
  // operator sees its progress, but no oftener than the throttle allows; a
  // change within the interval is drawn when it has passed.
  const std::chrono::milliseconds wait = throttle_.Refresh();
  if (wait.count() == 0) {
    Refresh();
    repaint();
  } else if (!refresh_timer_->isActive()) {
    refresh_timer_->start(wait);
  }
}

void TMainForm::Refresh() {
  refresh_timer_->stop();
  throttle_.Painted();
  const StepPictures& model = app_.pictures();
  const ShellCommands& c = app_.commands();
  const bool edit = model.Page() == CopyPage::Edit;
  copy_page_->setVisible(!edit);
  edit_page_->setVisible(edit);

  // Buttons whose window is not built yet stay disabled.
  auto enable = [this](const char* name, bool on) {
    if (SkinStack* s = Stack(name)) s->setEnabled(on);
  };
  enable("Multi", bool(c.parameters));
  enable("Setup", bool(c.options));
  enable("Help", bool(c.about));
  enable("Run", c.run && model.Enabled(Control::Run_Hint));
  enable("AutoRun", c.auto_run && model.Enabled(Control::AutoRun_Hint));
  enable("Stop", c.stop && model.Enabled(Control::Stop_Hint));
  enable("v", bool(c.checksum));
  enable("CheckSum", bool(c.edit_sum));
  enable("Block", bool(c.edit_block));
  enable("Fill", bool(c.edit_fill));
  zero_btn_->setEnabled(bool(c.zero_counter));
  for (auto& [name, stack] : stacks_) stack->Refresh();
  result_->Refresh();

  for (size_t i = 0; i < boxes_.size(); ++i) {
    const QSignalBlocker quiet(boxes_[i]);
    boxes_[i]->setChecked(model.BoxTicked(kBoxOrder[i]));
    boxes_[i]->setEnabled(model.BoxEnabled(kBoxOrder[i]));
  }
  const QString sum = QString::fromStdString(model.SumText());
  if (sum_edit_->text() != sum) sum_edit_->setText(sum);
  SetTextColour(sum_edit_, QPalette::Text,
                model.SumTextColour() == SumColour::Red ? FromColorRef(255) : look::kText);
  progress_->setMaximum(std::max(1, model.ProgressMax()));
  progress_->setValue(std::clamp(model.ProgressPosition(), 0, progress_->maximum()));

  if (app_.NoDeviceChosen()) {
    manufacturer_->setText(QStringLiteral("Device"));
    part_->setText(QStringLiteral("No device chosen"));
    SetTextColour(part_, QPalette::WindowText, look::kMuted);
  } else {
    manufacturer_->setText(DisplayText(app_.SelectedType()[0]));
    part_->setText(DisplayText(app_.SelectedType()[1]));
    SetTextColour(part_, QPalette::WindowText, look::kText);
  }
  const QString path = DisplayText(app_.LoadPathText());
  if (load_path_->text() != path) load_path_->setText(path);
  count_label_->setText(QString::number(app_.state().PassCount));
}

void TMainForm::QueueClose() {
  QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TMainForm::SetSramButtonsEnabled(bool enabled) {
  sram_buttons_ = enabled;
  emit SramButtonsChanged(enabled);
}

void TMainForm::SetInputEnabled(bool enabled) {
  setEnabled(enabled);
}

void TMainForm::paintEvent(QPaintEvent*) {
  QPainter(this).drawPixmap(0, 0, pictures_.Picture(SkinEngine::kBackground, devicePixelRatioF()));
}

void TMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  // Once, after the window is up, so its messages do not open inside the show.
  QTimer::singleShot(0, this, [this] {
    app_.RestoreLastSession();
    Refresh();
  });
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (app_.ExitConfirmed() || app_.CloseRequested()) {
    event->accept();
    emit Closed();
    return;
  }
  // The window manager's close (Alt+F4) asks the same question as Exit.
  event->ignore();
  QMetaObject::invokeMethod(
      this, [this] { app_.ExitClick(); }, Qt::QueuedConnection);
}

void TMainForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  app_.skin().PressBackground({at.x(), at.y()});
  // The window system moves the window where it can (X11, Wayland); else the
  // window follows the pointer itself.
  dragging_by_hand_ = !(windowHandle() && windowHandle()->startSystemMove());
}

void TMainForm::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_by_hand_ && (event->buttons() & Qt::LeftButton)) {
    const QPoint screen = event->globalPosition().toPoint();
    const SkinEngine::Point to = app_.skin().WindowPositionFor({screen.x(), screen.y()});
    move(to.x, to.y);
  }
  Skin(SkinMouse::Move, SkinEngine::kBackground);
}

void TMainForm::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_by_hand_ = false;
}

void TMainForm::leaveEvent(QEvent* event) {
  // Leaving the window is leaving the last picture: it gets its look back.
  Skin(SkinMouse::Move, SkinEngine::kBackground);
  QWidget::leaveEvent(event);
}

}  // namespace quenlet
