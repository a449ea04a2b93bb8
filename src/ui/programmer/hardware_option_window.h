#pragma once
// The hardware-option window "Hardware_Option": a modal dialog of two pages.
// "System Option" shows the unit's identification and holds the sound and
// hot-key settings (kept by Exit); "Self Test" runs the unit's self-test and
// shows its report. Created per use over the application's operation
// context; all behaviour sits in the logic objects it drives.
#include <QDialog>
#include <array>
#include <functional>

#include "programmer/hardware_info.h"
#include "programmer/self_test.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;

namespace quenlet {

struct OperationContext;

class THardWare_Option : public QDialog, private SelfTestView {
  Q_OBJECT

 public:
  static constexpr int kTimerInterval = 1200;  // ms

  // `pass_counter_changed` redraws the main window's pass counter.
  THardWare_Option(OperationContext& ops, std::function<void()> pass_counter_changed,
                   QWidget* parent = nullptr);
  ~THardWare_Option() override;

  // Reconnects and fills the five information labels.
  void ShowHardwareInfo();

  SelfTest& Test() { return self_test_; }
  QTabWidget* Pages() const { return pages_; }
  QLabel* ReportText(int line) const { return report_.at(line); }  // StaticText1..18
  QLabel* Status() const { return status_; }                       // StaticText19
  QListWidget* ErrorMessage() const { return error_message_; }
  QLabel* CountText() const { return count_; }  // B_T
  QTimer* Timer1() const { return timer_; }

 public slots:
  void Hard_OKClick();
  void No_soundClick();
  void play_soundClick();
  void pass_testClick();
  void fail_testClick();
  void sound_effectClick(int index);
  void Hard_CancelClick();
  void Self_OKClick();
  void Timer1Timer();
  void Shelf_stopClick();
  void Shelf_CancelClick();

 protected:
  void showEvent(QShowEvent* event) override;
  // Every way out passes here: the user's device comes back.
  void done(int result) override;

 private:
  void FormShow();
  void FollowSoundChoice();
  QWidget* BuildSystemPage();
  QWidget* BuildSelfTestPage();

  // SelfTestView
  void SetReportLine(int line, const std::string& text) override;
  void SetStatus(const std::string& text) override;
  void AddMessage(const std::string& text) override;
  void SetCount(const std::string& text) override;
  void SetTimerRunning(bool running) override;
  void Close() override;

  OperationContext& ops_;
  HardwareInfoLabels info_;
  SelfTest self_test_;

  QTabWidget* pages_ = nullptr;
  QLabel* hard_name_ = nullptr;
  QLabel* hard_type_ = nullptr;
  QLabel* hard_sn_ = nullptr;
  QLabel* hard_version_ = nullptr;
  QLabel* hard_state_ = nullptr;
  QRadioButton* no_sound_ = nullptr;
  QRadioButton* play_sound_ = nullptr;
  QPushButton* pass_test_ = nullptr;
  QPushButton* fail_test_ = nullptr;
  QButtonGroup* sound_effect_ = nullptr;
  QWidget* sound_effect_box_ = nullptr;
  QCheckBox* hot_key_function_ = nullptr;

  std::array<QLabel*, kSelfTestLines> report_{};
  QLabel* status_ = nullptr;
  QLabel* count_ = nullptr;
  QListWidget* error_message_ = nullptr;
  QPushButton* shelf_stop_ = nullptr;
  QTimer* timer_ = nullptr;
  bool closing_ = false;
};

}  // namespace quenlet
