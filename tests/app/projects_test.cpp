// The projects through the application object: the list, opening a project
// and running it on the simulated unit.
#include "app/projects.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/application.h"
#include "app_fixture.h"
#include "platform/strprintf.h"

namespace quenlet::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::Value;

using Ticks = std::array<bool, 5>;

// A byte-wide device of 2 KB whose programmer keeps the data and sums it.
constexpr const char* kHeldDevice =
    "[VK_KZExternValue]\r\n"
    "Name=HD16\r\n"
    "Data_Width=0x00FF\r\n"
    "max_address_Hi=0\r\n"
    "max_address_Low=0x07FF\r\n"
    "Option_Fuse_Type=01\r\n"
    "read_vcc=50\r\nread_vpp=48\r\nread_vhh=7\r\n"
    "read_mode=0x0100\r\nerase_mode=1\r\nblank_mode=1\r\nprog_mode=1\r\nverify_mode=1\r\n"
    "prot_mode=0\r\n";

constexpr const char* kCatalogue =
    "[ITEM]\r\nValue=1\r\n0001=AMD\r\n"
    "[AMD]\r\nValue=3\r\n0001=AM29F010\r\n0002=HD16\r\n0003=GONE\r\n"
    "AM29F010=AM29F010.ini\r\nHD16=HD16.ini\r\nGONE=GONE.ini\r\n";

// The load dialog as the projects see it: what it was asked to start on
// and which device was loaded when it opened. It loads nothing.
class RecordingLoadWindows : public ShellLoadSaveWindows {
 public:
  using ShellLoadSaveWindows::ShellLoadSaveWindows;
  bool RunLoadDialog(const std::optional<std::string>& preset) override {
    presets.push_back(preset);
    device_at_open.push_back(app_.device().Name);
    return true;
  }
  std::vector<std::optional<std::string>> presets;
  std::vector<std::string> device_at_open;
};

// The project window: answers with the next mode of its queue (nullopt:
// the operator left) and counts its showings.
class FakeProjectWindow : public ProjectWindow {
 public:
  std::optional<std::string> ShowModal(const std::vector<ProjectRecord>& projects) override {
    ++shown;
    rows = projects.size();
    return mode;
  }
  std::optional<std::string> mode = "Once";
  int shown = 0;
  size_t rows = 0;
};

class ProjectsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    Write("Select.ini", kCatalogue);
    Write("INI\\AM29F010.ini", kByteDevice);
    Write("INI\\HD16.ini", kHeldDevice);
  }
  void TearDown() override {
    if (app) app->SetLoadSaveWindows(nullptr);
    projects.reset();
    load_windows.reset();
    AppTest::TearDown();
  }
  // Start-up with the project list filled, as the main window does it.
  Application& StartWithProjects(const std::string& project_ini) {
    if (!project_ini.empty()) Write("Project.ini", project_ini);
    Start();
    projects = std::make_unique<Projects>(*app);
    projects->SetWindow(&project_window);
    load_windows = std::make_unique<RecordingLoadWindows>(*app);
    app->SetLoadSaveWindows(load_windows.get());
    app->WindowCreated(4242);
    app->RestoreLastSession();
    return *app;
  }
  void Open(size_t row) {
    ASSERT_TRUE(app->RunCommand([&] { projects->ListView1DblClick(row); }));
  }

  FakeProjectWindow project_window;
  std::unique_ptr<Projects> projects;
  std::unique_ptr<RecordingLoadWindows> load_windows;
};

TEST_F(ProjectsTest, TheListIsFilledWhenTheWindowIsCreated) {
  StartWithProjects(
      "[Rec]\r\nnow=3\r\n[1]\r\nVendor=AMD\r\nID=AM29F010\r\n[2]\r\nVendor=AMD\r\nID=HD16\r\n"
      "[4]\r\nVendor=AMD\r\nID=AM29F010\r\n");
  ASSERT_EQ(projects->List().size(), 2u);
  EXPECT_EQ(projects->List()[1].id, "HD16");
  EXPECT_TRUE(app->commands().projects);
  // Without a Project.ini the list is empty and nothing is reported.
  projects.reset();
  EXPECT_FALSE(app->commands().load_project_list);
  std::filesystem::remove(Path("Project.ini"));
  Projects none(*app);
  none.LoadProjectList();
  EXPECT_THAT(none.List(), IsEmpty());
  EXPECT_THAT(Shown(), IsEmpty());
}

TEST_F(ProjectsTest, OpeningSelectsTheDeviceThenLoadsTheProjectsFile) {
  struct Case {
    const char* name;
    const char* keys;
    const char* load_path;
    std::optional<std::string> preset;
    Ticks ticks;
  };
  // The boxes before the open: the layout's erase to verify.
  constexpr Ticks kBefore = {true, true, true, true, false};
  const Case cases[] = {
      {"file and steps",
       "Source=Samples\\a.hex\r\nProg=+C+S\r\n",
       "Samples\\a.hex",
       "Samples/a.hex",  // the stored path resolved below the program folder
       {false, true, false, false, true}},
      {"no Source", "Prog=+E+P\r\n", "No File", std::nullopt, {true, false, true, false, false}},
      {"neither Source nor Prog", "", "No File", std::nullopt, kBefore},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartWithProjects(std::string("[1]\r\nVendor=AMD\r\nID=AM29F010\r\n") + c.keys);
    app->pictures().Show(Indicator::Fail);  // of the device before
    Open(0);
    EXPECT_THAT(Shown(), IsEmpty());
    EXPECT_FALSE(app->pictures().Visible(Indicator::Fail));
    // The device was loaded before the load dialog opened on the file.
    EXPECT_THAT(load_windows->device_at_open, ElementsAre("AM29F010"));
    EXPECT_THAT(load_windows->presets,
                ElementsAre(c.preset ? std::optional(Path(*c.preset)) : std::nullopt));
    EXPECT_EQ(app->LoadPathText(), c.load_path);
    EXPECT_EQ(StepTicks(app->pictures()), c.ticks);
    EXPECT_EQ(app->SelectedType()[0], "AMD");
    EXPECT_EQ(app->SelectedType()[1], "AM29F010");
    EXPECT_EQ(app->device().KeepIcIniPath, 1);
    EXPECT_EQ(app->state().ProjectActive, 1);
    EXPECT_EQ(app->state().RunReady, 1);
    EXPECT_EQ(app->pictures().Page(), CopyPage::Edit);
    const IniFile history = History();
    EXPECT_EQ(history.ReadString("SelectDlg", "Manufacturer", ""), "AMD");
    EXPECT_EQ(history.ReadString("SelectDlg", "TypeNum", ""), "AM29F010");
    EXPECT_EQ(history.ReadString("SelectDlg", "IcFileName", ""), Path("") + "INI\\AM29F010.ini");
    EXPECT_EQ(history.ReadString("SelectDlg", "OK", ""), "1");
    EXPECT_EQ(history.ReadString("SelectDlg", "ISPmode", ""), "0");
    EXPECT_EQ(IniFile(Path("Project.ini")).ReadString("Temp", "Source", ""), c.load_path);
    // The recent-device ring records the project's device.
    const IniFile ring(Path("SelIcHst.ini"));
    EXPECT_EQ(ring.ReadString("HISTORY", "Last", ""), "AMD_IC_AM29F010");
    EXPECT_EQ(ring.ReadString("HISTORY", "1", ""), "AMD_IC_AM29F010");
    TearDown();
    SetUp();
  }
}

TEST_F(ProjectsTest, AFuseDevicesProjectGetsItsOwnFuseMapAndEditor) {
  Write("INI\\G16.ini",
        "[VK_KZExternValue]\r\nName=G16\r\nData_Width=0x00FF\r\nmax_address_Hi=0\r\n"
        "max_address_Low=2194\r\nfuse_row=44\r\nfuse_col=50\r\n");
  Write("Select.ini", std::string(kCatalogue) + "[Lattice]\r\nG16=G16.ini\r\n");
  StartWithProjects("[1]\r\nVendor=Lattice\r\nID=G16\r\n[2]\r\nVendor=AMD\r\nID=AM29F010\r\n");
  int editors = 0;
  app->commands().create_fuse_editor = [&] { ++editors; };
  Open(0);
  EXPECT_EQ(app->state().FuseMode, 1);
  EXPECT_EQ(app->fuse_map().FuseCount(), 2194u);
  EXPECT_EQ(editors, 1);
  EXPECT_EQ(app->state().FuseEditorCreated, 1);
  // A device without fuses next: the editor is asked to go.
  Open(1);
  EXPECT_EQ(app->state().FuseMode, 0);
  EXPECT_EQ(editors, 2);
  EXPECT_EQ(app->state().FuseEditorCreated, 0);
}

TEST_F(ProjectsTest, APartTheCatalogueCannotLeadToChangesNothing) {
  ChooseDevice("INI\\AM29F010.ini", "+E");
  // GONE is listed but has no device file; NEW is not listed at all.
  StartWithProjects(
      "[1]\r\nVendor=AMD\r\nID=NEW\r\nSource=x.bin\r\nProg=+V\r\n"
      "[2]\r\nVendor=AMD\r\nID=GONE\r\nProg=+V\r\n");
  const std::string history = ReadFile(Path("History_1.ini"));
  for (size_t row : {0u, 1u}) {
    SCOPED_TRACE(row);
    messages.boxes.clear();
    Open(row);
    const std::string file = row == 0 ? "<none>" : "GONE.ini";
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text,
              strprintf("Cannot open file \"%sINI/%s\".", Path("").c_str(), file.c_str()));
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Stop);
    EXPECT_EQ(ReadFile(Path("History_1.ini")), history);
    EXPECT_EQ(app->device().Name, "AM29F010");
    EXPECT_EQ(app->device().KeepIcIniPath, 0);
    EXPECT_EQ(app->SelectedType()[1], "AM29F010");
    EXPECT_EQ(StepTicks(app->pictures()), (Ticks{true, false, false, false, false}));
    EXPECT_THAT(load_windows->presets, IsEmpty());
    EXPECT_EQ(app->state().ProjectActive, 0);
  }
  EXPECT_FALSE(std::filesystem::exists(Path("SelIcHst.ini")));
}

TEST_F(ProjectsTest, NoRowSelectedOpensNothing) {
  StartWithProjects("[1]\r\nVendor=AMD\r\nID=AM29F010\r\n");
  const std::vector<std::string> files = Files();
  projects->ListView1DblClick(std::nullopt);
  projects->ListView1DblClick(1);
  EXPECT_EQ(Files(), files);
  EXPECT_THAT(load_windows->presets, IsEmpty());
}

TEST_F(ProjectsTest, ARunOfAHeldDataDeviceShowsTheProgrammersSumAndReadsItsOptionBlock) {
  ChooseDevice("INI\\HD16.ini");
  StartWithProjects("");
  ASSERT_EQ(app->device().Option_Fuse_Type, 1);
  std::fill(app->buffer().Bytes().begin(), app->buffer().Bytes().begin() + 0x800, 0x3C);
  project_window.mode = "Neither";
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    sim->unit().log().Clear();
    EXPECT_TRUE(app->RunCommand(app->commands().projects));
    const std::vector<std::string> lines = sim->unit().log().Lines();
    ASSERT_GE(lines.size(), 6u);
    // Reconnected and configured, then the upload and the programmer's sum.
    EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + 3),
                ElementsAre("close", "open", "OUT 47 0B00 0080 0"));
    EXPECT_THAT(std::vector<std::string>(lines.end() - 4, lines.end()),
                ElementsAre("OUT 49 4000 0B00 0", "IN 42 0000 0000 16", "OUT 46 0E00 0100 0",
                            "bulk-in 256"));
    // The block before the upload's page carries the read voltages.
    const std::array<uint8_t, 128>& block = sim->unit().parameter_block();
    EXPECT_THAT(std::vector<uint8_t>(block.begin() + 32, block.begin() + 38),
                ElementsAre(50, 0, 48, 0, 7, 0));
    EXPECT_EQ(app->pictures().SumText(), strprintf("%08X", unsigned{sim->unit().HeldChecksum()}));
    EXPECT_EQ(app->state().InfoBlock, sim->unit().option_ram());
    EXPECT_EQ(app->state().ProgrammerHasData, 1);
    // The same data twice: the second sum is no news.
    EXPECT_EQ(app->pictures().SumTextColour(), run == 1 ? SumColour::Red : SumColour::WindowText);
  }
  EXPECT_EQ(project_window.shown, 2);
  EXPECT_THAT(Shown(), IsEmpty());
}

TEST_F(ProjectsTest, AFailedHeldDataSumEndsTheRun) {
  struct Case {
    const char* name;
    std::function<void(SimulatedUnit&)> fault;
    std::vector<std::string> shown;
    int programmer_has_data;
  };
  const Case cases[] = {
      {"0x49", [](SimulatedUnit& u) { u.FailRequest(0x49); }, {"Error 49! Command Fail"}, 1},
      {"0x46", [](SimulatedUnit& u) { u.FailRequest(0x46); }, {"Error 46! Read Command Fail"}, 1},
      {"upload", [](SimulatedUnit& u) { u.FailRequest(0x4C); }, {"Error 4c! Read Command Fail"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChooseDevice("INI\\HD16.ini", "+E");
    StartWithProjects("");
    sim->unit().log().Clear();
    sound.beeps.clear();
    messages.boxes.clear();
    c.fault(sim->unit());
    EXPECT_TRUE(app->RunCommand(app->commands().projects));
    EXPECT_EQ(Shown(), c.shown);
    EXPECT_THAT(sound.beeps, Contains(Sound::kStopBeep));
    EXPECT_EQ(app->state().ProgrammerHasData, c.programmer_has_data);
    // The run's steps never start: no erase (operation 2) went out.
    EXPECT_THAT(Operations(), Not(Contains(0x02)));
    TearDown();
    SetUp();
  }
}

TEST_F(ProjectsTest, ARunOfAPlainDeviceShowsTheBufferSumOfTheDevice) {
  ChooseDevice("INI\\AM29F010.ini");
  StartWithProjects("");
  std::fill(app->buffer().Bytes().begin(), app->buffer().Bytes().end(), 0x01);
  project_window.mode = "Neither";
  EXPECT_TRUE(app->RunCommand(app->commands().projects));
  // Bytes 0 to the device size less one: the device's 128 KB of 0x01.
  EXPECT_EQ(app->pictures().SumText(), "00020000");
  EXPECT_EQ(app->pictures().SumTextColour(), SumColour::Red);
  EXPECT_EQ(app->state().LastChecksum, 0x20000);
  EXPECT_TRUE(app->RunCommand(app->commands().projects));
  EXPECT_EQ(app->pictures().SumTextColour(), SumColour::WindowText);
  EXPECT_EQ(app->state().ProgrammerHasData, 0);
}

TEST_F(ProjectsTest, TheChosenModeRunsTheTickedStepsOnceOrAsABatch) {
  struct Case {
    const char* mode;
    bool runs;
    bool pass_sound;  // Once is Run: its pass sounds; a batch is AutoRun's pass
  };
  const Case cases[] = {{"Once", true, true}, {"Batch", true, false}, {"once", false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    ChooseDevice("INI\\AM29F010.ini", "+E");
    StartWithProjects("");
    sim->unit().log().Clear();
    sound.beeps.clear();
    project_window.mode = c.mode;
    EXPECT_TRUE(app->RunCommand(app->commands().projects));
    // The erase (operation 2) went out only if the steps ran.
    EXPECT_EQ(Value(Operations(), Contains(0x02)), c.runs);
    EXPECT_EQ(app->state().PassCount, c.runs ? 1u : 0u);
    EXPECT_EQ(PassSounds(), c.pass_sound ? 1 : 0);
    EXPECT_THAT(Shown(), IsEmpty());
    TearDown();
    SetUp();
  }
}

TEST_F(ProjectsTest, LeavingTheProjectWindowRunsNothing) {
  ChooseDevice("INI\\HD16.ini");
  StartWithProjects("");
  project_window.mode = std::nullopt;
  sim->unit().log().Clear();
  const std::string sum = app->pictures().SumText();
  EXPECT_TRUE(app->RunCommand(app->commands().projects));
  EXPECT_EQ(project_window.shown, 1);
  EXPECT_EQ(sim->unit().log().size(), 0u);
  EXPECT_EQ(app->state().ProgrammerHasData, 0);
  EXPECT_EQ(app->pictures().SumText(), sum);
}

}  // namespace
}  // namespace quenlet::testing
