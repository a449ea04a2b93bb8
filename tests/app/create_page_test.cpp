// The Create page's operations through the application object: the device
// dialog and the load dialog, and the record they leave in Project.ini
// [Temp].
#include "app/create_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/application.h"
#include "app_fixture.h"
#include "scripted_dialogs.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Place = CreatePageDialog::Place;

// The device dialog: where it was shown and what the operator did there.
// An OK chooses the device file `file` as the dialog's OK does.
class FakeDeviceDialog : public CreatePageDialog {
 public:
  explicit FakeDeviceDialog(Application& app) : app_(app) {}
  void ShowModal(Place place) override {
    places.push_back(place);
    SelectedDevice& device = app_.device();
    device.DialogCancelled = ok ? 0 : 1;
    if (ok) device.SelectedIcIniPath = file;
  }
  std::pair<std::string, std::string> Texts() const override { return texts; }

  std::vector<Place> places;
  bool ok = true;
  std::string file;
  std::pair<std::string, std::string> texts;

 private:
  Application& app_;
};

class CreatePageTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    Write("INI\\AM29F010.ini", kByteDevice);
    Write("INI\\NOTED.ini",
          std::string(kByteDevice) + "IC_Information1=Alpha\r\nIC_Information2=Beta\r\n");
    ChooseDevice("INI/AM29F010.ini");
    StartAndShow();
    app->SetSelectedType("AMD", "AM29F010");
    dialog = std::make_unique<FakeDeviceDialog>(*app);
    page = std::make_unique<CreatePage>(*app, *dialog);
    messages.boxes.clear();
  }
  void TearDown() override {
    page.reset();
    if (app) app->SetLoadSaveWindows(nullptr);
    AppTest::TearDown();
  }
  std::string Temp(const char* key) const {
    return IniFile(Path("Project.ini")).ReadString("Temp", key, "<none>");
  }
  std::array<std::string, 2> Label() const { return app->SelectedType(); }

  std::unique_ptr<FakeDeviceDialog> dialog;
  std::unique_ptr<CreatePage> page;
};

TEST_F(CreatePageTest, TheTypeButtonRecordsTheChosenDeviceAndCancelChangesNothing) {
  // Button14 of the engineering panel runs it.
  ASSERT_TRUE(app->commands().create_type);
  dialog->texts = {"\xA4\xA4\xA4\xE5 Maker", "QD-1"};  // a Big5 name stays bytes
  ASSERT_TRUE(app->RunCommand(app->commands().create_type));
  EXPECT_THAT(dialog->places, ElementsAre(Place::kCreatePanel));
  EXPECT_EQ(Label(), (std::array<std::string, 2>{"\xA4\xA4\xA4\xE5 Maker", "QD-1"}));
  EXPECT_EQ(Temp("Vendor"), "\xA4\xA4\xA4\xE5 Maker");
  EXPECT_EQ(Temp("ID"), "QD-1");

  dialog->ok = false;
  dialog->texts = {"Browsed", "Not chosen"};
  page->CreateTypeBtnClick();
  EXPECT_EQ(Label()[1], "QD-1");
  EXPECT_EQ(Temp("ID"), "QD-1");
  EXPECT_THAT(Shown(), IsEmpty());

  page.reset();
  EXPECT_FALSE(app->commands().create_type);
}

TEST_F(CreatePageTest, TheTypePictureLoadsTheDeviceAndShowsItsNote) {
  dialog->file = Path("INI/NOTED.ini");
  dialog->texts = {"AMD", "NOTED"};
  page->Image14Click();
  EXPECT_THAT(dialog->places, ElementsAre(Place::kCopyPanel));
  EXPECT_EQ(app->device().IC_Information1, "Alpha");
  EXPECT_THAT(messages.texts(), ElementsAre("IC Information : \nAlpha\nBeta\n"));
  EXPECT_EQ(Label()[1], "NOTED");
  EXPECT_EQ(Temp("ID"), "<none>");  // no record

  // A device without a note shows none; a Cancel loads nothing.
  messages.boxes.clear();
  dialog->file = Path("INI/AM29F010.ini");
  dialog->texts = {"AMD", "AM29F010"};
  page->Image14Click();
  EXPECT_EQ(app->device().IC_Information1, "None");
  EXPECT_THAT(Shown(), IsEmpty());
  dialog->ok = false;
  dialog->file = Path("INI/NOTED.ini");
  dialog->texts = {"AMD", "NOTED"};
  page->Image14Click();
  EXPECT_EQ(app->device().IC_Information1, "None");
  EXPECT_EQ(Label()[1], "AM29F010");

  // The Copy page's type button only relabels: no load, no note.
  dialog->ok = true;
  page->CopyTypeBtnClick();
  EXPECT_EQ(dialog->places.back(), Place::kCopyPanel);
  EXPECT_EQ(Label()[1], "NOTED");
  EXPECT_EQ(app->device().IC_Information1, "None");
  EXPECT_THAT(Shown(), IsEmpty());
}

TEST_F(CreatePageTest, TheLoadButtonsRecordTheLoadedFile) {
  ScriptedDialogs dialogs(*app);
  app->SetLoadSaveWindows(&dialogs);
  Write("data.bin", std::string(0x100, '\x11'));
  dialogs.load_name = Path("data.bin");
  page->CreateLoadBtnClick();
  EXPECT_EQ(app->buffer().Bytes()[0xFF], 0x11);
  EXPECT_EQ(Temp("Source"), Path("data.bin"));
  EXPECT_EQ(app->pictures().Page(), CopyPage::Copy);

  // A file that does not load leaves the field, and so the record, as it was.
  dialogs.load_name = Path("missing.bin");
  page->Image15Click();
  EXPECT_EQ(app->LoadPathText(), Path("data.bin"));
  EXPECT_EQ(Temp("Source"), Path("data.bin"));
  EXPECT_EQ(app->pictures().Page(), CopyPage::Edit);
}

}  // namespace
}  // namespace quenlet::testing
