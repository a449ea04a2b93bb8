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

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr RunBox kBoxes[] = {RunBox::CheckBox1, RunBox::CheckBox2, RunBox::CheckBox3,
                             RunBox::CheckBox4, RunBox::CheckBox5};
using Ticks = std::array<bool, 5>;

Ticks TicksOf(const StepPictures& p) {
  Ticks t{};
  for (size_t i = 0; i < t.size(); ++i) t[i] = p.BoxTicked(kBoxes[i]);
  return t;
}

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
  std::vector<std::string> Wire() const { return sim->unit().log().TransferLines(); }

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
       "Samples\\a.hex",
       {false, true, false, false, true}},
      {"no Source", "Prog=+E+P\r\n", "No File", std::nullopt, {true, false, true, false, false}},
      {"neither Source nor Prog", "", "No File", std::nullopt, kBefore},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartWithProjects(std::string("[1]\r\nVendor=AMD\r\nID=AM29F010\r\n") + c.keys);
    Open(0);
    EXPECT_THAT(Shown(), IsEmpty());
    // The device was loaded before the load dialog opened on the file.
    EXPECT_THAT(load_windows->device_at_open, ElementsAre("AM29F010"));
    EXPECT_THAT(load_windows->presets, ElementsAre(c.preset));
    EXPECT_EQ(app->LoadPathText(), c.load_path);
    EXPECT_EQ(TicksOf(app->pictures()), c.ticks);
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
    TearDown();
    SetUp();
  }
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
    EXPECT_EQ(TicksOf(app->pictures()), (Ticks{true, false, false, false, false}));
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

}  // namespace
}  // namespace quenlet::testing
