// A whole session on a copy of the sample program folder, as `make run`
// starts it: the last device restored, the unit there, missing or of another
// model, and the way out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/projects.h"
#include "programmer/protocol.h"
#include "run_fixture.h"
#include "scripted_dialogs.h"

namespace quenlet::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

class LibrarySessionTest : public RunTest {
 protected:
  // Everything the build lays beside the executable for the program.
  void CopyProgramFolder() {
    const std::filesystem::path from(QUENLET_PROGRAM_DIR);
    for (const auto& entry : std::filesystem::directory_iterator(from)) {
      const std::string name = entry.path().filename().string();
      const std::string ext = entry.path().extension().string();
      const bool library_folder =
          entry.is_directory() && (name == "INI" || name == "FPGA" || name == "MENU" ||
                                   name == "URL" || name == "Samples" || name == "Bmpdata");
      const bool library_file =
          entry.is_regular_file() &&
          (ext == ".ini" || ext == ".cue" || ext == ".DRV" || ext == ".drv") &&
          name != "History_1.ini" && name != "SelIcHst.ini" && name != "temp.ini" &&
          name != "logo_p.ini";
      if (library_folder || library_file) {
        std::filesystem::copy(entry.path(), dir_ / name, std::filesystem::copy_options::recursive);
      }
    }
  }
  // The sample EPROM as the last choice, with erase-less steps ticked.
  Application& StartOnSampleDevice() {
    CopyProgramFolder();
    IniFile h = History();
    h.WriteString("SelectDlg", "Manufacturer", "Quenlet Demo");
    h.WriteString("SelectDlg", "TypeNum", "QD27-256");
    h.WriteString("SelectDlg", "IcFileName", Path("") + "INI\\QD27-256.ini");
    h.WriteString("SelectDlg", "ProcessMode", "+C+P+V");
    StartAndShow();
    InstallRunSequences(*app);
    return *app;
  }
};

TEST_F(LibrarySessionTest, StartsSilentlyOnTheRestoredDeviceAndExitsOnYes) {
  StartOnSampleDevice();
  EXPECT_THAT(Shown(), IsEmpty());
  EXPECT_EQ(app->device().Name, "QD27-256");
  EXPECT_FALSE(app->NoDeviceChosen());
  EXPECT_EQ(window.closes, 0);

  messages.answers = {MessageResult::No};
  EXPECT_FALSE(app->ExitClick());
  EXPECT_EQ(window.closes, 0);
  app->pictures().TickBox(RunBox::CheckBox4, false);
  messages.answers = {MessageResult::Yes};
  EXPECT_TRUE(app->ExitClick());
  EXPECT_EQ(window.closes, 1);
  EXPECT_THAT(messages.texts(),
              ElementsAre(Application::kExitQuestion, Application::kExitQuestion));
  EXPECT_EQ(History().ReadString("SelectDlg", "ProcessMode", ""), "+C+P");
}

TEST_F(LibrarySessionTest, WithoutAUnitOrWithAnotherModelSaysSoOnce) {
  struct Row {
    const char* name;
    std::function<void(SimulatedBackend&)> unit;
    const char* said;
    int closes;
  };
  for (const Row& row : {
           Row{"no unit", [](SimulatedBackend& s) { s.SetUnitPresent(false); },
               "Please Open your USB", 0},
           Row{"another model", [](SimulatedBackend& s) { s.unit().SetModel("OTHER-UNIT"); },
               "Please connect Quenlet unit", 1},
       }) {
    SCOPED_TRACE(row.name);
    before_start = row.unit;
    StartOnSampleDevice();
    EXPECT_THAT(Shown(), ElementsAre(row.said));
    EXPECT_EQ(window.closes, row.closes);
    if (row.closes == 1) {
      // The identification was the last thing the other unit heard.
      EXPECT_THAT(sim->unit().log().TransferLines(), ElementsAre("IN 41 0000 0000 22"));
    }
    app.reset();
    messages = FakeMessages();
    window = RecordingShellWindow();
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
}

TEST_F(LibrarySessionTest, ExitIsRefusedWhileAPassRuns) {
  StartOnSampleDevice();
  int refused = 0;
  pump.on_pump = [&](int) { refused += app->ExitClick() ? 0 : 1; };
  EXPECT_TRUE(app->RunCommand(app->commands().auto_run));
  EXPECT_GT(refused, 0);
  EXPECT_EQ(app->state().PassCount, 1u);
  EXPECT_THAT(messages.texts(), IsEmpty());
  EXPECT_EQ(window.closes, 0);
  EXPECT_EQ(app->state().ExitInProgress, 0);
}

TEST_F(LibrarySessionTest, TheSampleProjectOpensItsOwnDataFile) {
  StartOnSampleDevice();
  Projects projects(*app);
  projects.LoadProjectList();
  ScriptedDialogs dialogs(*app);
  app->SetLoadSaveWindows(&dialogs);
  ASSERT_TRUE(app->RunCommand([&] { projects.ListView1DblClick(0); }));
  app->SetLoadSaveWindows(nullptr);
  // Source=Samples\QD27-256.HEX names the sample's file as it lies on disk.
  EXPECT_THAT(Shown(), Not(Contains("Not Found File ! ")));
  EXPECT_EQ(app->LoadPathText(), Path("Samples/QD27-256.HEX"));
  const auto bytes = app->buffer().Bytes();
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 7), "Quenlet");
  EXPECT_EQ(IniFile(Path("Project.ini")).ReadString("Temp", "Source", ""),
            Path("Samples/QD27-256.HEX"));
}

}  // namespace
}  // namespace quenlet::testing
