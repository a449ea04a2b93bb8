#pragma once
// The device operations on the simulated unit: a whole operation context
// with a device of a chosen geometry, a transcript of the wire with the page
// words of every parameter block, and one ordered record of what the
// operator sees and hears.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "buffer/data_buffer.h"
#include "buffer/fuse_map.h"
#include "device/selected_device.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"
#include "programmer/operation_context.h"
#include "programmer/protocol.h"
#include "programmer/simulated_backend.h"
#include "programmer/step_fail.h"
#include "programmer/step_pictures.h"
#include "programmer/transport.h"
#include "state/main_form_state.h"
#include "support/fakes.h"

namespace quenlet::testing {

// Forwards to the simulated unit and writes one line per transfer:
//   "OUT 43 0000 0000 0", "IN 42 0000 0000 16"   control requests
//   "P 0000 0001 7FFF"                          a parameter block: words 16, 18, 20
//   "W 32768", "R 32768"                        other bulk blocks
// A transfer that failed ends in " fail".
class TranscriptBackend : public UsbBackend {
 public:
  explicit TranscriptBackend(UsbBackend& inner) : inner_(inner) {}

  int Enumerate() override { return inner_.Enumerate(); }
  bool ReadDeviceDescriptor(int n, DeviceDescriptor& d) override {
    return inner_.ReadDeviceDescriptor(n, d);
  }
  bool Open(int n) override { return inner_.Open(n); }
  void Close() override { inner_.Close(); }

  int ControlTransfer(const VendorRequest& r, uint8_t* data) override {
    const int result = inner_.ControlTransfer(r, data);
    std::string line = strprintf("%s %02X %04X %04X %u", r.DeviceToHost() ? "IN" : "OUT", r.request,
                                 r.value, r.index, unsigned{r.length});
    Add(line, result >= 0);
    parameters_next_ = !r.DeviceToHost() && r.request == request::kAreaWrite &&
                       r.value == area::kParameters && r.index == area::kParametersSize;
    return result;
  }
  int64_t BulkWrite(const uint8_t* data, uint32_t count) override {
    const int64_t result = inner_.BulkWrite(data, count);
    std::string line = strprintf("W %u", count);
    if (parameters_next_ && count == 128) {
      auto word = [&](size_t at) { return unsigned(data[at] | data[at + 1] << 8); };
      line = strprintf("P %04X %04X %04X", word(16), word(18), word(20));
      voltages.push_back({word(32), word(34), word(36)});
    }
    parameters_next_ = false;
    Add(line, result == count);
    return result;
  }
  int64_t BulkRead(uint8_t* data, uint32_t count) override {
    const int64_t result = inner_.BulkRead(data, count);
    parameters_next_ = false;
    Add(strprintf("R %u", count), result == count);
    return result;
  }

  std::vector<std::string> lines;
  // Block bytes 32-37 of every parameter block, in order.
  std::vector<std::array<unsigned, 3>> voltages;

 private:
  void Add(std::string line, bool ok) { lines.push_back(ok ? line : line + " fail"); }

  UsbBackend& inner_;
  bool parameters_next_ = false;
};

// Messages and sounds in one ordered list: "message <text>", "beep 16"
// (the fail sound of kind 0), "beep 0" (the pass sound).
class EventMessages : public Messages {
 public:
  explicit EventMessages(std::vector<std::string>& events) : events_(events) {}
  void Show(const std::string& text) override { events_.push_back("message " + text); }
  // A box that offers more than OK is a question, recorded apart.
  MessageResult Box(const std::string& text, const std::string&, MessageButtons buttons,
                    MessageIcon) override {
    events_.push_back((buttons == MessageButtons::Ok ? "message " : "question ") + text);
    return MessageResult::Ok;
  }

 private:
  std::vector<std::string>& events_;
};

class EventSound : public Sound {
 public:
  explicit EventSound(std::vector<std::string>& events) : events_(events) {}
  bool Beep(uint32_t type) override {
    events_.push_back("beep " + std::to_string(type));
    return true;
  }

 private:
  std::vector<std::string>& events_;
};

class QuietWindow : public MainWindowControl {
 public:
  void Close() override { closed = true; }
  void SetSramButtonsEnabled(bool enabled) override { sram_buttons = enabled; }
  bool closed = false;
  bool sram_buttons = false;
};

// "Reloading from the device file" puts back the record as it was stored.
class StoredReload : public DeviceReload {
 public:
  explicit StoredReload(SelectedDevice& target) : target_(target) {}
  bool Reload() override {
    ++reloads;
    if (!loads) return false;
    target_ = stored;
    return true;
  }
  SelectedDevice stored;
  bool loads = true;
  int reloads = 0;

 private:
  SelectedDevice& target_;
};

// A device's geometry as its IC INI file gives it.
struct DeviceShape {
  std::string data_width = "0x00FF";
  uint32_t max_address = 0x7FFF;  // last address of the main area (the fuse count for fuse devices)
  uint32_t ext_address = 0;       // last address of the second area, 0 = none
  std::string start_address_hi = "0";
  uint16_t start_address_low = 0;
  uint32_t fuse_columns = 0;  // non-zero with fuse_rows: a fuse device
  uint32_t fuse_rows = 0;
  int32_t lane_code = 0;  // DataSetMode
  uint16_t option_fuse_type = 0;
  uint16_t read_mode = 0x0100;  // high byte 1: the byte read routine
};

// Bytes that show their own place: a different value for each address of a
// 64 KB page and each page.
inline uint8_t PatternByte(uint64_t i, uint8_t seed) {
  return static_cast<uint8_t>((i * 7 + (i >> 16) * 13 + seed) & 0xFF);
}

class OpsFixture {
 public:
  OpsFixture() {
    state.SoundOn = 1;
    state.SoundKind = 0;
    state.RunReady = 1;
    state.NotConnectedText = "not connected";
    state.HistoryIniFile = "/nonexistent/History_1.ini";
  }
  // Whatever a test made the operations do, the unit found nothing in the
  // host's requests to refuse by its own checks.
  ~OpsFixture() { EXPECT_THAT(sim.unit().violations(), ::testing::IsEmpty()); }
  OpsFixture(const OpsFixture&) = delete;
  OpsFixture& operator=(const OpsFixture&) = delete;

  // Selects a device of this geometry: the record and run state as the
  // loader leaves them, a data buffer of the device's size, a fuse map for a
  // fuse device, and a blank chip of the device's width in the socket.
  void Select(const DeviceShape& shape);

  // The buffer (or fuse map) filled with a pattern of `seed`.
  void FillSource(uint8_t seed);
  // The chip's main area filled with a pattern of `seed` (0/1 for fuses).
  void FillChip(uint8_t seed);

  std::vector<uint8_t> Buffer() const {
    auto b = buffer.Bytes();
    return {b.begin(), b.end()};
  }
  std::vector<uint8_t>& Chip(ChipArea area = ChipArea::Main) {
    return sim.unit().chip().mutable_cells(area);
  }
  SimulatedUnit& unit() { return sim.unit(); }

  // Transcript and events from now on only.
  void ClearRecords() {
    wire.lines.clear();
    wire.voltages.clear();
    events.clear();
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& e : events) {
      if (e.rfind("message ", 0) == 0) out.push_back(e.substr(8));
    }
    return out;
  }
  int FailSounds() const { return Count("beep 16"); }
  int PassSounds() const { return Count("beep 0"); }
  int Count(const std::string& event) const {
    int n = 0;
    for (const auto& e : events) n += e == event;
    return n;
  }

  SimulatedBackend sim;
  TranscriptBackend wire{sim};
  Transport transport{wire};
  MainFormState state;
  SelectedDevice device;
  StoredReload reload{device};
  DataBuffer buffer;
  FuseMap fuse_map;
  std::vector<std::string> events;
  EventMessages messages{events};
  EventSound sound{events};
  FakeEventPump pump;
  FakeProgress progress;
  StepPictures view;
  StepFailIndicator step_fail{view, state, sound, pump};
  QuietWindow window;
  ProgrammerLink link{transport, state, device, messages, step_fail, view, window};
  StepBusyFlags busy;
  OperationLock lock;
  OperationRecord record;
  OperationContext ctx{state, device, reload,   buffer, fuse_map, link,   view,    messages,
                       sound, pump,   progress, busy,   lock,     record, nullptr, {}};
};

inline void OpsFixture::Select(const DeviceShape& shape) {
  SelectedDevice d;
  d.Data_Width = shape.data_width;
  DeviceParameterBlock& b = d.Block;
  b.SetWord(DeviceParameterBlock::kMaxAddressHi, static_cast<uint16_t>(shape.max_address >> 16));
  b.SetWord(DeviceParameterBlock::kMaxAddressLow, static_cast<uint16_t>(shape.max_address));
  b.SetWord(DeviceParameterBlock::kExtAddressHi, static_cast<uint16_t>(shape.ext_address >> 16));
  b.SetWord(DeviceParameterBlock::kExtAddressLow, static_cast<uint16_t>(shape.ext_address));
  const uint16_t start_hi = static_cast<uint16_t>(std::stoi(shape.start_address_hi));
  b.SetWord(DeviceParameterBlock::kStartAddressHi, start_hi);
  b.SetWord(DeviceParameterBlock::kStartAddressLow, shape.start_address_low);
  d.start_address_Hi = shape.start_address_hi;
  d.StartAddress = (uint32_t{start_hi} << 16) | shape.start_address_low;
  b.SetWord(DeviceParameterBlock::kReadMode, shape.read_mode);
  for (size_t w : {DeviceParameterBlock::kEraseMode, DeviceParameterBlock::kBlankMode,
                   DeviceParameterBlock::kProgMode, DeviceParameterBlock::kVerifyMode,
                   DeviceParameterBlock::kProtMode}) {
    b.SetWord(w, 1);
  }
  b.SetWord(DeviceParameterBlock::kOptionFuseType, shape.option_fuse_type);
  d.Option_Fuse_Type = shape.option_fuse_type;
  // The loader's sizes: N counts both areas' addresses.
  const uint64_t n = uint64_t{shape.max_address} + shape.ext_address + 1;
  const bool word = d.Width() == DataWidth::Word;
  d.IcDeviceSize = static_cast<uint32_t>(word ? 2 * n : n);
  d.IcBufferSize = static_cast<uint32_t>(n < 65536 ? (word ? 0x20000 : 0x10000) : d.IcDeviceSize);
  b.SetWord(DeviceParameterBlock::kBlockLength, n < 65536 ? static_cast<uint16_t>(n) : 0);
  // Distinct voltages per operation, tenths of a volt.
  for (int i = 0; i < kVoltageCount; ++i) d.OperationVoltages[i] = static_cast<uint16_t>(10 + i);
  b.SetCurrentVoltages(d.OperationVoltages[kReadVcc], d.OperationVoltages[kReadVpp],
                       d.OperationVoltages[kReadVhh]);
  device = d;
  reload.stored = d;

  state.FuseColumns = shape.fuse_columns;
  state.FuseRows = shape.fuse_rows;
  state.FuseMode = shape.fuse_columns != 0 && shape.fuse_rows != 0 ? 1 : 0;
  state.FuseCount = shape.max_address;
  state.SetDataSetMode(shape.lane_code);
  buffer.ResizeBuffer(d.IcBufferSize, messages);
  if (state.FuseMode == 1) fuse_map.Init(state.FuseCount);

  VirtualChip& chip = sim.unit().chip();
  chip.SetWordWide(word);
  chip.SetExtents(uint64_t{shape.max_address} + 1,
                  shape.ext_address ? uint64_t{shape.ext_address} + 1 : 0);
  chip.InsertBlank();
}

inline void OpsFixture::FillSource(uint8_t seed) {
  if (state.FuseMode == 1) {
    for (size_t i = 0; i < fuse_map.FuseCount(); ++i) fuse_map.SetFuse(i, PatternByte(i, seed) & 1);
    return;
  }
  auto bytes = buffer.Bytes();
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = PatternByte(i, seed);
}

inline void OpsFixture::FillChip(uint8_t seed) {
  // A fuse chip too holds whatever bytes the unit reads back.
  auto& cells = Chip(ChipArea::Main);
  for (size_t i = 0; i < cells.size(); ++i) cells[i] = PatternByte(i, seed);
  auto& second = Chip(ChipArea::Second);
  for (size_t i = 0; i < second.size(); ++i) second[i] = PatternByte(i + 0x5A5A, seed);
}

}  // namespace quenlet::testing
