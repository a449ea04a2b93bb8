// The self-test of the hardware window on the simulated unit: the report
// lines, one Execute on the wire, failed attempts, no second attempt from
// inside the first, and the user's device coming back.
#include "programmer/self_test.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "programmer/hardware_fixture.h"

namespace quenlet::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

std::array<uint8_t, kSelfTestLineSize> Line(const std::string& text,
                                            const std::vector<uint8_t>& tail = {}) {
  std::array<uint8_t, kSelfTestLineSize> line{};
  std::memcpy(line.data(), text.data(), std::min(text.size(), line.size()));
  std::copy_n(tail.begin(), std::min(tail.size(), line.size() - text.size()),
              line.begin() + text.size());
  return line;
}

TEST(SelfTestLine, ShowsPassedLinesAsTextAndOthersAsValues) {
  struct Case {
    std::array<uint8_t, kSelfTestLineSize> line;
    std::string shown;
  };
  const Case cases[] = {
      {Line("PullHigh:-Pass- "), "PullHigh:-Pass- "},
      {Line("Selftest Ver 1.0"), "Selftest Ver 1.0"},       // no colon: the text
      {Line("VccC:-Pass-", {0, 'x', 'y'}), "VccC:-Pass-"},  // the text ends at a NUL
      {Line("GndOn:-Fail-    "), "2D 46 61 69 6C 2D 20 20 20 20 "},
      {Line("LogicIn:", {0x00, 0x0A, 0xFF, 0x10, 0x01, 0x02, 0x03, 0x7F}),
       "00 0A FF 10 01 02 03 7F "},
      // "-Pass-" must lie within the line; a cut one is values.
      {Line("ABCDEFGHIJK:-Pas"), "2D 50 61 73 "},
      {Line("Vpp", {0, ':', '-', 'P'}), "Vpp"},  // a colon behind the NUL is no colon
      {Line("VhhPin:", {}), "00 00 00 00 00 00 00 00 00 "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SelfTestLineText(c.line), c.shown) << c.shown;
  }
}

// The Self Test page: its texts as shown and how often the window closed
// (each close comes back as WindowClosing, as the dialog's does).
class PageView : public SelfTestView {
 public:
  PageView() {
    std::copy(self_test_text::kItemCaptions.begin(), self_test_text::kItemCaptions.end(),
              lines.begin());
  }
  void SetReportLine(int line, const std::string& text) override { lines.at(line) = text; }
  void SetStatus(const std::string& text) override { status = text; }
  void AddMessage(const std::string& text) override { messages.push_back(text); }
  void SetCount(const std::string& text) override { count = text; }
  void SetTimerRunning(bool running) override { timer.push_back(running); }
  void Close() override {
    ++closes;
    if (closing) closing();
  }

  std::array<std::string, kSelfTestLines> lines;
  std::string status = self_test_text::kReady;
  std::vector<std::string> messages;
  std::string count = "0";
  std::vector<bool> timer;
  int closes = 0;
  std::function<void()> closing;
};

class SelfTestRun : public ::testing::Test, public HardwareFixture {
 protected:
  SelfTestRun() {
    state.PassCount = 7;
    view.closing = [this] { test.WindowClosing(); };
  }
  int Requests(const std::string& line) {
    const auto lines = unit().log().TransferLines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
  }
  // The test device file is gone: the attempt says so in a box.
  void RemoveTestDevice() {
    std::filesystem::remove(std::filesystem::path(dir.path()) / "INI/VARNEK/HARDTEST.INI");
  }
  std::string CannotOpenTestDevice() const {
    return strprintf("Cannot open file \"%sINI/VARNEK/HARDTEST.INI\".", dir.path().c_str());
  }
  // Runs `work` in every box after the warning, that is inside the attempt.
  void InsideAttempt(std::function<void()> work) {
    messages.inside = [this, work, boxes = 0]() mutable {
      if (++boxes > 1) work();
    };
  }
  void ExpectUserDevice() {
    EXPECT_EQ(device.IcIniPath, UserPath());
    EXPECT_EQ(device.KeepIcIniPath, 0);
    EXPECT_EQ(device.Name, "QD27-256");
    EXPECT_EQ(state.SelfTestMode, 0);
  }

  PageView view;
  int counter_redraws = 0;
  SelfTest test{ctx, view, [this] { ++counter_redraws; }};
};

TEST_F(SelfTestRun, OneExecuteRunsOneAttemptAndShowsTheReport) {
  SetSelfTestLine(unit().self_test_report(), 3, "LogicIn",
                  {0x00, 0x0A, 0xFF, 0x10, 0x01, 0x02, 0x03, 0x7F});
  ClearRecords();
  test.Self_OKClick();

  // The warning offers OK only: a message, not a question.
  EXPECT_THAT(Messages(), ElementsAre(self_test_text::kWarning));
  // The test device's load (its driver), then the preparation and the report.
  std::vector<std::string> expected;
  for (int pass = 0; pass < 4; ++pass) {
    expected.insert(expected.end(), {strprintf("OUT 43 %04X 0000 0", pass), "OUT 47 4000 4000 0",
                                     "bulk-out 16384"});
  }
  expected.insert(expected.end(), {"OUT 43 0000 000E 0", "OUT 4C 8000 8000 0", "bulk-out 32768",
                                   "OUT 47 0B00 0080 0", "bulk-out 128"});
  for (int pass = 0; pass < 4; ++pass) {
    expected.insert(expected.end(), {"OUT 43 0000 0000 0", "OUT 47 4000 4000 0", "bulk-out 16384"});
  }
  expected.insert(expected.end(), {"OUT 4A A000 000E 0", "OUT 49 4000 0100 0", "OUT 4B 8000 0200 0",
                                   "bulk-in 512"});
  EXPECT_EQ(unit().log().TransferLines(), expected);

  EXPECT_EQ(view.status, self_test_text::kCompleted);
  EXPECT_EQ(view.lines[0], "Selftest:-Pass- ");
  EXPECT_EQ(view.lines[1], "PullHigh:-Pass- ");
  EXPECT_EQ(view.lines[3], "00 0A FF 10 01 02 03 7F ");
  EXPECT_EQ(view.lines[17], "VccC:-Pass-     ");
  EXPECT_THAT(view.messages, IsEmpty());  // nobody stopped it
  EXPECT_THAT(view.timer, ElementsAre(true, false));
  EXPECT_EQ(view.closes, 0);
  // The pass counter starts again, on the page and on the main window.
  EXPECT_EQ(state.PassCount, 0u);
  EXPECT_EQ(view.count, "0");
  EXPECT_EQ(counter_redraws, 1);
  EXPECT_EQ(test.CancelFlag(), 1u);
  EXPECT_EQ(StepFails(), 0);

  // The test device stays current until the window closes.
  EXPECT_EQ(device.Name, "HARDTEST");
  EXPECT_EQ(state.SelfTestMode, 1);
  EXPECT_EQ(state.RunReady, 1);
  test.WindowClosing();
  ExpectUserDevice();
}

TEST_F(SelfTestRun, AReportThatIsNoneOrNeverArrivesIsAFailedAttempt) {
  struct Case {
    const char* name;
    std::function<void(SimulatedUnit&)> fault;
    bool restart_sent;  // request 0x52 after a failed preparation
  };
  const Case cases[] = {
      {"no header",
       [](SimulatedUnit& u) { std::memcpy(u.self_test_report().data(), "Selftext", 8); }, false},
      {"prepare refused", [](SimulatedUnit& u) { u.FailRequest(0x4A); }, true},
      {"algorithm refused", [](SimulatedUnit& u) { u.FailRequest(0x4C); }, true},
      {"run refused", [](SimulatedUnit& u) { u.FailRequest(0x49); }, false},
      {"short report", [](SimulatedUnit& u) { u.ShortenNextBulkRead(500); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    view = PageView();
    view.closing = [this] { test.WindowClosing(); };
    unit().ClearFaults();
    unit().self_test_report() = PassingSelfTestReport();
    ClearRecords();
    c.fault(unit());
    test.Self_OKClick();
    EXPECT_EQ(view.status, self_test_text::kNotConnected);
    EXPECT_EQ(view.lines[1], "Pull-High    :");  // no report text changed
    EXPECT_EQ(Requests("OUT 52 0000 0000 0"), c.restart_sent ? 1 : 0);
    EXPECT_THAT(pump.sleeps, Contains(100));
    pump.sleeps.clear();
    test.WindowClosing();
    ExpectUserDevice();
  }
}

// A test device file the loader refuses ends the attempt before the wire: its
// message, and a failed status instead of the last attempt's.
TEST_F(SelfTestRun, ARefusedTestDeviceIsAFailedAttempt) {
  test.Self_OKClick();
  ASSERT_EQ(view.status, self_test_text::kCompleted);
  test.WindowClosing();
  const std::string refused = "[VK_KZExternValue]\r\nName=HARDTEST\r\nmax_address_Hi=abc\r\n";
  dir.Write("INI/VARNEK/HARDTEST.INI", {refused.begin(), refused.end()});
  ClearRecords();
  test.Self_OKClick();
  EXPECT_THAT(Messages(),
              ElementsAre(self_test_text::kWarning, "'abc' is not a valid integer value"));
  EXPECT_EQ(view.status, self_test_text::kNotConnected);
  test.WindowClosing();
  ExpectUserDevice();
}

TEST_F(SelfTestRun, WithoutUnitOnlyTheNotConnectedText) {
  sim.SetUnitPresent(false);
  ClearRecords();
  test.Self_OKClick();
  EXPECT_THAT(Messages(), ElementsAre("not connected"));
  EXPECT_EQ(view.status, self_test_text::kReady);
  EXPECT_THAT(view.timer, IsEmpty());
  EXPECT_EQ(device.Name, "QD27-256");
  EXPECT_EQ(state.SelfTestMode, 0);
}

TEST_F(SelfTestRun, NothingInsideAnAttemptStartsASecondOne) {
  // A click on Execute while the warning is open.
  messages.inside = [this] { test.Self_OKClick(); };
  ClearRecords();
  test.Self_OKClick();
  EXPECT_THAT(Messages(), ElementsAre(self_test_text::kWarning));
  EXPECT_EQ(Requests("OUT 4A A000 000E 0"), 1);

  // Ticks and clicks while a box inside the attempt is open.
  RemoveTestDevice();
  InsideAttempt([this] {
    test.Timer1Timer();
    test.Self_OKClick();
  });
  ClearRecords();
  test.Self_OKClick();
  EXPECT_THAT(Messages(), ElementsAre(self_test_text::kWarning, CannotOpenTestDevice()));
  EXPECT_EQ(Requests("OUT 52 0000 0000 0"), 1);  // one failed attempt, not two
  EXPECT_EQ(view.status, self_test_text::kNotConnected);
  test.WindowClosing();
  ExpectUserDevice();
}

TEST_F(SelfTestRun, TheUsersDeviceComesBackHoweverTheWindowCloses) {
  struct Case {
    const char* name;
    std::function<void(SelfTest&)> run;
    int closes;
  };
  const Case cases[] = {
      {"Execute, then Exit",
       [](SelfTest& t) {
         t.Self_OKClick();
         t.WindowClosing();
       },
       0},
      {"Execute twice, then Cancel",
       [](SelfTest& t) {
         t.Self_OKClick();
         t.Self_OKClick();
         t.Shelf_CancelClick();
       },
       1},
      {"Execute, Cancel, and the window's own close after it",
       [](SelfTest& t) {
         t.Self_OKClick();
         t.Shelf_CancelClick();
         t.WindowClosing();
       },
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    view = PageView();
    view.closing = [this] { test.WindowClosing(); };
    c.run(test);
    ExpectUserDevice();
    EXPECT_EQ(view.closes, c.closes);
    EXPECT_THAT(view.messages, IsEmpty());
  }
}

TEST_F(SelfTestRun, AStopOrCancelInsideTheAttemptEndsItWithTheUsersDevice) {
  struct Case {
    const char* name;
    std::function<void(SelfTest&)> click;
  };
  const Case cases[] = {
      {"Cancel", [](SelfTest& t) { t.Shelf_CancelClick(); }},
      {"the window's close", [](SelfTest& t) { t.WindowClosing(); }},
      {"STOP", [](SelfTest& t) { t.Shelf_stopClick(); }},
  };
  RemoveTestDevice();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    view = PageView();
    view.closing = [this] { test.WindowClosing(); };
    InsideAttempt([this, &c] { c.click(test); });
    test.Self_OKClick();
    // The attempt ended first, then put the device back and closed once.
    EXPECT_EQ(view.status, self_test_text::kNotConnected);
    ExpectUserDevice();
    EXPECT_EQ(view.closes, 1);
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back(), self_test_text::kUserStopped);
    EXPECT_EQ(test.StopFlag(), 0u);
  }
}

TEST_F(SelfTestRun, CancelWithNothingRememberedChangesNothing) {
  ClearRecords();
  test.Shelf_CancelClick();
  EXPECT_THAT(unit().log().TransferLines(), IsEmpty());  // no reload
  ExpectUserDevice();
  EXPECT_EQ(view.closes, 1);
  EXPECT_EQ(test.CancelFlag(), 0u);
  test.WindowClosing();
  EXPECT_THAT(unit().log().TransferLines(), IsEmpty());
}

TEST_F(SelfTestRun, StopAddsItsTextAndStopsOnlyATestDevice) {
  test.Shelf_stopClick();
  EXPECT_EQ(test.DoneFlag(), 1u);
  EXPECT_EQ(test.StopFlag(), 0u);  // no test device current
  EXPECT_THAT(view.messages, ElementsAre(self_test_text::kWaitForSteps));
  ASSERT_TRUE(test.SelectHardTestDevice(0));
  EXPECT_EQ(device.Name, "HARDTEST");
  test.Shelf_stopClick();
  EXPECT_EQ(test.StopFlag(), 1u);
}

}  // namespace
}  // namespace quenlet::testing
