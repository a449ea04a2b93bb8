#pragma once
// The program as a whole, without any window: the composition root that owns
// every piece of program state and hands references to whoever needs them.
// main() makes one over the executable's folder and the USB stack chosen by
// QUENLET_PROGRAMMER; tests make one over a temporary folder and the
// simulated unit, with recording fakes for what the operator sees and hears.
//
// Life of the program:
//   Application app(dir, backend, services);   // the main window's constructor
//   ... later windows fill app.commands() ...
//   window created        -> app.AttachWindow(&w); app.WindowCreated(handle)
//   first show (queued)   -> app.RestoreLastSession()
//   Exit / window close   -> app.ExitClick()
//
// Owned objects, one each for the whole run:
//   state()       MainFormState: the run state every subsystem reads and writes
//   device()      SelectedDevice: the selected device's record
//   buffer()      DataBuffer: the data buffer (the hex editor shows it)
//   fuse_map()    FuseMap: the fuse map of GAL/PAL devices (the fuse editor shows it)
//   transport()   Transport over the chosen USB stack, behind the wrong-model gate
//   link()        ProgrammerLink: protocol routines' view of all the above
//   loader()      IcIniLoader: refills device() from its IC INI file
//   pictures()    StepPictures: every picture's visibility (steps, Pass/Wait/Fail,
//                 the skinned buttons), the run boxes, the sum field, the progress
//                 bar and the page; the main window draws it
//   skin()        SkinEngine over pictures()
//   operations()  OperationContext for the device operations
//   LoadSave()    LoadSaveContext for the load and save commands
//   paths()       ProgramPaths of the program directory
//
// The Qt-free interfaces the windows implement: Messages, Sound, EventPump,
// Progress (passed in AppServices), ShellWindow (the main window),
// LoadSaveWindows (the load and save dialogs, SetLoadSaveWindows) and the
// commands of ShellCommands. The application itself is the LoadSaveHost of
// the load and save dialogs.
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/load_save_dialogs.h"
#include "app/once_messages.h"
#include "app/reported_sound.h"
#include "app/shell_commands.h"
#include "app/skin_engine.h"
#include "app/wrong_model_gate.h"
#include "buffer/data_buffer.h"
#include "buffer/fuse_map.h"
#include "buffer/load_pipeline.h"
#include "device/ic_ini_loader.h"
#include "device/selected_device.h"
#include "platform/program_paths.h"
#include "platform/user_interfaces.h"
#include "programmer/backend_choice.h"
#include "programmer/main_window_control.h"
#include "programmer/operation_context.h"
#include "programmer/operation_guard.h"
#include "programmer/programmer_link.h"
#include "programmer/programmer_loader_link.h"
#include "programmer/step_fail.h"
#include "programmer/step_pictures.h"
#include "programmer/transport.h"
#include "state/main_form_state.h"

namespace quenlet {

class SimulatedBackend;

// What the operator sees and hears. The windows pass their Qt
// implementations; tests pass the fakes of tests/support.
struct AppServices {
  Messages& messages;
  Sound& sound;
  EventPump& pump;
  Progress& progress;
};

// What the application asks of the main window.
class ShellWindow {
 public:
  virtual ~ShellWindow() = default;
  // Closes the main window from the event loop, never at once (the caller
  // may be in the middle of a device load), and without the exit question.
  virtual void QueueClose() = 0;
  // The engineering panel's SRAM buttons follow every reconnect.
  virtual void SetSramButtonsEnabled(bool enabled) = 0;
  // The main window and the editors in it take input or not (off while Exit
  // asks its question).
  virtual void SetInputEnabled(bool enabled) = 0;
};

class Application;

// The main window's part of the load and save commands: the load path and
// sum fields and the window handle. No dialog opens here (a load does
// nothing); the load and save dialogs derive from it and add theirs.
class ShellLoadSaveWindows : public LoadSaveWindows {
 public:
  explicit ShellLoadSaveWindows(Application& app) : app_(app) {}
  bool RunLoadDialog(const std::optional<std::string>&) override { return false; }
  bool RunSaveDialog() override { return false; }
  std::string LoadPathText() const override;
  void SetLoadPathText(const std::string& text) override;
  std::string SumText() const override;
  void SetSumText(const std::string& text) override;
  void SetSumRed(bool red) override;
  void SetSummary(const LoadSummary&) override {}
  void ShowSummaryModal() override {}
  bool TakeShowSummaryRequest() override { return false; }
  void RedrawView() override;
  int64_t MainWindowHandle() const override;

 protected:
  Application& app_;
};

class Application : public LoadSaveHost {
 public:
  static constexpr const char* kTitle = "Quenlet";
  static constexpr const char* kNotConnectedText =
      " Hardware not connected! \n\n Please Check USB cable connect,Power,Power Switch..\n\n The "
      "System is in DEMO mode Now !!";
  static constexpr const char* kExitQuestion = "Exit Program?";
  static constexpr const char* kExitCaption = "Exit:";

  // The main window's construction: run-state defaults, the sound options
  // and the logo from History_1.ini. A sound option that is not a number is
  // shown once and its default (sounds on, kind 0) taken.
  Application(std::string program_dir, BackendChoice backend, AppServices services);
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // --- owned objects ----------------------------------------------------------
  MainFormState& state() { return state_; }
  SelectedDevice& device() { return device_; }
  DataBuffer& buffer() { return buffer_; }
  FuseMap& fuse_map() { return fuse_map_; }
  Transport& transport() { return transport_; }
  ProgrammerLink& link() { return link_; }
  IcIniLoader& loader() { return loader_; }
  StepPictures& pictures() { return pictures_; }
  SkinEngine& skin() { return skin_; }
  OperationContext& operations() { return operations_; }
  LoadSaveContext LoadSave();
  const ProgramPaths& paths() const { return paths_; }
  // The simulated unit's backend when QUENLET_PROGRAMMER=sim chose it, else null.
  SimulatedBackend* simulated() { return simulated_; }

  // The services, as every part of the program uses them. messages() holds
  // back repeats during the restore at start-up.
  Messages& messages() { return messages_; }
  Sound& sound() { return reported_sound_; }
  EventPump& pump() { return pump_; }
  Progress& progress() { return progress_; }

  ShellCommands& commands() { return commands_; }

  // The load and save dialogs; null puts back the main window's own part.
  void SetLoadSaveWindows(LoadSaveWindows* windows);
  // The PIC devices' sum and configuration decode after a load; may be null.
  void SetPicLoadHooks(PicLoadHooks* hooks) { pic_hooks_ = hooks; }

  // --- the main window --------------------------------------------------------
  // The window the application closes and disables; null detaches it.
  void AttachWindow(ShellWindow* window) { window_ = window; }
  // The window was created: logo_p.ini [Main] Handle := handle, the project
  // list is filled, and the Copy page shown.
  void WindowCreated(int64_t handle);
  // History_1.ini [System] Type (not 0: a splash window during start-up).
  int32_t SplashType() const { return splash_type_; }
  // Temp0.cue as a bitmap file, when [System] Symbol is "1" and the file
  // holds one; the window shows it as the logo, or no logo when it does not
  // decode.
  const std::optional<std::string>& LogoBitmap() const { return logo_; }

  // The device label: line 0 the manufacturer, line 1 the part.
  const std::array<std::string, 2>& SelectedType() const { return selected_type_; }
  void SetSelectedType(const std::string& manufacturer, const std::string& part);
  // No device chosen: the label's first line reads "First Setup" or "None".
  bool NoDeviceChosen() const override;
  // The device steps and the passes need a device: with none chosen they
  // say so (op_text::kNoDeviceChosen) and start nothing. True when said.
  bool SaidNoDeviceChosen();
  // The Copy page's load path field.
  std::string LoadPathText() const override { return load_path_text_; }
  void SetLoadPathText(const std::string& text) override;
  int64_t WindowHandle() const { return window_handle_; }
  int64_t MainWindowHandle() const override { return window_handle_; }

  // Called after a change of the label, the load path or the logo (the
  // pictures have their own handler).
  void SetChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

  // --- start-up ---------------------------------------------------------------
  // The first show: restores the last device from History_1.ini
  // [SelectDlg], identifies the unit and loads the device, ticks the run
  // boxes from ProcessMode, sizes the buffer, creates the fuse editor for a
  // fuse device and refreshes the step pictures. Runs once; later calls do
  // nothing. Without a unit "Please Open your USB" is shown once; another
  // model closes the window through ShellWindow::QueueClose.
  void RestoreLastSession();
  bool Restored() const { return restored_; }
  // Loads the device again and sizes the data buffer for it.
  void ApplyDeviceBufferSize() override;
  // After a device was chosen and loaded (the device dialog's OK, a project
  // opened, the restore at start-up): nothing has run on it yet, so the
  // result indicator is empty (no Pass, Wait or Fail of the device before);
  // a fuse device gets a fresh fuse map and its editor (create_fuse_editor),
  // and the editor of an earlier fuse device goes when the new one has no
  // fuses. What the command throws is shown.
  void FollowChosenDevice();
  // Ticks the five step boxes, erase to protect.
  void TickStepBoxes(const std::array<bool, 5>& ticks);

  // --- pages --------------------------------------------------------------------
  void CopyBtnClick();
  void EditClick();

  // --- commands and the busy gate ----------------------------------------------
  // True while a command (a step, a pass, a dialog and what it runs: a load,
  // the self-test), the start-up restore or a device operation runs.
  bool Busy() const { return busy_depth_ > 0 || lock_.Busy(); }
  // The operator's input reaches the main window: nothing runs and no exit
  // question is open. Otherwise only Stop and the windows the running work
  // opens take input (the window's input gate).
  bool TakesInput() const { return !Busy() && state_.ExitInProgress == 0; }
  // Runs `command` as one busy span. Does nothing (false) when it is empty,
  // while busy, or while the program is exiting.
  bool RunCommand(const std::function<void()>& command);
  // A click the window took while the program took input, arriving now from
  // the event loop: it runs now, or, when something has begun meanwhile (the
  // start-up restore), once that has ended, never inside it.
  void RunGiven(std::function<void()> click);
  // Stop acts even while busy; a Stop inside a Stop does nothing (false).
  bool RunStop();
  // A click on a step picture: the step's command with the clicked layer.
  bool StepClick(Step step, Layer layer);

  // --- exit ---------------------------------------------------------------------
  // Asks "Exit Program?"; Yes stores the run boxes as [SelectDlg]
  // ProcessMode, frees the algorithm image and the fuse map and closes the
  // window. Does nothing while the question is already open or while busy.
  // Returns true when the operator said Yes.
  bool ExitClick();
  // The operator confirmed the exit: the window may close.
  bool ExitConfirmed() const { return exit_confirmed_; }
  // The program closes without asking (another programmer model answered).
  bool CloseRequested() const { return close_requested_; }

  // --- the hidden Open button (projects) ------------------------------------------
  // Loads a file through the load dialog and, when it loaded, shows the sum
  // of the loaded range with its message: LoadRangeSize + 1 bytes from where
  // they were placed. With `data_file` the dialog starts on that file.
  void Button4Click(const std::optional<std::string>& data_file = std::nullopt);

 private:
  // The programmer link's view of the main window.
  class WindowControl : public MainWindowControl {
   public:
    explicit WindowControl(Application& app) : app_(app) {}
    void Close() override;
    void SetSramButtonsEnabled(bool enabled) override;

   private:
    Application& app_;
  };

  // Marks the shell busy for a scope; the clicks given meanwhile run after
  // the outermost one (RunWaiting).
  class BusyScope {
   public:
    explicit BusyScope(Application& app) : app_(app) { ++app_.busy_depth_; }
    ~BusyScope() { --app_.busy_depth_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

   private:
    Application& app_;
  };
  void RunWaiting();
  void Restore();

  void ReadSoundOptions();
  void SetLayoutDefaults();
  void TickBoxesFromProcessMode(const std::string& stored);
  void Changed() {
    if (changed_) changed_();
  }

  ProgramPaths paths_;
  OnceMessages messages_;
  ReportedSound reported_sound_;
  EventPump& pump_;
  Progress& progress_;

  MainFormState state_;
  SelectedDevice device_;
  DataBuffer buffer_;
  FuseMap fuse_map_;
  StepPictures pictures_;
  SkinEngine skin_{pictures_};

  std::unique_ptr<UsbBackend> backend_;
  SimulatedBackend* simulated_ = nullptr;
  WrongModelGate gate_;
  Transport transport_;
  StepFailIndicator step_fail_;
  WindowControl window_control_{*this};
  ProgrammerLink link_;
  ProgrammerLoaderLink loader_link_;
  IcIniLoader loader_;
  IcIniReload reload_;
  StepBusyFlags busy_flags_;
  OperationLock lock_;
  OperationRecord record_;
  OperationContext operations_;
  ShellLoadSaveWindows shell_windows_{*this};
  LoadSaveWindows* load_save_windows_ = &shell_windows_;
  PicLoadHooks* pic_hooks_ = nullptr;

  ShellCommands commands_;
  ShellWindow* window_ = nullptr;
  std::function<void()> changed_;

  std::array<std::string, 2> selected_type_;
  std::string load_path_text_;
  std::optional<std::string> logo_;
  int32_t splash_type_ = 0;
  int64_t window_handle_ = 0;
  int busy_depth_ = 0;
  std::deque<std::function<void()>> waiting_;  // clicks given before a busy span began
  bool stopping_ = false;
  bool restored_ = false;
  bool exit_confirmed_ = false;
  bool close_requested_ = false;
};

}  // namespace quenlet
