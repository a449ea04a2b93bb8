#pragma once
// The main window's run state, shared with every subsystem that reads or
// writes it. Plain data: no window types. The application object owns one.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "state/byte_lane.h"

namespace quenlet {

struct UserVoltages {
  int32_t vcc = 0;          // user VCC
  int32_t program_vcc = 0;  // user program VCC
  int32_t program_vpp = 0;  // user program VPP
  int32_t erase_vcc = 0;    // user erase VCC
};

struct MainFormState {
  // Program directory with a trailing '/'; stored paths append Windows-style
  // tails ("INI\\", "FPGA\\") and are resolved through ProgramPaths.
  std::string ProgramDir;
  std::string HistoryIniFile;  // ProgramDir + "History_1.ini"
  std::string NotConnectedText;

  uint8_t SoundOn = 0;
  uint8_t SoundKind = 0;
  // The hardware window's "Hot Key Function Active"; kept for the run only.
  uint8_t HotKeyFunction = 0;
  uint8_t ExitInProgress = 0;
  uint8_t WrongProgrammer = 0;
  int32_t ProgrammerIdentified = 0;
  uint8_t RestoringSession = 0;

  int32_t VerifyMode = 0;

  // Byte lanes of the device operations: DataSetMode, LaneOffset and
  // LaneWidth always agree because they are one value.
  ByteLane Lane;
  int32_t DataSetMode() const { return Lane.code(); }
  uint32_t LaneOffset() const { return Lane.offset(); }
  uint32_t LaneWidth() const { return Lane.width(); }
  void SetDataSetMode(int32_t code) { Lane = ByteLane::FromCode(code); }

  uint8_t RunReady = 0;
  uint8_t RunArmed = 0;
  uint8_t RunFailed = 0;
  uint8_t StopRequest = 0;
  int32_t DeferPassImage = 0;
  int32_t ProgrammerHasData = 0;
  int32_t ProjectActive = 0;

  uint32_t BufferSize = 0;
  uint32_t DeviceBufferSize = 0;
  uint32_t LoadRangeSize = 0;
  uint32_t ChecksumDeviceRange = 0;
  int32_t LoadCancelled = 0;
  int32_t LastChecksum = 0;

  std::array<uint8_t, 4> ExpectedIdCodes{};  // manufacturer, device, ext 1, ext 2
  uint32_t VccPinRaw = 0;
  uint8_t FuseMode = 0;
  uint8_t FuseEditorCreated = 0;
  uint32_t FuseRows = 0;
  uint32_t FuseColumns = 0;
  uint8_t PackagePins = 0;
  uint32_t FuseCount = 0;

  // The 32 KB device algorithm image; empty when none is built.
  std::vector<uint8_t> AlgorithmImage;
  bool AlgorithmLoaded() const { return !AlgorithmImage.empty(); }

  std::array<uint8_t, 256> InfoBlock{};
  std::array<uint8_t, 256> ProtectBlock{};

  int32_t UserVoltageOn = 0;
  UserVoltages UserVcc;

  int32_t MarginPass = 0;
  int32_t SelfTestMode = 0;
  std::array<int32_t, 9> ParamGridValues{};

  uint32_t LaneReadSum = 0;
  uint8_t LoadNeedsDevice = 0;

  // State the window kept only in its widgets. The run boxes' ticks live in
  // StepPictures (RunBox), the one place the window and the passes read.
  uint32_t PassCount = 0;  // the pass counter shown on the Copy page

  // The shell's six process flags.
  std::array<uint8_t, 6> ProcessFlags{};
};

}  // namespace quenlet
