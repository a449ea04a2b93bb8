// The device dialog without its window: lists, preview, document, ring, and
// OK and Cancel with what they record.
#include "device/select_ic_logic.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <map>

#include "device/selected_device.h"
#include "platform/ini_file.h"
#include "state/main_form_state.h"
#include "support/fakes.h"
#include "support/program_dir.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SelectIcLogicTest : public DeviceDialogTest {
 protected:
  void SetUp() override {
    DeviceDialogTest::SetUp();
    Put("Select.ini",
        "[ITEM]\r\nValue=5\r\n0001=General Type\r\n0002=Maker_X\r\n0003=Empty Vendor\r\n"
        "0004=big vendor\r\n0005=Maker\r\n"
        "[General Type]\r\nValue=2\r\n0001=G2\r\n0002=g1\r\nG2=g2.ini\r\ng1=g1.ini\r\n"
        "[Maker_X]\r\nValue=2\r\n0001=Part_A\r\n0002=B\r\nPart_A=pa.ini\r\nB=missing.ini\r\n"
        "[Empty Vendor]\r\nValue=0\r\n"
        "[big vendor]\r\nValue=1\r\n0001=P1\r\nP1 = pa.ini\r\n"
        "[Maker]\r\nValue=1\r\n0001=X_IC_Part\r\nX_IC_Part=g2.ini\r\n");
    Put("INI/g1.ini", "[VK_KZExternValue]\r\nPIN=1\r\n");
    Put("INI/g2.ini", "[VK_KZExternValue]\r\nPIN=2\r\n");
    Put("INI/pa.ini", "[VK_KZExternValue]\r\nPIN=40\r\nNote=A note\r\n");
    Put("url/URLList.ini", "[Index]\r\nMaker_X=mx.html\r\nMaker=..\\Select.ini\r\n");
    Put("URL/mx.html", "<html/>");
    Put("Bmpdata/NULL.bmp", "BM");
  }

  // A dialog as the program makes it once per run.
  std::unique_ptr<SelectIcDialogLogic> Create() {
    auto logic = std::make_unique<SelectIcDialogLogic>(Env());
    logic->SetCloseHandler([this] { ++closes; });
    logic->FormCreate();
    return logic;
  }
  void ClickManufacturer(SelectIcDialogLogic& logic, const std::string& name) {
    const auto& m = logic.Manufacturers();
    const auto it = std::find(m.begin(), m.end(), name);
    ASSERT_NE(it, m.end()) << name;
    logic.MaunListBoxClick(static_cast<size_t>(it - m.begin()));
  }
  int closes = 0;
};

TEST_F(SelectIcLogicTest, OpensOnGeneralTypeWithoutHistory) {
  auto logic = Create();
  EXPECT_EQ(logic->ManuEditText(), "General Type");
  EXPECT_THAT(logic->Manufacturers(),
              ElementsAre("big vendor", "Empty Vendor", "General Type", "Maker", "Maker_X"));
  EXPECT_EQ(logic->SelectedManufacturer(), 2u);
  EXPECT_THAT(logic->Parts(), ElementsAre("g1", "G2"));
  EXPECT_EQ(logic->SelectedPart(), 0u);
  EXPECT_EQ(logic->ChosenPart(), "g1");
  EXPECT_EQ(logic->Preview().pin, "PIN : 1");
  EXPECT_THAT(logic->History().items, ElementsAre("None"));
  EXPECT_EQ(logic->History().text, "None");
  EXPECT_FALSE(logic->WebEnabled());
  EXPECT_EQ(logic->WebHint(), "None");
  EXPECT_EQ(logic->PicturePath(), Root() + "Bmpdata/NULL.bmp");
}

TEST_F(SelectIcLogicTest, ManufacturerAndPartClicksKeepListsEditsAndPreviewInStep) {
  auto logic = Create();
  ClickManufacturer(*logic, "Maker_X");
  EXPECT_EQ(logic->ManuEditText(), "Maker_X");
  EXPECT_EQ(logic->ChosenManufacturer(), "Maker_X");
  EXPECT_THAT(logic->Parts(), ElementsAre("B", "Part_A"));
  EXPECT_EQ(logic->IcTypeEditText(), "B");
  // B's file is missing: every value reads "<none>".
  EXPECT_EQ(logic->Preview().pin, "PIN : <none>");
  EXPECT_TRUE(logic->WebEnabled());
  EXPECT_EQ(logic->WebHint(), "mx.html");

  logic->NumListBoxClick(1);
  EXPECT_EQ(logic->ChosenPart(), "Part_A");
  EXPECT_EQ(logic->Preview().pin, "PIN : 40");
  EXPECT_EQ(logic->Preview().note, "Note : A note");

  // Same part name, other manufacturer: its own file.
  ClickManufacturer(*logic, "General Type");
  logic->NumListBoxClick(1);
  EXPECT_EQ(logic->Preview().pin, "PIN : 2");
  EXPECT_EQ(logic->Preview().note, "Note : None.");
}

TEST_F(SelectIcLogicTest, ManufacturerWithoutPartsClearsPartAndPreviewAndOkDoesNothing) {
  auto logic = Create();
  ClickManufacturer(*logic, "Empty Vendor");
  EXPECT_THAT(logic->Parts(), IsEmpty());
  EXPECT_EQ(logic->SelectedPart(), std::nullopt);
  EXPECT_EQ(logic->IcTypeEditText(), "");
  EXPECT_EQ(logic->Preview(), DevicePreviewTexts{});
  EXPECT_FALSE(logic->OKBtnClick());
  EXPECT_THAT(messages.boxes, IsEmpty());
  EXPECT_THAT(setup.applied, IsEmpty());
  EXPECT_EQ(closes, 0);
  EXPECT_FALSE(std::filesystem::exists(state.HistoryIniFile));
}

TEST_F(SelectIcLogicTest, OkRecordsTheChoiceClosesAndSetsUpTheDevice) {
  state.ProgrammerHasData = 1;
  state.ProjectActive = 1;
  device.DialogCancelled = 1;
  auto logic = Create();
  ClickManufacturer(*logic, "Maker_X");
  logic->NumListBoxClick(1);
  ASSERT_TRUE(logic->OKBtnClick());
  EXPECT_EQ(SelectDlg("Manufacturer"), "Maker_X");
  EXPECT_EQ(SelectDlg("TypeNum"), "Part_A");
  EXPECT_EQ(SelectDlg("IcFileName"), Root() + "INI\\pa.ini");
  EXPECT_EQ(SelectDlg("OK"), "1");
  EXPECT_EQ(SelectDlg("ISPmode"), "0");
  EXPECT_EQ(device.SelectedIcIniPath, Root() + "INI\\pa.ini");
  EXPECT_EQ(device.DialogCancelled, 0);
  EXPECT_EQ(state.ProgrammerHasData, 0);
  EXPECT_EQ(state.ProjectActive, 0);
  EXPECT_EQ(logic->Ring().Last(), "Maker_X_IC_Part_A");
  EXPECT_EQ(closes, 1);
  EXPECT_THAT(messages.boxes, IsEmpty());
  // The same part again is no change; another part is.
  ASSERT_TRUE(logic->OKBtnClick());
  ClickManufacturer(*logic, "General Type");
  logic->NumListBoxDblClick(1);  // a double click is OK
  EXPECT_THAT(setup.applied, ElementsAre(true, false, true));
  EXPECT_EQ(logic->PreviousPart(), "G2");
  EXPECT_EQ(closes, 3);
}

// OK replaces History_1.ini and the ring's SelIcHst.ini once each: every key
// of one file goes in one batch, not one rewrite of the file per key.
TEST_F(SelectIcLogicTest, OkReplacesEachFileOnce) {
  auto logic = Create();
  ClickManufacturer(*logic, "Maker_X");
  logic->NumListBoxClick(1);
  const int watch = inotify_init1(IN_NONBLOCK);
  ASSERT_GE(watch, 0);
  ASSERT_GE(inotify_add_watch(watch, Root().c_str(), IN_MOVED_TO | IN_CLOSE_WRITE), 0);
  ASSERT_TRUE(logic->OKBtnClick());

  std::map<std::string, int> replaced;  // file name: complete writes of it
  alignas(inotify_event) char events[16384];
  for (ssize_t n; (n = read(watch, events, sizeof events)) > 0;) {
    for (char* p = events; p < events + n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(p);
      if (e->len > 0) ++replaced[e->name];
      p += sizeof(inotify_event) + e->len;
    }
  }
  close(watch);
  // An atomic replace moves its finished file in under the file's name; a
  // write in place closes the file under it: either way the name shows once.
  EXPECT_EQ(replaced["History_1.ini"], 1);
  EXPECT_EQ(replaced["SelIcHst.ini"], 1);
}

TEST_F(SelectIcLogicTest, OkRefusalsStayOpenAndWriteNothing) {
  struct Case {
    const char* name;
    const char* manufacturer;
    size_t part;
    std::string message;
    const char* device_file = nullptr;  // INI/missing.ini written with this text
  };
  const Case cases[] = {
      {"device file missing", "Maker_X", 0, "Cannot open file \"" + Root() + "INI/missing.ini\"."},
      // The INI store takes "P1 " for the key: no file for "P1".
      {"blanks around =", "big vendor", 0, "Cannot open file \"" + Root() + "INI/<none>\"."},
      {"no device section", "Maker_X", 0,
       "The device file \"" + Root() +
           "INI/missing.ini\" holds no device section "
           "[VK_KZExternValue].",
       "[Device]\r\nPIN=4\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.boxes.clear();
    if (c.device_file) Put("INI/missing.ini", c.device_file);
    auto logic = Create();
    ClickManufacturer(*logic, c.manufacturer);
    logic->NumListBoxClick(c.part);
    EXPECT_FALSE(logic->OKBtnClick());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, c.message);
    EXPECT_EQ(messages.boxes[0].caption, "ERROR");
  }
  EXPECT_THAT(setup.applied, IsEmpty());
  EXPECT_EQ(closes, 0);
  EXPECT_FALSE(std::filesystem::exists(state.HistoryIniFile));
  EXPECT_FALSE(std::filesystem::exists(Path("SelIcHst.ini")));
  EXPECT_EQ(device.SelectedIcIniPath, "");
}

// A dialog over no catalogue would open empty: each showing says why.
TEST_F(SelectIcLogicTest, ShowingWithoutACatalogueSaysWhatIsWrong) {
  std::filesystem::remove(Path("Select.ini"));
  auto logic = Create();
  EXPECT_THAT(messages.texts(), IsEmpty());  // made at the start, not shown
  logic->BeforeShow();
  std::filesystem::create_directory(Path("Select.ini"));  // there, but no file to read
  logic->BeforeShow();
  EXPECT_THAT(messages.texts(), ElementsAre("The device list \"" + Root() +
                                                "Select.ini\" is missing: there is no "
                                                "device to choose.",
                                            "The device list \"" + Root() +
                                                "Select.ini\" cannot be read: there is "
                                                "no device to choose."));
  EXPECT_EQ(messages.boxes[0].caption, "ERROR");
  std::filesystem::remove(Path("Select.ini"));
  Put("Select.ini", "[ITEM]\r\nValue=0\r\n");
  messages.boxes.clear();
  logic->BeforeShow();
  EXPECT_THAT(messages.texts(), IsEmpty());
}

TEST_F(SelectIcLogicTest, FailedWriteOfTheChoiceNamesTheFileAndStaysOpen) {
  std::filesystem::create_directories(state.HistoryIniFile);  // cannot be replaced by a file
  auto logic = Create();
  EXPECT_FALSE(logic->OKBtnClick());
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "Cannot write file \"" + state.HistoryIniFile + "\".");
  EXPECT_THAT(setup.applied, IsEmpty());
  EXPECT_EQ(closes, 0);
  EXPECT_FALSE(std::filesystem::exists(Path("SelIcHst.ini")));
  EXPECT_EQ(logic->PreviousPart(), "");
}

TEST_F(SelectIcLogicTest, CancelRecordsItAndKeepsThePreviousChoice) {
  state.LoadNeedsDevice = 1;
  auto logic = Create();
  ASSERT_TRUE(logic->OKBtnClick());
  const std::string path = device.SelectedIcIniPath;
  EXPECT_EQ(device.DeviceChanged, 0);  // the set-up is a fake here
  device.DeviceChanged = 1;
  logic->CancelBtnClick();
  EXPECT_EQ(device.DeviceChanged, 0);
  EXPECT_EQ(device.DialogCancelled, 1);
  EXPECT_EQ(state.LoadNeedsDevice, 0);
  EXPECT_EQ(SelectDlg("OK"), "0");
  EXPECT_EQ(device.SelectedIcIniPath, path);
  EXPECT_EQ(logic->PreviousPart(), "g1");
  EXPECT_EQ(closes, 2);
}

TEST_F(SelectIcLogicTest, NextRunOpensOnTheLastChoiceAndThePickedHistoryEntry) {
  {
    auto logic = Create();
    ClickManufacturer(*logic, "Maker_X");
    logic->NumListBoxClick(1);
    ASSERT_TRUE(logic->OKBtnClick());
    ClickManufacturer(*logic, "Maker");
    ASSERT_TRUE(logic->OKBtnClick());
    ClickManufacturer(*logic, "Maker_X");
    logic->NumListBoxClick(1);
    ASSERT_TRUE(logic->OKBtnClick());
  }
  auto logic = Create();
  EXPECT_EQ(logic->ManuEditText(), "Maker_X");
  EXPECT_EQ(logic->IcTypeEditText(), "Part_A");
  EXPECT_EQ(logic->SelectedPart(), 1u);
  EXPECT_EQ(logic->Preview().pin, "PIN : 40");
  EXPECT_THAT(logic->History().items, ElementsAre("Maker_X_IC_Part_A", "Maker_IC_X_IC_Part"));
  EXPECT_EQ(logic->History().text, "Maker_X_IC_Part_A");

  logic->HistCBoxChange(1);
  EXPECT_EQ(logic->ChosenManufacturer(), "Maker");
  EXPECT_EQ(logic->ChosenPart(), "X_IC_Part");
  EXPECT_EQ(logic->Preview().pin, "PIN : 2");
  logic->HistCBoxChange(7);  // no such item
  EXPECT_EQ(logic->ChosenPart(), "X_IC_Part");
}

TEST_F(SelectIcLogicTest, HistoryEntryWithoutSeparatorOpensOnGeneralType) {
  Put("SelIcHst.ini", "[HISTORY]\r\n0=None\r\nLast=Maker_X\r\n");
  auto logic = Create();
  EXPECT_EQ(logic->ChosenManufacturer(), "General Type");
  logic->HistCBoxChange(0);  // "None" names no device
  EXPECT_EQ(logic->ChosenManufacturer(), "General Type");
}

TEST_F(SelectIcLogicTest, CatalogueIsParsedOncePerChangeOfTheFile) {
  auto logic = Create();
  logic->BeforeShow();
  for (const char* m : {"Maker_X", "Maker", "General Type"}) ClickManufacturer(*logic, m);
  EXPECT_EQ(logic->Catalogue().LoadCount(), 1u);
  // An edited catalogue shows at the next manufacturer click.
  Put("Select.ini",
      "[ITEM]\r\nValue=1\r\n0001=General Type\r\n[General Type]\r\nValue=1\r\n0001=New\r\n");
  ClickManufacturer(*logic, "General Type");
  EXPECT_THAT(logic->Parts(), ElementsAre("New"));
  EXPECT_EQ(logic->Catalogue().LoadCount(), 2u);
}

TEST_F(SelectIcLogicTest, WebButtonOpensOnlyAListedSafeDocument) {
  auto logic = Create();
  logic->ConnetWEBBitBtnClick();  // General Type lists none
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "Not found any WEB name in URL Listing File.");
  EXPECT_EQ(messages.boxes[0].caption, "Connect to WEB");

  ClickManufacturer(*logic, "Maker_X");
  logic->ConnetWEBBitBtnClick();
  EXPECT_THAT(opener.opened, ElementsAre(Root() + "URL/mx.html"));
  opener.opens = false;
  logic->ConnetWEBBitBtnClick();
  ClickManufacturer(*logic, "Maker");  // its document lies outside URL\ .
  logic->ConnetWEBBitBtnClick();
  EXPECT_EQ(opener.opened.size(), 2u);
  EXPECT_EQ(messages.texts(), (std::vector<std::string>{kNoWebNameText, "Could not create process",
                                                        "Could not create process"}));
}

}  // namespace
}  // namespace quenlet::testing
