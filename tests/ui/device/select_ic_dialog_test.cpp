// The device-selection dialog on the offscreen platform.
#include "ui/device/select_ic_dialog.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>
#include <QTimer>

#include "device/selected_device.h"
#include "platform/ini_file.h"
#include "state/main_form_state.h"
#include "support/fakes.h"
#include "support/program_dir.h"
#include "ui/screenshot.h"

namespace quenlet::testing {
namespace {

constexpr const char* kBig5Maker = "\xA5\xFA\xB5\xD8\xB9\x71\xA4\x6C";  // Big5 text

class SelectIcDialogTest : public DeviceDialogTest {
 protected:
  void SetUp() override {
    DeviceDialogTest::SetUp();
    Put("Select.ini",
        std::string("[ITEM]\r\nValue=4\r\n0001=General Type\r\n0002=Quenlet Demo\r\n"
                    "0003=Empty Vendor\r\n0004=") +
            kBig5Maker +
            "\r\n[General Type]\r\nValue=2\r\n0001=QD29-1MW\r\n0002=QD27-256\r\n"
            "QD29-1MW=w.ini\r\nQD27-256=b.ini\r\n"
            "[Quenlet Demo]\r\nValue=3\r\n0001=QD27-256\r\n0002=QDG-16\r\n0003=qd_2A-064\r\n"
            "QD27-256=b.ini\r\nQDG-16=g.ini\r\nqd_2A-064=b.ini\r\n"
            "[Empty Vendor]\r\nValue=0\r\n[" +
            kBig5Maker + "]\r\nValue=1\r\n0001=QD27-256\r\nQD27-256=b.ini\r\n");
    Put("INI/b.ini",
        "[VK_KZExternValue]\r\nPIN=28\r\nTYPE=EPROM\r\nICSIZE=32768\r\nManCode=0x20\r\n"
        "DevCode=0x8C\r\nread_vcc=50\r\nprogram_vcc=65\r\nprogram_vpp=125\r\n"
        "Note=UV erasable; program at 12.5 V\r\n");
    Put("INI/w.ini", "[VK_KZExternValue]\r\nPIN=40\r\nICSIZE=1048576\r\nread_vcc=50\r\n");
    Put("INI/g.ini",
        "[VK_KZExternValue]\r\nPIN=20\r\nTYPE=PLD\r\nFUSE=2194\r\nManCode=NONE\r\n"
        "DevCode=NONE\r\nread_vcc=50\r\nprogram_vcc=50\r\nprogram_vpp=150\r\n");
    Put("url/URLList.ini", "[Index]\r\nQuenlet Demo=quenlet-demo.html\r\n");
    Put("URL/quenlet-demo.html", "<html/>");
  }
  std::unique_ptr<TSelectICDialog> Make() { return std::make_unique<TSelectICDialog>(Env()); }
  // Runs `script` once the dialog is up; a dialog left open is closed with
  // Escape so that a failing test never hangs.
  void ExecWith(TSelectICDialog& dialog, std::function<void()> script) {
    QTimer::singleShot(0, &dialog, [&dialog, script] {
      script();
      if (dialog.isVisible()) QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    dialog.Exec();
  }
  static void ClickRow(QListView* list, const QString& text) {
    const auto* model = static_cast<QStringListModel*>(list->model());
    const int row = static_cast<int>(model->stringList().indexOf(text));
    ASSERT_GE(row, 0) << text.toStdString();
    const QModelIndex index = model->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
  }
  static QStringList Rows(QListView* list) {
    return static_cast<QStringListModel*>(list->model())->stringList();
  }
};

TEST_F(SelectIcDialogTest, ManufacturerClickShowsItsPartsAndThePreview) {
  auto dialog = Make();
  dialog->show();
  EXPECT_EQ(dialog->size(), QSize(531, 363));
  EXPECT_EQ(dialog->OKBtn()->text(), "     OK");
  EXPECT_EQ(dialog->CancelBtn()->text(), "     Cancel");
  EXPECT_EQ(dialog->ManuEdit()->text(), "General Type");
  EXPECT_EQ(Rows(dialog->NumListBox()), QStringList({"QD27-256", "QD29-1MW"}));
  EXPECT_FALSE(dialog->ConnetWEBBitBtn()->isEnabled());
  EXPECT_FALSE(dialog->Image1()->isVisibleTo(dialog.get()));
  // The Big5 manufacturer is listed as text, sorted after the ASCII names.
  EXPECT_EQ(Rows(dialog->MaunListBox()).last(), QString::fromUtf8("光華電子"));

  ClickRow(dialog->MaunListBox(), "Quenlet Demo");
  EXPECT_EQ(dialog->ManuEdit()->text(), "Quenlet Demo");
  EXPECT_EQ(Rows(dialog->NumListBox()), QStringList({"QD27-256", "qd_2A-064", "QDG-16"}));
  EXPECT_EQ(dialog->NumListBox()->currentIndex().row(), 0);
  EXPECT_EQ(dialog->IcTypeEdit()->text(), "QD27-256");
  EXPECT_TRUE(dialog->ConnetWEBBitBtn()->isEnabled());
  EXPECT_EQ(dialog->ConnetWEBBitBtn()->toolTip(), "quenlet-demo.html");

  ClickRow(dialog->NumListBox(), "QDG-16");
  EXPECT_EQ(dialog->IcTypeEdit()->text(), "QDG-16");
  EXPECT_EQ(dialog->PinLabel()->text(), "PIN : 20");
  EXPECT_EQ(dialog->SizeLabel()->text(), "FUSE : 2194 ");
  EXPECT_EQ(dialog->VPPLabel()->text(), "VPP = 15.0 V");
  EXPECT_EQ(dialog->NoteLabel()->text(), "Note : None.");
  SaveScreenshot(*dialog, "select_ic_dialog_fuse_device");

  ClickRow(dialog->NumListBox(), "QD27-256");
  EXPECT_EQ(dialog->D_CodeLabel()->text(), " Manufacturer ID : 0x20      Device ID : 0x8C");
  EXPECT_EQ(dialog->VCCLabel()->text(), "VCC = 5.0 V");
  SaveScreenshot(*dialog, "select_ic_dialog");

  ClickRow(dialog->MaunListBox(), QString::fromUtf8("光華電子"));
  EXPECT_EQ(dialog->ManuEdit()->text(), QString::fromUtf8("光華電子"));
  EXPECT_EQ(dialog->Logic().ChosenManufacturer(), kBig5Maker);
  SaveScreenshot(*dialog, "select_ic_dialog_big5_manufacturer");
}

TEST_F(SelectIcDialogTest, ManufacturerWithoutPartsClearsThePart) {
  auto dialog = Make();
  dialog->show();
  ClickRow(dialog->MaunListBox(), "Empty Vendor");
  EXPECT_TRUE(Rows(dialog->NumListBox()).isEmpty());
  EXPECT_EQ(dialog->IcTypeEdit()->text(), "");
  EXPECT_EQ(dialog->PinLabel()->text(), "");
  QTest::mouseClick(dialog->OKBtn(), Qt::LeftButton);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(setup.applied.empty());
}

TEST_F(SelectIcDialogTest, TypeAheadOfTheListMovesTheSelection) {
  auto dialog = Make();
  dialog->show();
  dialog->MaunListBox()->setFocus();
  QTest::keyClicks(dialog->MaunListBox(), "Qu");
  EXPECT_EQ(dialog->ManuEdit()->text(), "Quenlet Demo");
  EXPECT_EQ(Rows(dialog->NumListBox()).size(), 3);
}

TEST_F(SelectIcDialogTest, HistoryBoxTakesNoKeys) {
  Put("SelIcHst.ini", "[HISTORY]\r\n0=Quenlet Demo_IC_QDG-16\r\nLast=Quenlet Demo_IC_QDG-16\r\n");
  auto dialog = Make();
  dialog->show();
  EXPECT_EQ(dialog->IcTypeEdit()->text(), "QDG-16");
  EXPECT_EQ(dialog->HistCBox()->currentText(), "Quenlet Demo_IC_QDG-16");
  dialog->HistCBox()->setFocus();
  QTest::keyClick(dialog->HistCBox(), Qt::Key_Down);
  QTest::keyClicks(dialog->HistCBox()->lineEdit(), "xyz");
  EXPECT_EQ(dialog->HistCBox()->currentText(), "Quenlet Demo_IC_QDG-16");
  EXPECT_EQ(dialog->IcTypeEdit()->text(), "QDG-16");
}

// The history box, where the dialog opens with the focus, takes no key
// itself, but the dialog's keys still work from it: Tab leaves it, Escape
// is Cancel.
TEST_F(SelectIcDialogTest, HistoryBoxLetsTheDialogKeysThrough) {
  auto dialog = Make();
  bool tab_left = false;
  ExecWith(*dialog, [&] {
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    ASSERT_EQ(QApplication::focusWidget(), dialog->HistCBox());
    QTest::keyClick(dialog->HistCBox(), Qt::Key_Tab);
    tab_left = QApplication::focusWidget() != dialog->HistCBox();
    dialog->HistCBox()->setFocus();
    device.DialogCancelled = 0;
    QTest::keyClick(dialog->HistCBox(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
  });
  EXPECT_TRUE(tab_left);
  EXPECT_EQ(device.DialogCancelled, 1);
  EXPECT_EQ(SelectDlg("OK"), "0");
}

TEST_F(SelectIcDialogTest, EscapeAndCloseAreCancel) {
  auto dialog = Make();
  for (bool escape : {true, false}) {
    device.DialogCancelled = 0;
    state.LoadNeedsDevice = 1;
    ExecWith(*dialog, [&] {
      if (escape) {
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
      } else {
        dialog->close();
      }
    });
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(device.DialogCancelled, 1);
    EXPECT_EQ(state.LoadNeedsDevice, 0);
    EXPECT_EQ(SelectDlg("OK"), "0");
  }
}

TEST_F(SelectIcDialogTest, DoubleClickOnAPartIsOk) {
  auto dialog = Make();
  ExecWith(*dialog, [&] {
    ClickRow(dialog->MaunListBox(), "Quenlet Demo");
    QListView* list = dialog->NumListBox();
    const QModelIndex index = list->model()->index(2, 0);
    list->scrollTo(index);  // lays the new rows out
    // As the mouse sends it: a click, then the second press as a double click.
    const QPoint at = list->visualRect(index).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  });
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(messages.texts(), std::vector<std::string>{});
  ASSERT_EQ(setup.applied, std::vector<bool>{true});
  EXPECT_EQ(SelectDlg("TypeNum"), "QDG-16");
  EXPECT_EQ(SelectDlg("OK"), "1");
  EXPECT_EQ(device.DialogCancelled, 0);
}

// Enter is OK, as a double click is: it never opens the maker's document,
// even while that button is the one enabled beside the lists.
TEST_F(SelectIcDialogTest, EnterInTheListsIsOk) {
  auto dialog = Make();
  ExecWith(*dialog, [&] {
    ClickRow(dialog->MaunListBox(), "Quenlet Demo");
    ASSERT_TRUE(dialog->ConnetWEBBitBtn()->isEnabled());
    ClickRow(dialog->NumListBox(), "QDG-16");
    QTest::keyClick(dialog->NumListBox(), Qt::Key_Return);
  });
  EXPECT_TRUE(opener.opened.empty());
  ASSERT_EQ(setup.applied, std::vector<bool>{true});
  EXPECT_EQ(SelectDlg("TypeNum"), "QDG-16");
  EXPECT_EQ(SelectDlg("OK"), "1");
}

TEST_F(SelectIcDialogTest, OpeningAndThreeClicksReadTheCatalogueOnce) {
  auto dialog = Make();
  ExecWith(*dialog, [&] {
    for (const char* m : {"Quenlet Demo", "Empty Vendor", "General Type"}) {
      ClickRow(dialog->MaunListBox(), m);
    }
  });
  EXPECT_EQ(dialog->Logic().Catalogue().LoadCount(), 1u);
}

}  // namespace
}  // namespace quenlet::testing
