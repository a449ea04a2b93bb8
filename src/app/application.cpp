#include "app/application.h"

#include <exception>

#include "app/logo_file.h"
#include "app/process_mode.h"
#include "app/skin_layout.h"
#include "app/stored_ic_path.h"
#include "platform/ini_file.h"
#include "platform/int_text.h"
#include "platform/strprintf.h"
#include "programmer/run_controls.h"
#include "programmer/simulated_backend.h"
#include "state/no_device.h"
#include "state/operation_messages.h"

namespace quenlet {
namespace {

constexpr const char* kHistoryFile = "History_1.ini";
constexpr const char* kHandleFile = "logo_p.ini";
constexpr const char* kLogoFile = "Temp0.cue";
constexpr const char* kSelectDlg = "SelectDlg";

// A sound option as an integer; a value that is not one is shown and the
// default taken, so one bad setting cannot stop every later start.
uint8_t SoundOption(const IniFile& history, const char* key, const char* default_text,
                    uint8_t default_value, Messages& messages) {
  try {
    return static_cast<uint8_t>(StrToInt(history.ReadString("Option", key, default_text)));
  } catch (const ConversionError& e) {
    messages.ShowError(e.what());
    return default_value;
  }
}

// Runs a command of a window; what it throws is shown as the error display.
void RunShown(const std::function<void()>& command, Messages& messages) {
  try {
    command();
  } catch (const std::exception& e) {
    messages.ShowError(e.what());
  }
}

}  // namespace

// --- the main window's part of the load and save commands --------------------

std::string ShellLoadSaveWindows::LoadPathText() const {
  return app_.LoadPathText();
}
void ShellLoadSaveWindows::SetLoadPathText(const std::string& text) {
  app_.SetLoadPathText(text);
}
std::string ShellLoadSaveWindows::SumText() const {
  return app_.pictures().SumText();
}
void ShellLoadSaveWindows::SetSumText(const std::string& text) {
  app_.pictures().SetSum(text);
}
void ShellLoadSaveWindows::SetSumRed(bool red) {
  app_.pictures().SetSumColour(red ? SumColour::Red : SumColour::WindowText);
}
void ShellLoadSaveWindows::RedrawView() {
  if (app_.commands().refresh_editor) app_.commands().refresh_editor();
}
int64_t ShellLoadSaveWindows::MainWindowHandle() const {
  return app_.WindowHandle();
}

// --- the application ---------------------------------------------------------

void Application::WindowControl::Close() {
  app_.close_requested_ = true;
  if (app_.window_) app_.window_->QueueClose();
}

void Application::WindowControl::SetSramButtonsEnabled(bool enabled) {
  if (app_.window_) app_.window_->SetSramButtonsEnabled(enabled);
}

Application::Application(std::string program_dir, BackendChoice backend, AppServices services)
    : paths_(std::move(program_dir)),
      messages_(services.messages),
      reported_sound_(services.sound, messages_),
      pump_(services.pump),
      progress_(services.progress),
      buffer_(messages_),
      backend_(std::move(backend.backend)),
      simulated_(backend.simulated),
      gate_(*backend_, state_),
      transport_(gate_),
      step_fail_(pictures_, state_, reported_sound_, pump_),
      link_{transport_, state_, device_, messages_, step_fail_, pictures_, window_control_},
      loader_link_(link_),
      loader_(device_, state_, paths_, loader_link_, messages_),
      reload_(loader_),
      operations_{state_,
                  device_,
                  reload_,
                  buffer_,
                  fuse_map_,
                  link_,
                  pictures_,
                  messages_,
                  reported_sound_,
                  pump_,
                  progress_,
                  busy_flags_,
                  lock_,
                  record_,
                  nullptr,
                  [this] {
                    if (commands_.refresh_editor) commands_.refresh_editor();
                  }} {
  state_.ProgramDir = paths_.root();
  state_.HistoryIniFile = state_.ProgramDir + kHistoryFile;
  buffer_.SetHistoryIniPath(state_.HistoryIniFile);
  buffer_.AttachDevice(&device_);
  if (simulated_) simulated_->FollowDevice(&device_, &state_);

  const IniFile history(state_.HistoryIniFile);
  splash_type_ = history.ReadInteger("System", "Type", 0);
  state_.ProcessFlags[0] = 0;
  state_.ProcessFlags[3] = 1;
  SetLayoutDefaults();

  state_.SoundOn = SoundOption(history, "sound_setup", "1", 1, messages_);
  state_.SoundKind = SoundOption(history, "sound_mode", "0", 0, messages_);
  // The logo file is looked at only when it is to be shown.
  if (history.ReadString("System", "Symbol", "0") == "1") {
    logo_ = RestoreLogoBitmap(state_.ProgramDir + kLogoFile);
  }

  pictures_.Enable(Control::CopyReadBtn, true);
  pictures_.Enable(Control::Panel7, true);
  pictures_.Show(Indicator::Multi);
  pictures_.Show(Indicator::Multi_Hint);
  state_.DeferPassImage = 0;
  state_.NotConnectedText = kNotConnectedText;
  state_.ExitInProgress = 0;
  state_.LastChecksum = 0;
  state_.FuseMode = 0;
  state_.FuseEditorCreated = 0;
  state_.WrongProgrammer = 0;
  state_.ProgrammerIdentified = 0;
}

Application::~Application() {
  if (simulated_) simulated_->FollowDevice(nullptr, nullptr);
}

void Application::SetLayoutDefaults() {
  // As the window is laid out: every step picture in place, the normal one
  // on top; erase to verify ticked for a run, protect not; the read step's
  // automatic confirm on.
  for (int s = 0; s < static_cast<int>(Step::Count); ++s) {
    for (int l = 0; l < static_cast<int>(Layer::Count); ++l) {
      pictures_.Show(static_cast<Step>(s), static_cast<Layer>(l));
    }
  }
  for (const auto* stacks : {&ToolbarStacks(), &RunStacks(), &EditCommandStacks()}) {
    for (const SkinStackLayout& stack : *stacks) {
      for (const std::string& layer : stack.layers) pictures_.Show(layer);
    }
  }
  for (RunBox box : {RunBox::CheckBox1, RunBox::CheckBox2, RunBox::CheckBox3, RunBox::CheckBox4,
                     RunBox::check_confirm}) {
    pictures_.TickBox(box, true);
  }
  pictures_.SetSum("00000000");
  selected_type_ = {kNoManufacturer, kNoManufacturer};
}

void Application::SetLoadSaveWindows(LoadSaveWindows* windows) {
  load_save_windows_ = windows ? windows : &shell_windows_;
}

LoadSaveContext Application::LoadSave() {
  return LoadSaveContext{buffer_,   state_, paths_, messages_, progress_, *load_save_windows_,
                         pic_hooks_};
}

void Application::SetSelectedType(const std::string& manufacturer, const std::string& part) {
  selected_type_ = {manufacturer, part};
  Changed();
}

bool Application::NoDeviceChosen() const {
  return quenlet::NoDeviceChosen(selected_type_[0]);
}

bool Application::SaidNoDeviceChosen() {
  if (!NoDeviceChosen()) return false;
  messages_.Show(op_text::kNoDeviceChosen);
  return true;
}

void Application::SetLoadPathText(const std::string& text) {
  load_path_text_ = text;
  Changed();
}

void Application::WindowCreated(int64_t handle) {
  window_handle_ = handle;
  IniFile(state_.ProgramDir + kHandleFile).WriteString("Main", "Handle", std::to_string(handle));
  if (commands_.load_project_list) RunShown(commands_.load_project_list, messages_);
  EditClick();
  CopyBtnClick();
}

void Application::RestoreLastSession() {
  if (restored_) return;
  restored_ = true;
  // The restore talks to the unit and lets the queue run: a click that
  // comes in meanwhile waits for it to end.
  {
    BusyScope busy(*this);
    Restore();
  }
  RunWaiting();
}

void Application::Restore() {
  // Both device loads below talk to the unit; without one each would say so.
  messages_.BeginOnce();

  state_.HistoryIniFile = state_.ProgramDir + kHistoryFile;
  const IniFile history(state_.HistoryIniFile);
  std::string manufacturer = history.ReadString(kSelectDlg, "Manufacturer", kNoManufacturer);
  std::string part = history.ReadString(kSelectDlg, "TypeNum", kNoManufacturer);
  const std::string stored = history.ReadString(kSelectDlg, "IcFileName", kNoManufacturer);
  const std::string process_mode = history.ReadString(kSelectDlg, "ProcessMode", "0");

  // A device file that is not there (nor below this program's INI folder)
  // means no device; the load still identifies the unit.
  const std::optional<std::string> ic_file = ResolveStoredIcFile(paths_, stored);
  if (!ic_file) manufacturer = part = kNoManufacturer;
  SetSelectedType(manufacturer, part);

  state_.RestoringSession = 1;
  device_.IcIniPath = ic_file.value_or(stored);
  device_.SelectedIcIniPath = device_.IcIniPath;
  loader_.LoadIcParameters(0, 0, 0);
  // A device file without its device section names no device either.
  if (device_.HoldsNoDevice) SetSelectedType(kNoManufacturer, kNoManufacturer);
  if (state_.WrongProgrammer == 1) {
    // The window closes through the queued close; nothing more is done.
    state_.RestoringSession = 0;
    messages_.EndOnce();
    return;
  }

  state_.VerifyMode = 0;
  state_.SetDataSetMode(0);
  state_.RunReady = 1;
  state_.ProgrammerHasData = 0;
  state_.RestoringSession = 0;
  TickBoxesFromProcessMode(process_mode);

  state_.BufferSize = 0;
  ApplyDeviceBufferSize();

  FollowChosenDevice();
  // The step pictures follow the restored device; the ticks stay.
  if (!NoDeviceChosen()) RefreshStepButtons(operations_, 2);
  messages_.EndOnce();
}

void Application::TickBoxesFromProcessMode(const std::string& stored) {
  const std::optional<std::array<bool, 5>> ticks = StepTicksFromProcessMode(stored);
  if (ticks) TickStepBoxes(*ticks);
}

void Application::TickStepBoxes(const std::array<bool, 5>& ticks) {
  for (size_t i = 0; i < ticks.size(); ++i) pictures_.TickBox(kStepBoxes[i], ticks[i]);
}

void Application::ApplyDeviceBufferSize() {
  loader_.LoadIcParameters(0, 0, 0);
  switch (device_.Width()) {
    case DataWidth::Word:
      state_.DeviceBufferSize = std::max<uint32_t>(device_.IcDeviceSize, 0x20000);
      break;
    case DataWidth::Byte:
      state_.DeviceBufferSize = std::max<uint32_t>(device_.IcDeviceSize, 0x10000);
      break;
    case DataWidth::Neither:
      break;
  }
  if (state_.BufferSize > state_.DeviceBufferSize) {
    state_.DeviceBufferSize = state_.BufferSize;
  } else {
    state_.BufferSize = state_.DeviceBufferSize;
  }
  buffer_.ResizeBuffer(state_.DeviceBufferSize, messages_);
}

void Application::FollowChosenDevice() {
  for (Indicator result : {Indicator::Pass, Indicator::Wait, Indicator::Fail}) {
    pictures_.Hide(result);
  }
  // The command is asked for every device, so that the editor of an earlier
  // fuse device goes when a device without fuses is chosen.
  if (state_.FuseMode == 1) fuse_map_.Init(state_.FuseCount);
  if (commands_.create_fuse_editor) {
    RunShown(commands_.create_fuse_editor, messages_);
    state_.FuseEditorCreated = state_.FuseMode == 1 ? 1 : 0;
  }
}

void Application::CopyBtnClick() {
  state_.ProcessFlags[0] = 1;
  if (commands_.engineering_hide) RunShown(commands_.engineering_hide, messages_);
  pictures_.ShowCopyPage();
}

void Application::EditClick() {
  pictures_.ShowEditPage();
  if (commands_.refresh_editor) RunShown(commands_.refresh_editor, messages_);
}

bool Application::RunCommand(const std::function<void()>& command) {
  if (!command || Busy() || state_.ExitInProgress == 1) return false;
  {
    BusyScope busy(*this);
    RunShown(command, messages_);
  }
  RunWaiting();
  return true;
}

void Application::RunGiven(std::function<void()> click) {
  if (Busy()) {
    waiting_.push_back(std::move(click));
    return;
  }
  RunShown(click, messages_);
}

void Application::RunWaiting() {
  // A program that is closing runs nothing more.
  if (close_requested_ || exit_confirmed_) waiting_.clear();
  while (!Busy() && !waiting_.empty()) {
    const std::function<void()> click = std::move(waiting_.front());
    waiting_.pop_front();
    RunShown(click, messages_);
  }
}

bool Application::RunStop() {
  // A second Stop queued behind the first (a double click while a page
  // moved) reaches the program inside the first one's "User Stop" box: the
  // pass is stopped already, and it must not say so twice.
  if (!commands_.stop || stopping_) return false;
  stopping_ = true;
  RunShown(commands_.stop, messages_);
  stopping_ = false;
  return true;
}

bool Application::StepClick(Step step, Layer layer) {
  const std::function<void(Layer)>& command = commands_.step(step);
  if (!command) return false;
  // Type, Load, Save and Edit work without a device; the device steps not.
  const bool device_step =
      step != Step::Type && step != Step::Load && step != Step::Save && step != Step::Edit;
  return RunCommand([&] {
    if (device_step && SaidNoDeviceChosen()) return;
    command(layer);
  });
}

bool Application::ExitClick() {
  if (state_.ExitInProgress == 1 || Busy()) return false;
  state_.ExitInProgress = 1;
  if (window_) window_->SetInputEnabled(false);
  const bool yes = messages_.Box(kExitQuestion, kExitCaption, MessageButtons::YesNo,
                                 MessageIcon::Question) == MessageResult::Yes;
  if (yes) {
    ProcessTicks ticks{};
    for (size_t i = 0; i < std::size(kStepBoxes); ++i) {
      pictures_.EnableBox(kStepBoxes[i], false);
      ticks[i] = pictures_.BoxTicked(kStepBoxes[i]);
    }
    ticks[5] = pictures_.BoxTicked(RunBox::CheckBox11);
    if (!IniFile(state_.HistoryIniFile)
             .WriteString(kSelectDlg, "ProcessMode", FormatProcessMode(ticks))) {
      messages_.ShowError(strprintf("Cannot write \"%s\": the run steps are not kept.",
                                    state_.HistoryIniFile.c_str()));
    }
    exit_confirmed_ = true;
    if (window_) window_->QueueClose();
    state_.AlgorithmImage.clear();
    state_.AlgorithmImage.shrink_to_fit();
    if (state_.FuseMode == 1) fuse_map_.Free();
  } else {
    state_.ExitInProgress = 0;
  }
  if (window_) window_->SetInputEnabled(true);
  return yes;
}

void Application::Button4Click(const std::optional<std::string>& data_file) {
  LoadSaveContext context = LoadSave();
  // Only a load that placed its data is summed: a damaged file leaves the
  // buffer as it was and the sum field alone.
  if (!LoadFileClick(context, data_file)) return;
  const int64_t placed_at = buffer_.FileStartAdd();
  const uint32_t sum =
      buffer_.GetCheckSum(placed_at, placed_at + state_.LoadRangeSize, 1, messages_, progress_);
  pictures_.SetSum(strprintf("%08X", sum));
}

}  // namespace quenlet
