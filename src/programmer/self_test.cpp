#include "programmer/self_test.h"

#include <algorithm>
#include <cstring>

#include "platform/strprintf.h"
#include "programmer/operation_context.h"
#include "programmer/operation_frame.h"
#include "programmer/protocol.h"
#include "programmer/reply_text.h"
#include "programmer/status_checks.h"
#include "programmer/uploads.h"

namespace quenlet {
namespace {

constexpr char kHeader[] = "Selftest";
constexpr size_t kHeaderSize = sizeof(kHeader) - 1;
constexpr char kPassMark[] = "-Pass-";
constexpr size_t kPassMarkSize = sizeof(kPassMark) - 1;
constexpr uint16_t kReportRunIndex = OperationIndex(operation::kRead);
constexpr int kFailedAttemptWait = 100;  // ms

}  // namespace

std::string SelfTestLineText(std::span<const uint8_t, kSelfTestLineSize> line) {
  const std::string text = UpToNul(line.data(), line.size());
  const size_t colon = text.find(':');
  if (colon == std::string::npos) return text;
  const size_t after = colon + 1;
  if (after + kPassMarkSize <= text.size() && text.compare(after, kPassMarkSize, kPassMark) == 0) {
    return text;
  }
  std::string values;
  for (size_t i = after; i < line.size(); ++i) values += strprintf("%02X ", line[i]);
  return values;
}

std::optional<std::array<std::string, kSelfTestLines>> SelfTestReportTexts(
    std::span<const uint8_t, kSelfTestReportRead> report) {
  if (std::memcmp(report.data(), kHeader, kHeaderSize) != 0) return std::nullopt;
  std::array<std::string, kSelfTestLines> texts;
  for (int i = 0; i < kSelfTestLines; ++i) {
    texts[i] = SelfTestLineText(report.subspan(i * kSelfTestLineSize).first<kSelfTestLineSize>());
  }
  return texts;
}

SelfTest::SelfTest(OperationContext& ctx, SelfTestView& view,
                   std::function<void()> pass_counter_changed)
    : ctx_(ctx), view_(view), pass_counter_changed_(std::move(pass_counter_changed)) {}

void SelfTest::Self_OKClick() {
  if (executing_) return;
  executing_ = true;
  Transport& t = ctx_.link.transport;
  t.CloseProgrammer();
  if (!t.OpenProgrammer(kProgrammerProductId)) {
    ctx_.messages.Show(ctx_.state.NotConnectedText);
  } else {
    ctx_.messages.Show(self_test_text::kWarning);
    cancel_ = 0;
    view_.SetTimerRunning(true);
    SelfTestStep();
    view_.SetTimerRunning(false);
    cancel_ = 1;
  }
  executing_ = false;
}

void SelfTest::Timer1Timer() {
  SelfTestStep();
}

void SelfTest::Shelf_stopClick() {
  done_ = 1;
  view_.AddMessage(self_test_text::kWaitForSteps);
  if (ctx_.state.SelfTestMode == 1) stop_ = 1;
}

void SelfTest::Shelf_CancelClick() {
  view_.SetTimerRunning(false);
  cancel_ = 1;
  // The attempt on the wire puts the device back and closes when it ends.
  if (running_) return;
  SelectHardTestDevice(1);
  view_.Close();
  cancel_ = 0;
}

void SelfTest::WindowClosing() {
  if (running_) {
    cancel_ = 1;
    return;
  }
  if (ctx_.state.SelfTestMode == 1) SelectHardTestDevice(1);
}

void SelfTest::ShowPassCount() {
  view_.SetCount(std::to_string(ctx_.state.PassCount));
}

void SelfTest::SelfTestStep() {
  // A second step must not start inside the queue runs of the first, nor
  // while a device operation is on the wire.
  if (running_) return;
  OperationGuard guard(ctx_.lock);
  if (!guard.Acquired()) return;
  running_ = true;

  const bool selected = SelectHardTestDevice(0);
  if (selected && ctx_.state.SelfTestMode == 1) {
    done_ = 0;
    stop_ = 0;
    ctx_.state.PassCount = 0;
    if (pass_counter_changed_) pass_counter_changed_();
    ShowPassCount();

    if (RunSelfTestOnce() == 1) {
      view_.SetStatus(self_test_text::kNotConnected);
      ctx_.pump.Sleep(kFailedAttemptWait);
    } else {
      view_.SetStatus(self_test_text::kCompleted);
    }

    const bool stopped = stop_ == 1 || cancel_ == 1;
    if (stopped) {
      SelectHardTestDevice(1);
      view_.Close();
      stop_ = 0;
    }
    ShowPassCount();
    if (stopped) view_.AddMessage(self_test_text::kUserStopped);
  } else if (!selected) {
    // The loader said why; the page must not keep an earlier "Completed!".
    view_.SetStatus(self_test_text::kNotConnected);
  }
  running_ = false;
}

int SelfTest::RunSelfTestOnce() {
  Transport& t = ctx_.link.transport;
  if (!PrepareSelfTest()) {
    t.CloseProgrammer();
    if (t.OpenProgrammer(kProgrammerProductId)) SendRequest(t, request::kRestartSelfTest, 0, 0);
    return 1;
  }
  std::array<uint8_t, kSelfTestReportRead> report{};
  if (!SendRequest(t, request::kRun, kRunOperationValue, kReportRunIndex) ||
      !SendRequest(t, request::kPageRead, area::kPage, area::kSelfTestReportSize) ||
      !t.UsbDataRead(static_cast<uint32_t>(report.size()), report.data())) {
    return 1;
  }
  // Whatever came back without the header is no report: the attempt failed.
  const auto texts = SelfTestReportTexts(report);
  if (!texts) return 1;
  for (int i = 0; i < kSelfTestLines; ++i) view_.SetReportLine(i, (*texts)[i]);
  return 0;
}

bool SelfTest::PrepareSelfTest() {
  ProgrammerLink& link = ctx_.link;
  if (ctx_.device.HoldsNoDevice) {
    ctx_.messages.Show(NoDeviceFileText(ctx_));
    return false;
  }
  if (ctx_.device.MissingFileCount != 0) return false;
  link.transport.CloseProgrammer();
  if (!link.transport.OpenProgrammer(kProgrammerProductId)) return false;
  if (!UploadAlgorithm(link) || !SendDeviceParams(link) || !SendDefaultDriverFile(link)) {
    return false;
  }
  PinContactCheck(link, 0);
  if (!SendRequest(link.transport, request::kPrepare, kPrepareValue, kPrepareSelfTestIndex)) {
    link.step_fail.StepFail();
    return false;
  }
  CheckChipId(link, 0);
  return true;
}

bool SelfTest::SelectHardTestDevice(int mode) {
  SelectedDevice& device = ctx_.device;
  if (mode == 0) {
    // While the test device is current, the current path is the test's own.
    if (ctx_.state.SelfTestMode == 0) {
      remembered_ = RememberedDevice{device.IcIniPath, device.KeepIcIniPath};
    }
    device.IcIniPath = ctx_.state.ProgramDir + kHardTestDeviceFile;
    device.KeepIcIniPath = 1;
  } else {
    if (!remembered_) return false;
    device.IcIniPath = remembered_->ic_ini_path;
    device.KeepIcIniPath = remembered_->keep_ic_ini_path;
    remembered_.reset();
  }
  const bool loaded = ctx_.reload.Reload();
  ctx_.state.VerifyMode = 0;
  ctx_.state.RunReady = 1;
  ctx_.state.SelfTestMode = mode == 0 ? 1 : 0;
  return loaded;
}

}  // namespace quenlet
