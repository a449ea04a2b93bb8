#include "app/load_save_dialogs.h"

#include <sys/stat.h>

#include <algorithm>

#include "buffer/dialog_result.h"
#include "buffer/format_detect.h"
#include "buffer/hex_input.h"
#include "buffer/load_pipeline.h"
#include "buffer/range_fields.h"
#include "buffer/save_pipeline.h"
#include "platform/ini_file.h"
#include "platform/strprintf.h"
#include "programmer/operation_context.h"
#include "programmer/run_controls.h"
#include "programmer/step_fail.h"

namespace quenlet {
namespace {

constexpr const char* kLoadDlg = "LoadDlg";
constexpr const char* kSaveDlg = "SaveDlg";
constexpr uint64_t kDestLimit = 0xF00000;  // the destination start stays below 15 MB
constexpr uint64_t kFillLimit = 0x100;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A directory entry of any kind: the save dialog asks before replacing it.
bool EntryExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

bool WriteHistory(const IniBatch& batch, OperationContext& ops) {
  return WriteDialogSection(batch, ops.buffer.HistoryIniPath(), ops.messages);
}

}  // namespace

std::string ResolveDialogName(const std::string& name, const LoadSaveSession& session,
                              const std::string& program_dir) {
  if (name.empty() || name.front() == '/') return name;
  return (session.browse_folder.empty() ? program_dir : session.browse_folder) + name;
}

FileDialogRequest BrowseRequest(const LoadSaveDialogEnv& env, bool save,
                                const std::string& field_name) {
  FileDialogRequest request;
  request.title = save ? "Save As" : "Open";
  request.filter = kDataFileFilter;
  request.must_exist = !save;
  const std::string named = ResolveDialogName(field_name, env.session, env.ops.state.ProgramDir);
  const std::string folder = FolderOf(named);
  struct stat st {};
  if (!folder.empty() && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    request.initial_dir = folder;
    if (IsRegularFile(named)) request.initial_name = named.substr(folder.size());
  } else {
    request.initial_dir =
        env.session.browse_folder.empty() ? env.ops.state.ProgramDir : env.session.browse_folder;
  }
  return request;
}

void ApplyLoadBufferSizing(uint32_t range_size, OperationContext& ops, LoadSaveHost& host) {
  MainFormState& state = ops.state;
  SelectedDevice& device = ops.device;
  if (range_size >= device.IcDeviceSize) {
    device.IcBufferSize = range_size;
    state.BufferSize = std::max(state.BufferSize, device.IcBufferSize);
    if (state.BufferSize > state.DeviceBufferSize) {
      state.DeviceBufferSize = state.BufferSize;
    } else {
      state.BufferSize = state.DeviceBufferSize;
    }
    ops.buffer.ResizeBuffer(state.DeviceBufferSize, ops.messages);
    return;
  }
  device.IcBufferSize = device.IcDeviceSize;
  state.BufferSize = std::max(state.BufferSize, device.IcDeviceSize);
  host.ApplyDeviceBufferSize();
}

std::function<void()> LoadSaveSession::TakeBufferSizing(OperationContext& ops, LoadSaveHost& host) {
  if (!pending_range_size) return {};
  const uint32_t range_size = *pending_range_size;
  pending_range_size.reset();
  return [&ops, &host, range_size] { ApplyLoadBufferSizing(range_size, ops, host); };
}

std::optional<uint64_t> SaveRangeLimit(int32_t format) {
  switch (format) {
    case kSaveIntelHex:
      return 0xFFFFF;
    case kSaveMotorolaS1:
    case kSaveTektronix:
      return 0xFFFF;
    case kSaveMotorolaS2:
      return 0xFFFFFF;
    default:
      return std::nullopt;
  }
}

// ---------------------------------------------------------------- Load File

std::string LoadDialogLogic::Resolve(const std::string& name) const {
  return ResolveDialogName(name, env_.session, env_.ops.state.ProgramDir);
}

bool LoadDialogLogic::FormCreate() {
  // Only this dialog's Load decides the next sizing and history.
  env_.session.pending_range_size.reset();
  env_.session.name_history_write = nullptr;
  MainFormState& state = env_.ops.state;
  state.LoadNeedsDevice = 0;
  if (env_.host.NoDeviceChosen()) {
    PlayFailSound(env_.ops.sound, env_.ops.pump, state.SoundKind);
    env_.ops.messages.Show("Please Selete IC...");
    state.LoadNeedsDevice = 1;
    return false;
  }
  const std::string history = env_.ops.buffer.HistoryIniPath();
  const IniFile ini(history);
  const std::string name = ini.ReadString(kLoadDlg, "Name", "None");
  if (HasLineBreak(name) || !IsRegularFile(Resolve(name))) return true;  // the form's defaults

  const int32_t format = DetectFileFormat(history);
  fields_.name = name;
  NameEditChange(name);
  fields_.dest_start = "000000";
  FormatGroupClick(format);
  fields_.user_fill =
      strprintf("%02X", static_cast<unsigned>(ini.ReadInteger(kLoadDlg, "UserFill", 255)));
  fields_.fill_unused = ini.ReadInteger(kLoadDlg, "UnuserFillCheck", 1) != 0;
  return true;
}

void LoadDialogLogic::NameEditChange(const std::string& name) {
  if (HasLineBreak(name)) return;
  if (std::optional<FileRangeTexts> range = ShowFileEndAddress(Resolve(name))) {
    fields_.source_start = range->start;
    fields_.source_end = range->end;
  }
}

void LoadDialogLogic::BrowseChosen(const std::string& path) {
  if (path.empty()) return;
  env_.session.browse_folder = FolderOf(path);
  fields_.name = path;
  NameEditChange(path);
}

void LoadDialogLogic::FormatGroupClick(int32_t code) {
  fields_.format = code;
  fields_.range_enabled = code >= kLoadDosExe && code <= kLoadTektronix;
  if (code >= kLoadIntelHex) fields_.fill_unused = true;
}

void LoadDialogLogic::LaneClick(int32_t data_mode) {
  env_.ops.buffer.SetDataMode(data_mode);
}

bool LoadDialogLogic::Load() {
  OperationContext& ops = env_.ops;
  Messages& messages = ops.messages;
  env_.session.show_sum_after_load = true;
  ops.buffer.SetFileFormat(fields_.format);
  ops.state.LoadCancelled = 0;

  const std::string path = Resolve(fields_.name);
  if (HasLineBreak(fields_.name)) {
    ReportFileNotFound(messages);
    return false;
  }
  if (!FileExistsCheck(path, &messages)) return false;
  const uint64_t length = RegularFileSize(path).value_or(0);

  uint64_t start = 0, end = 0, dest = 0, fill = 0;
  if (!CheckHexRangeOrder(fields_.source_end, fields_.source_start, &messages)) return false;
  if (!CheckHexBelow(fields_.source_start, length, start, &messages)) return false;
  if (!CheckHexBelow(fields_.source_end, length, end, &messages)) return false;
  if (!CheckHexBelow(fields_.dest_start, kDestLimit, dest, &messages)) return false;
  if (!CheckHexBelow(fields_.user_fill, kFillLimit, fill, &messages)) return false;
  if (!WriteSection(start, end, dest, fill, path)) return false;

  // The range fits 32 bits here (eight digits at most).
  const uint32_t range_size = static_cast<uint32_t>(end - start);
  ops.state.LoadRangeSize = range_size;
  ops.state.ChecksumDeviceRange = 1;
  env_.session.pending_range_size = range_size;

  fields_.name = path;
  RefreshStepButtons(ops, 1);
  for (Step step : {Step::Edit, Step::Save}) {
    for (Layer layer : {Layer::n, Layer::h, Layer::w}) ops.view.Show(step, layer);
  }
  ops.view.Enable(Control::Panel9, true);
  ops.view.Enable(Control::Panel8, true);
  return true;
}

bool LoadDialogLogic::WriteSection(uint64_t start, uint64_t end, uint64_t dest, uint64_t fill,
                                   const std::string& name) {
  IniBatch batch;
  batch.WriteInteger(kLoadDlg, "SourceSAdd", static_cast<int32_t>(start));
  batch.WriteInteger(kLoadDlg, "SourceEAdd", static_cast<int32_t>(end));
  batch.WriteInteger(kLoadDlg, "DistSAdd", static_cast<int32_t>(dest));
  batch.WriteInteger(kLoadDlg, "UserFill", static_cast<int32_t>(fill));
  batch.WriteInteger(kLoadDlg, "Format", fields_.format);
  batch.WriteInteger(kLoadDlg, "UnuserFillCheck", fields_.fill_unused ? 1 : 0);
  batch.WriteString(kLoadDlg, "Name", name);
  batch.WriteString(kLoadDlg, "OK", "1");
  return WriteHistory(batch, env_.ops);
}

void LoadDialogLogic::Cancel() {
  OperationContext& ops = env_.ops;
  ops.state.LoadCancelled = 1;
  IniFile(ops.buffer.HistoryIniPath()).WriteString(kLoadDlg, "OK", "0");
  ops.view.Enable(Control::Panel7, true);
  ops.view.Enable(Control::CopyReadBtn, true);
  ops.view.Show(Step::Read, Layer::n);
  ops.view.Show(Step::Read, Layer::w);
  for (Layer layer : {Layer::n, Layer::h, Layer::w}) ops.view.Show(Step::Load, layer);
}

// ---------------------------------------------------------------- Save File

std::string SaveDialogLogic::Resolve(const std::string& name) const {
  return ResolveDialogName(name, env_.session, env_.ops.state.ProgramDir);
}

void SaveDialogLogic::FormCreate() {
  const IniFile ini(env_.ops.buffer.HistoryIniPath());
  const std::string name = ini.ReadString(kLoadDlg, "Name", "None");
  fields_.name = HasLineBreak(name) ? std::string() : name;
  fields_.source_start = "000000";
  fields_.source_end = "000000";
  const int32_t format = ini.ReadInteger(kSaveDlg, "Format", 0);
  // A code the group does not have selects its first entry.
  fields_.format = format >= kSaveBinary && format <= kSaveTektronix ? format : kSaveBinary;
}

void SaveDialogLogic::BrowseChosen(const std::string& path) {
  if (path.empty()) return;
  env_.session.browse_folder = FolderOf(path);
  fields_.name = path;
}

void SaveDialogLogic::FillMaxBtnClick() {
  DataBuffer& buffer = env_.ops.buffer;
  GrowBufferForDevice(buffer, env_.ops.messages);
  if (buffer.BufSize() > 0) {
    fields_.source_start = "000000";
    fields_.source_end = LastAddressText(buffer.BufSize());
  }
}

void SaveDialogLogic::FillFileBtnClick() {
  const uint64_t length =
      HasLineBreak(fields_.name) ? 0 : RegularFileSize(Resolve(fields_.name)).value_or(0);
  if (length == 0) {
    env_.ops.messages.Show("No File Seleted!!");
    return;
  }
  fields_.source_start = "000000";
  fields_.source_end = LastAddressText(length);
}

void SaveDialogLogic::FillICSizeBBClick() {
  fields_.source_start = "000000";
  fields_.source_end = LastAddressText(env_.ops.buffer.GetDeviceSize());
}

bool SaveDialogLogic::Save() {
  OperationContext& ops = env_.ops;
  Messages& messages = ops.messages;
  const uint64_t buf_size = ops.buffer.BufSize();
  if (fields_.name.empty() || HasLineBreak(fields_.name)) {
    messages.Show("No File Name!!");
    return false;
  }
  const std::string path = Resolve(fields_.name);
  if (EntryExists(path) &&
      messages.Box("File is Exist ! Are sure to save ?", "Save File", MessageButtons::OkCancel,
                   MessageIcon::None) != MessageResult::Ok) {
    return false;
  }
  uint64_t start = 0, end = 0;
  if (!CheckHexRangeOrder(fields_.source_end, fields_.source_start, &messages)) return false;
  if (!CheckHexBelow(fields_.source_start, buf_size, start, &messages)) return false;
  if (!CheckHexBelow(fields_.source_end, buf_size, end, &messages)) return false;
  if (const std::optional<uint64_t> limit = SaveRangeLimit(fields_.format);
      limit && end - start > *limit) {
    messages.Box(SaveTooBigText(fields_.format), "SAVE", MessageButtons::Ok, MessageIcon::Stop);
    return false;
  }

  IniBatch batch;
  batch.WriteInteger(kSaveDlg, "SourceSAdd", static_cast<int32_t>(start));
  batch.WriteInteger(kSaveDlg, "SourceEAdd", static_cast<int32_t>(end));
  batch.WriteInteger(kSaveDlg, "Format", fields_.format);
  batch.WriteString(kSaveDlg, "Name", path);
  batch.WriteString(kSaveDlg, "OK", "1");
  if (!WriteHistory(batch, ops)) return false;
  fields_.name = path;
  return true;
}

void SaveDialogLogic::Cancel() {
  IniFile(env_.ops.buffer.HistoryIniPath()).WriteString(kSaveDlg, "OK", "0");
}

}  // namespace quenlet
