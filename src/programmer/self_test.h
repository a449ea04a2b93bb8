#pragma once
// The unit's self-test, as the hardware window's Self Test page runs it: the
// test device file becomes the current device, the unit is prepared and runs
// its test with the socket empty, and the 512-byte report is shown line by
// line. The user's device comes back when the window closes.
//
// One attempt per Execute. The page's timer runs only around the attempt;
// a tick, or a click on Execute, that arrives while the attempt lets the
// message queue run (a message box, the fail sound, the wait after a failed
// attempt) starts nothing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace quenlet {

struct OperationContext;

// The test device, below the program directory.
inline constexpr const char* kHardTestDeviceFile = "INI\\VARNEK\\HARDTEST.INI";

inline constexpr int kSelfTestLines = 18;
inline constexpr size_t kSelfTestLineSize = 16;
inline constexpr size_t kSelfTestReportRead = 512;

namespace self_test_text {
inline constexpr const char* kReady = "READY!!";
inline constexpr const char* kNotConnected = "Not Connected...";
inline constexpr const char* kCompleted = "Completed!";
inline constexpr const char* kUserStopped = "使用者停止";
inline constexpr const char* kWaitForSteps = "請等待所有已執行程序正常完成";
inline constexpr const char* kWarning =
    "WARNING!!\n\nBefore Self-Test ...\nPlease don't put anything on the Textool !! \nIt may "
    "damage your decvice.\n\nClick 'OK' to start Self-Test ...";
// The report texts before the first report, one per line.
inline constexpr std::array<const char*, kSelfTestLines> kItemCaptions = {
    "Selftest Ver 1.0", "Pull-High    :", "Pull-Down  :", "Logic IN     : ", "Logic OUT :",
    "GND ON    :",      "GND OFF   :",    "GND PIN   :",  "Vpp ON     :",    "Vpp OFF    :",
    "Vpp PIN    :",     "Vhh ON    :",    "Vhh OFF   :",  "Vhh PIN    :",    "Vcc ON    :",
    "Vcc OFF   :",      "Vcc PIN    :",   "Vcc C       :"};
}  // namespace self_test_text

// What one 16-byte report line shows. The line's text ends at a NUL. A line
// whose colon is followed by "-Pass-" (all within the line) shows its text;
// a line without a colon shows its text as well; otherwise every byte after
// the colon to the end of the line, each as "%02X ".
std::string SelfTestLineText(std::span<const uint8_t, kSelfTestLineSize> line);

// The 18 line texts of a report, or nullopt when it does not begin with
// "Selftest" (then it is no report).
std::optional<std::array<std::string, kSelfTestLines>> SelfTestReportTexts(
    std::span<const uint8_t, kSelfTestReportRead> report);

// The Self Test page as the self-test sees it.
class SelfTestView {
 public:
  virtual ~SelfTestView() = default;
  virtual void SetReportLine(int line, const std::string& text) = 0;  // StaticText1..18
  virtual void SetStatus(const std::string& text) = 0;                // StaticText19
  virtual void AddMessage(const std::string& text) = 0;               // Error_Message
  virtual void SetCount(const std::string& text) = 0;                 // B_T
  virtual void SetTimerRunning(bool running) = 0;                     // Timer1
  // Closes the hardware window (its closing comes back as WindowClosing).
  virtual void Close() = 0;
};

class SelfTest {
 public:
  // `pass_counter_changed` redraws the main window's pass counter.
  SelfTest(OperationContext& ctx, SelfTestView& view, std::function<void()> pass_counter_changed);
  SelfTest(const SelfTest&) = delete;
  SelfTest& operator=(const SelfTest&) = delete;

  // --- the page's handlers ---
  // Execute: reconnects; no unit shows the not-connected text, otherwise the warning
  // (OK only), then one attempt with the timer on around it.
  void Self_OKClick();
  void Timer1Timer();
  // STOP (hidden and disabled on the page).
  void Shelf_stopClick();
  // Cancel: the user's device back (when a test made another current) and
  // the window closed; during an attempt the attempt does both at its end.
  void Shelf_CancelClick();
  // The window closes, whichever way: the user's device comes back unless
  // an attempt is still on the wire (it does that itself when it ends).
  void WindowClosing();

  // --- the routines behind them ---
  void SelfTestStep();
  // 0 when the report was shown, 1 when the attempt failed.
  int RunSelfTestOnce();
  bool PrepareSelfTest();
  // Mode 0 makes the test device current, remembering the user's device
  // unless a test device is current already. Mode 1 puts the remembered
  // device back; with nothing remembered it changes nothing. Returns false
  // when the device load failed (the loader has shown why) or, in mode 1,
  // when nothing was to be put back.
  bool SelectHardTestDevice(int mode);

  bool Running() const { return running_; }
  uint32_t DoneFlag() const { return done_; }
  uint32_t StopFlag() const { return stop_; }
  uint32_t CancelFlag() const { return cancel_; }

 private:
  struct RememberedDevice {
    std::string ic_ini_path;
    int32_t keep_ic_ini_path = 0;
  };

  void ShowPassCount();

  OperationContext& ctx_;
  SelfTestView& view_;
  std::function<void()> pass_counter_changed_;
  std::optional<RememberedDevice> remembered_;
  bool executing_ = false;  // inside Self_OKClick
  bool running_ = false;    // inside SelfTestStep
  uint32_t done_ = 0;
  uint32_t stop_ = 0;
  uint32_t cancel_ = 0;
};

}  // namespace quenlet
