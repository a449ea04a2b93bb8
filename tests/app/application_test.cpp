// The program's start-up, restore, commands and exit on a program folder of
// its own with the simulated unit.
#include "app/application.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/logo_file.h"
#include "app_fixture.h"
#include "platform/strprintf.h"
#include "programmer/uploads.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::array<bool, 5> kFormTicks = {true, true, true, true, false};

TEST_F(AppTest, FreshStartCompletesSilentlyWithNoDevice) {
  StartAndShow();
  EXPECT_THAT(Shown(), IsEmpty());
  EXPECT_TRUE(app->Restored());
  EXPECT_TRUE(app->NoDeviceChosen());
  EXPECT_EQ(app->SelectedType()[0], "None");
  EXPECT_EQ(app->state().RunReady, 1);
  EXPECT_EQ(app->state().SoundOn, 1);
  EXPECT_EQ(app->state().SoundKind, 0);
  EXPECT_EQ(app->SplashType(), 0);
  EXPECT_EQ(app->state().NotConnectedText, Application::kNotConnectedText);
  // The layout's ticks and pictures stay; the page is Copy.
  EXPECT_EQ(StepTicks(app->pictures()), kFormTicks);
  EXPECT_EQ(app->pictures().Top(Step::Protect), Layer::n);
  EXPECT_EQ(app->pictures().Page(), CopyPage::Copy);
  EXPECT_EQ(app->pictures().SumText(), "00000000");
  // The unit was identified; the only file written is the window handle.
  EXPECT_EQ(app->state().ProgrammerIdentified, 1);
  EXPECT_THAT(Files(), ElementsAre("logo_p.ini"));
  EXPECT_EQ(IniFile(Path("logo_p.ini")).ReadString("Main", "Handle", ""), "4242");
}

TEST_F(AppTest, WithoutAUnitTheProgramStartsInDemoModeSayingSoOnce) {
  before_start = [](SimulatedBackend& s) { s.SetUnitPresent(false); };
  Write("INI\\AMD\\AM29F010.ini", kByteDevice);
  ChooseDevice("INI\\AMD\\AM29F010.ini");
  StartAndShow();
  EXPECT_THAT(Shown(), ElementsAre("Please Open your USB"));
  EXPECT_EQ(app->state().RunReady, 1);
  EXPECT_EQ(window.closes, 0);
  EXPECT_EQ(app->device().Name, "AM29F010");
}

TEST_F(AppTest, AnotherModelClosesTheProgramAndIsSentNothingMore) {
  before_start = [](SimulatedBackend& s) { s.unit().SetModel("OTHER-UNIT"); };
  Write("INI\\AMD\\AM29F010.ini", kByteDevice);
  ChooseDevice("INI\\AMD\\AM29F010.ini", "+E");
  StartAndShow();
  EXPECT_THAT(Shown(), ElementsAre("Please connect Quenlet unit"));
  EXPECT_EQ(window.closes, 1);
  EXPECT_TRUE(app->CloseRequested());
  EXPECT_FALSE(app->ExitConfirmed());
  // Whatever runs before the close arrives reaches nothing.
  app->ApplyDeviceBufferSize();
  ReopenAndConfigure(app->link());
  SendDefaultDriverFile(app->link());
  EXPECT_THAT(sim->unit().log().TransferLines(), ElementsAre("IN 41 0000 0000 22"));
  EXPECT_EQ(History().ReadString("SelectDlg", "ProcessMode", ""), "+E");
}

TEST_F(AppTest, RestoreLoadsTheLastDeviceTicksItsStepsAndSizesTheBuffer) {
  Write("INI\\AMD\\AM29F010.ini", kByteDevice);
  ChooseDevice("INI\\AMD\\AM29F010.ini", "+E+V");
  Start();
  app->WindowCreated(4242);
  app->pictures().Show(Indicator::Fail);
  app->RestoreLastSession();
  EXPECT_THAT(Shown(), IsEmpty());
  // Nothing has run on the restored device: no result is shown.
  EXPECT_FALSE(app->pictures().Visible(Indicator::Fail));
  EXPECT_EQ(app->SelectedType()[0], "AMD");
  EXPECT_EQ(app->SelectedType()[1], "AM29F010");
  EXPECT_FALSE(app->NoDeviceChosen());
  EXPECT_EQ(app->device().Name, "AM29F010");
  EXPECT_EQ(StepTicks(app->pictures()), (std::array<bool, 5>{true, false, false, true, false}));
  EXPECT_EQ(app->state().BufferSize, 0x20000u);
  EXPECT_EQ(app->state().DeviceBufferSize, 0x20000u);
  EXPECT_EQ(app->buffer().BufSize(), 0x20000u + DataBuffer::kSizeExtra);
  // The pictures follow the device: it cannot protect, only the step's
  // frame is left.
  EXPECT_EQ(app->pictures().Top(Step::Protect), Layer::o);
  EXPECT_FALSE(app->pictures().BoxEnabled(RunBox::CheckBox5));
  EXPECT_EQ(app->pictures().Top(Step::Erase), Layer::n);
  EXPECT_EQ(app->state().RestoringSession, 0);
  // The restore runs once: a second show changes nothing.
  app->pictures().TickBox(RunBox::CheckBox2, true);
  app->RestoreLastSession();
  EXPECT_TRUE(app->pictures().BoxTicked(RunBox::CheckBox2));
  EXPECT_EQ(Requests(request::kHardwareInfo), 1);
}

TEST_F(AppTest, StoredDeviceOfAnotherFolderIsFoundBelowThisOne) {
  Write("INI\\AMD\\AM29F010.ini", kByteDevice);
  Write("INI\\AMD\\Empty.ini", "[Other]\r\nName=x\r\n");
  struct Case {
    const char* stored;
    bool found;
  };
  for (const Case& c :
       {Case{"C:\\Old\\INI\\AMD\\AM29F010.ini", true},
        Case{"/old/program/ini/amd/am29f010.ini", true}, Case{"C:\\Old\\INI\\AMD\\Gone.ini", false},
        // There, but without a device section: no device either.
        Case{"C:\\Old\\INI\\AMD\\Empty.ini", false}}) {
    SCOPED_TRACE(c.stored);
    ChooseDevice("");
    History().WriteString("SelectDlg", "IcFileName", c.stored);
    StartAndShow();
    EXPECT_EQ(app->NoDeviceChosen(), !c.found);
    EXPECT_EQ(app->device().Name == "AM29F010", c.found);
    if (c.found) {
      EXPECT_TRUE(app->paths().FileExists(app->device().IcIniPath));
    }
    EXPECT_THAT(Shown(), IsEmpty());
    app.reset();
  }
}

TEST_F(AppTest, BufferIsSizedForTheDevice) {
  struct Case {
    const char* width;
    uint32_t max_hi, max_low;
    uint32_t buffer_size;  // BufferSize before (the option pages may set it)
    uint32_t device_buffer_size;
    uint32_t expected;
  };
  const Case cases[] = {
      {"0xFFFF", 0, 0x7FFF, 0, 0, 0x20000},          // word-wide 64 KB: 128 KB
      {"0x00ff", 0xF, 0xFFFF, 0, 0, 0x100000},       // byte-wide 1 MB: 1 MB
      {"0x00FF", 0, 0x1FFF, 0, 0, 0x10000},          // byte-wide 8 KB: 64 KB
      {"0x00FF", 0, 0x7FFF, 0x300000, 0, 0x300000},  // a larger BufferSize wins
      {"0x0F", 0, 0x7FFF, 0, 0x12345, 0x12345},      // neither width: as it was
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    Write("INI\\dev.ini", strprintf("[VK_KZExternValue]\r\nData_Width=%s\r\nmax_address_Hi=%u\r\n"
                                    "max_address_Low=%u\r\n",
                                    c.width, c.max_hi, c.max_low));
    app->device().SelectedIcIniPath = "INI\\dev.ini";
    app->state().BufferSize = c.buffer_size;
    app->state().DeviceBufferSize = c.device_buffer_size;
    app->ApplyDeviceBufferSize();
    EXPECT_EQ(app->state().DeviceBufferSize, c.expected);
    EXPECT_EQ(app->state().BufferSize, c.expected);
    EXPECT_EQ(app->buffer().BufSize(), c.expected + DataBuffer::kSizeExtra);
  }
}

TEST_F(AppTest, BadSoundOptionIsShownOnceAndItsDefaultTaken) {
  IniFile h = History();
  h.WriteString("Option", "sound_setup", "abc");
  h.WriteString("Option", "sound_mode", "2");
  StartAndShow();
  EXPECT_THAT(Shown(), ElementsAre("'abc' is not a valid integer value"));
  EXPECT_EQ(app->state().SoundOn, 1);
  EXPECT_EQ(app->state().SoundKind, 2);
  app.reset();
  messages.errors.clear();
  h.WriteString("Option", "sound_setup", "0");
  h.WriteString("Option", "sound_mode", "$x");
  StartAndShow();
  EXPECT_THAT(Shown(), ElementsAre("'$x' is not a valid integer value"));
  EXPECT_EQ(app->state().SoundOn, 0);
  EXPECT_EQ(app->state().SoundKind, 0);
}

TEST_F(AppTest, LogoIsReadOnlyWhenShownAndNeverWrittenOut) {
  Write("0.bmp", "the user's own picture");
  const std::string header(kLogoHeaderSize, 'h');
  struct Case {
    const char* symbol;
    std::optional<std::string> file;
    bool logo;
  };
  const Case cases[] = {
      {"0", "body" + header, false},      {"1", std::nullopt, false}, {"1", std::string(), false},
      {"1", std::string(53, 'x'), false}, {"1", header, true},        {"1", "body" + header, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.symbol) + " " + std::to_string(c.file ? c.file->size() : -1));
    History().WriteString("System", "Symbol", c.symbol);
    std::filesystem::remove(Path("Temp0.cue"));
    if (c.file) Write("Temp0.cue", *c.file);
    StartAndShow();
    EXPECT_EQ(app->LogoBitmap().has_value(), c.logo);
    EXPECT_THAT(Shown(), IsEmpty());
    EXPECT_EQ(ReadFile(Path("0.bmp")), "the user's own picture");
    app.reset();
  }
}

TEST_F(AppTest, ExitAnsweredNoKeepsTheProgramRunning) {
  StartAndShow();
  messages.answers = {MessageResult::No};
  EXPECT_FALSE(app->ExitClick());
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "Exit Program?");
  EXPECT_EQ(messages.boxes[0].caption, "Exit:");
  EXPECT_EQ(messages.boxes[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(app->state().ExitInProgress, 0);
  EXPECT_FALSE(app->ExitConfirmed());
  EXPECT_EQ(window.closes, 0);
  EXPECT_THAT(window.input, ElementsAre(false, true));
  EXPECT_EQ(History().ReadString("SelectDlg", "ProcessMode", "unset"), "unset");
  // The toolbar answers again.
  bool ran = false;
  EXPECT_TRUE(app->RunCommand([&] { ran = true; }));
  EXPECT_TRUE(ran);
}

TEST_F(AppTest, ExitAnsweredYesStoresTheTickedSteps) {
  struct Case {
    std::array<bool, 6> ticks;  // CheckBox1-5 and the hidden box
    const char* stored;
  };
  for (const Case& c : {Case{{true, true, true, true, false, false}, "+E+C+P+V"},
                        Case{{false, false, false, false, false, false}, ""},
                        Case{{false, false, true, false, true, true}, "+P+S+T"}}) {
    SCOPED_TRACE(c.stored);
    StartAndShow();
    for (size_t i = 0; i < 5; ++i) app->pictures().TickBox(kStepBoxes[i], c.ticks[i]);
    app->pictures().TickBox(RunBox::CheckBox11, c.ticks[5]);
    app->state().AlgorithmImage.assign(0x8000, 0xFF);
    window.closes = 0;
    EXPECT_TRUE(app->ExitClick());
    EXPECT_EQ(History().ReadString("SelectDlg", "ProcessMode", "unset"), c.stored);
    EXPECT_TRUE(app->ExitConfirmed());
    EXPECT_EQ(app->state().ExitInProgress, 1);
    EXPECT_EQ(window.closes, 1);
    EXPECT_FALSE(app->state().AlgorithmLoaded());
    EXPECT_FALSE(app->pictures().BoxEnabled(RunBox::CheckBox1));
    // Nothing runs any more while the window closes.
    EXPECT_FALSE(app->RunCommand([] {}));
    EXPECT_FALSE(app->ExitClick());
    // The next start reads the list back.
    app.reset();
    StartAndShow();
    const std::array<bool, 5> expected =
        c.ticks[0] || c.ticks[2]
            ? std::array<bool, 5>{c.ticks[0], c.ticks[1], c.ticks[2], c.ticks[3], c.ticks[4]}
            : kFormTicks;  // "" keeps the layout's ticks
    EXPECT_EQ(StepTicks(app->pictures()), expected);
    app.reset();
  }
}

TEST_F(AppTest, ExitDoesNothingWhileItsQuestionIsOpenOrACommandRuns) {
  StartAndShow();
  int nested = 0;
  messages.on_box = [&](const RecordedBox&) {
    ++nested;
    EXPECT_FALSE(app->ExitClick());
  };
  messages.answers = {MessageResult::No};
  EXPECT_FALSE(app->ExitClick());
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(messages.boxes.size(), 1u);

  // A command that pumps the queue while it runs: an Exit click then is ignored.
  messages.on_box = nullptr;
  app->commands().run = [&] { EXPECT_FALSE(app->ExitClick()); };
  EXPECT_TRUE(app->RunCommand(app->commands().run));
  EXPECT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(app->state().ExitInProgress, 0);
}

TEST_F(AppTest, WhileACommandRunsOnlyStopActs) {
  Write("INI\\AMD\\AM29F010.ini", kByteDevice);
  ChooseDevice("INI\\AMD\\AM29F010.ini");
  StartAndShow();
  ShellCommands& c = app->commands();
  std::vector<std::string> ran;
  c.stop = [&] { ran.push_back("stop"); };
  c.about = [&] { ran.push_back("about"); };
  c.step(Step::Erase) = [&](Layer layer) {
    ran.push_back(layer == Layer::p ? "erace_p" : "erace_n");
  };
  c.auto_run = [&] {
    ran.push_back("auto_run");
    // Clicks that arrive while the pass lets the queue run.
    EXPECT_FALSE(app->RunCommand(c.auto_run));
    EXPECT_FALSE(app->RunCommand(c.about));
    EXPECT_FALSE(app->StepClick(Step::Erase, Layer::n));
    EXPECT_TRUE(app->RunStop());
  };
  EXPECT_TRUE(app->RunCommand(c.auto_run));
  EXPECT_THAT(ran, ElementsAre("auto_run", "stop"));
  EXPECT_FALSE(app->Busy());

  // A device operation in progress counts as busy too.
  {
    OperationGuard operation(app->operations().lock);
    EXPECT_TRUE(app->Busy());
    EXPECT_FALSE(app->StepClick(Step::Erase, Layer::p));
  }
  EXPECT_TRUE(app->StepClick(Step::Erase, Layer::p));
  // Commands not built yet do nothing.
  EXPECT_FALSE(app->StepClick(Step::Verify, Layer::n));
  EXPECT_FALSE(app->RunCommand(c.parameters));
  // What a command throws is shown, and the shell is free again.
  EXPECT_TRUE(app->RunCommand([] { throw std::runtime_error("window failed"); }));
  EXPECT_THAT(messages.errors, ElementsAre("window failed"));
  EXPECT_THAT(ran, ElementsAre("auto_run", "stop", "erace_p"));
  EXPECT_FALSE(app->Busy());
}

TEST_F(AppTest, FuseDeviceGetsItsEditorAndAFailingEditorDoesNotStopTheStart) {
  Write("INI\\LATTICE\\GAL22V10.ini",
        "[VK_KZExternValue]\r\nName=GAL22V10\r\nData_Width=0x00FF\r\nmax_address_Low=5892\r\n"
        "fuse_row=44\r\nfuse_col=132\r\nerase_mode=1\r\nprog_mode=1\r\nverify_mode=1\r\n");
  ChooseDevice("INI\\LATTICE\\GAL22V10.ini");
  for (bool fails : {false, true}) {
    SCOPED_TRACE(fails);
    Start();
    int created = 0;
    app->commands().create_fuse_editor = [&] {
      ++created;
      if (fails) throw std::runtime_error("no fuse editor");
    };
    app->WindowCreated(1);
    app->RestoreLastSession();
    EXPECT_EQ(created, 1);
    EXPECT_EQ(app->state().FuseMode, 1);
    EXPECT_EQ(app->state().FuseEditorCreated, 1);
    EXPECT_EQ(app->fuse_map().FuseCount(), 5892u);
    EXPECT_EQ(messages.errors.size(), fails ? 1u : 0u);
    // The step pictures were still refreshed for the device.
    EXPECT_EQ(app->pictures().Top(Step::Blank), Layer::o);
    app.reset();
  }
}

// The hidden Open button's load: the main window's fields, a scripted dialog.
class ScriptedLoad : public ShellLoadSaveWindows {
 public:
  using ShellLoadSaveWindows::ShellLoadSaveWindows;
  bool RunLoadDialog(const std::optional<std::string>&) override {
    IniFile h(app_.state().HistoryIniFile);
    h.WriteString("LoadDlg", "Name", file);
    h.WriteInteger("LoadDlg", "SourceSAdd", 0);
    h.WriteInteger("LoadDlg", "SourceEAdd", last);
    h.WriteInteger("LoadDlg", "DistSAdd", dest);
    h.WriteInteger("LoadDlg", "UserFill", fill);
    h.WriteInteger("LoadDlg", "UnuserFillCheck", 1);
    h.WriteInteger("LoadDlg", "Format", format);
    h.WriteString("LoadDlg", "OK", "1");
    app_.buffer().SetFileFormat(format);
    app_.state().LoadRangeSize = static_cast<uint32_t>(last);
    return true;
  }
  std::string file;
  int32_t last = 0;
  int32_t format = 3;
  int32_t dest = 0;
  int32_t fill = 0;
};

TEST_F(AppTest, OpenSumsTheLoadedRangeInclusiveAndOnlyAfterALoad) {
  StartAndShow();
  ScriptedLoad windows(*app);
  app->SetLoadSaveWindows(&windows);
  std::string bytes(16, '\0');
  for (int i = 0; i < 16; ++i) bytes[i] = static_cast<char>(i + 1);  // sum 136
  Write("data.bin", bytes);
  windows.file = Path("data.bin");
  windows.last = 15;
  app->Button4Click();
  EXPECT_EQ(app->pictures().SumText(), "00000088");
  EXPECT_THAT(messages.texts(), ::testing::Contains("SUM : 00000088"));

  // Placed higher up, over a fill: the sum is of the file's bytes where
  // they lie, not of the fill below them.
  windows.dest = 0x100;
  windows.fill = 0xFF;
  app->pictures().SetSum("");
  app->Button4Click();
  EXPECT_EQ(app->pictures().SumText(), "00000088");

  // A damaged Intel HEX file loads nothing: the sum stays.
  Write("bad.hex", ":0400000001020304F1\r\n:zz\r\n");
  windows.file = Path("bad.hex");
  windows.last = 20;
  windows.format = 4;
  app->Button4Click();
  EXPECT_EQ(app->pictures().SumText(), "00000088");
  app->SetLoadSaveWindows(nullptr);
}

}  // namespace
}  // namespace quenlet::testing
