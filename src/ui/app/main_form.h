#pragma once
// The main window: a fixed, frameless 554 x 429 skinned window over the
// application object. It draws what the application's StepPictures say
// (every picture's visibility, the run boxes, the sum, the progress bar and
// the page) and hands every click to the application's commands; it holds no
// program state of its own.
//
// What later windows find here:
//   EditorHost()        the Edit page's container for the hex editor (535 x 305)
//   PlaceFuseEditor(w)  makes w a frameless child at left 96, top 54 (further left
//                       when it would not fit in the window)
//   CopyPage()          the Copy page, parent of the engineering panel
//   Lamp("EraseALed")   the seven status lamps of the Copy page (TALed)
//   Refresh()           draws the application's state again (after PassCount, ...)
//   Gate()              the input gate of the window: while the program is busy
//                       only Stop and the windows the running work opens take input
#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/skin_layout.h"
#include "buffer/repaint_throttle.h"
#include "ui/app/skin_pictures.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace quenlet {

class InputGate;
class PictureStackView;
class SkinStack;

class TMainForm : public QWidget, public ShellWindow {
  Q_OBJECT

 public:
  static constexpr QPoint kPagePosition{10, 53};
  static constexpr QPoint kFuseEditorPosition{96, 54};
  static constexpr QSize kEditorSize{535, 305};
  // The seven lamp places of the Copy page, beside their steps.
  static constexpr std::array<const char*, 7> kLampNames = {
      "ReadALed",    "ConfirmALed", "EraseALed",   "CheckALed",
      "ProgramALed", "VerifyALed",  "SecurityALed"};

  explicit TMainForm(Application& app, QWidget* parent = nullptr);
  ~TMainForm() override;

  Application& app() { return app_; }
  SkinPictures& Pictures() { return pictures_; }

  QWidget* CopyPage() const { return copy_page_; }
  QWidget* EditPage() const { return edit_page_; }
  QWidget* EditorHost() const { return editor_host_; }
  void PlaceFuseEditor(QWidget* editor);
  QWidget* Lamp(const std::string& name) const;

  // The skinned button whose top picture is `name` ("Help", "erace_n"), or null.
  SkinStack* Stack(const std::string& name) const;
  PictureStackView* ResultView() const { return result_; }
  QCheckBox* Box(RunBox box) const;
  QLineEdit* SumEdit() const { return sum_edit_; }
  QLineEdit* LoadPathEdit() const { return load_path_; }
  QLabel* CountLabel() const { return count_label_; }
  QLabel* Logo() const { return logo_; }
  QProgressBar* Progress() const { return progress_; }
  InputGate& Gate() const { return *gate_; }
  bool SramButtonsEnabled() const { return sram_buttons_; }

  // Draws the application's state again, at once. A change of the state
  // draws it on the next turn of the event loop (RefreshSoon).
  void Refresh();
  // Asks for one Refresh on the next turn of the event loop: the changes
  // made until then are drawn together. While the program is busy the
  // window is drawn at once, but at most every RepaintThrottle::kInterval,
  // as the hex editor is.
  void RefreshSoon();
  void SetClock(RepaintThrottle::Now now) { throttle_.SetClock(std::move(now)); }

  // ShellWindow
  void QueueClose() override;
  void SetSramButtonsEnabled(bool enabled) override;
  void SetInputEnabled(bool enabled) override;

 signals:
  // The window closed (after the exit was confirmed, or for another model).
  void Closed();
  void SramButtonsChanged(bool enabled);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void BuildToolbar();
  void BuildCopyPage();
  void BuildEditPage();
  SkinStack* AddStack(const SkinStackLayout& layout, QWidget* parent, QPoint at);
  void Skin(SkinMouse event, const std::string& picture);
  // A click on `from` runs its command from the event loop (an
  // accessibility press must not wait for a dialog), unless the gate keeps
  // `from` waiting now; a click taken before something began runs after it.
  void Click(const QWidget* from, const std::function<void()>& command);
  void StepClicked(const QWidget* tile, const std::string& picture);
  void ShowLogo();

  Application& app_;
  InputGate* gate_ = nullptr;
  QTimer* refresh_timer_ = nullptr;
  RepaintThrottle throttle_;
  SkinPictures pictures_;
  std::map<std::string, SkinStack*> stacks_;
  QWidget* copy_page_ = nullptr;
  QWidget* edit_page_ = nullptr;
  QWidget* editor_host_ = nullptr;
  PictureStackView* result_ = nullptr;
  QLabel* logo_ = nullptr;
  QLabel* manufacturer_ = nullptr;
  QLabel* part_ = nullptr;
  QLineEdit* sum_edit_ = nullptr;
  QLineEdit* load_path_ = nullptr;
  QLabel* count_label_ = nullptr;
  QPushButton* zero_btn_ = nullptr;
  QProgressBar* progress_ = nullptr;
  std::array<QCheckBox*, 6> boxes_{};  // CheckBox1-5, check_confirm
  std::map<std::string, QWidget*> lamps_;
  bool shown_once_ = false;
  bool dragging_by_hand_ = false;
  bool sram_buttons_ = false;
};

}  // namespace quenlet
