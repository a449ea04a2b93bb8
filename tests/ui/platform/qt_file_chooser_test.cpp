// The file dialogs over QFileDialog: filters that suit Linux names.
#include "ui/platform/qt_file_chooser.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFileDialog>
#include <QListView>
#include <QTest>
#include <QTimer>

#include "app/load_save_dialogs.h"
#include "support/temp_dir.h"

namespace quenlet {
namespace {

class QtFileChooserTest : public testing::TempDirTest {
 protected:
  // The names the dialog lists under a filter, once its folder has loaded.
  static QStringList Listed(QFileDialog& dialog, const QString& filter, int expected) {
    dialog.selectNameFilter(filter);
    auto* view = dialog.findChild<QListView*>("listView");
    QStringList names;
    (void)QTest::qWaitFor(
        [&] {
          names.clear();
          const QModelIndex root = view->rootIndex();
          for (int r = 0; r < view->model()->rowCount(root); ++r) {
            names << view->model()->index(r, 0, root).data().toString();
          }
          return names.size() == expected;
        },
        3000);
    names.sort();
    return names;
  }
};

TEST(QtFileChooser, WindowsFiltersBecomeFiltersInBothCases) {
  EXPECT_EQ(QtNameFilters(kDataFileFilter),
            (QStringList{"All File (*)", "Binary (*.bin *.BIN)", "Hex (*.hex *.HEX)",
                         "MS-DOS fn.com (*.com *.COM)", "MS-DOS fn.exe (*.exe *.EXE)",
                         "POF (*.pof *.POF)"}));
  EXPECT_EQ(QtNameFilters("JEDEC (*.jed;*.Jed)|*.jed;*.Jed"),
            QStringList{"JEDEC (*.jed *.JED *.Jed)"});
  EXPECT_EQ(QtNameFilters(""), QStringList{});
}

TEST_F(QtFileChooserTest, ListingMatchesExtensionsInAnyCaseAndAllFilesWithoutADot) {
  for (const char* name : {"a.bin", "B.BIN", "c.Bin", "noext", "d.hex"}) {
    testing::WriteFile(dir_ / name, "x");
  }
  FileDialogRequest request;
  request.filter = kDataFileFilter;
  request.initial_dir = dir_.string();
  request.must_exist = true;
  auto dialog = MakeFileDialog(request, false, nullptr);
  EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
  dialog->show();
  EXPECT_EQ(Listed(*dialog, "Binary (*.bin *.BIN)", 3), (QStringList{"B.BIN", "a.bin", "c.Bin"}));
  EXPECT_EQ(Listed(*dialog, "All File (*)", 5),
            (QStringList{"B.BIN", "a.bin", "c.Bin", "d.hex", "noext"}));
}

TEST_F(QtFileChooserTest, SaveNeverAsksAboutAnExistingFileItself) {
  testing::WriteFile(dir_ / "old.bin", "x");
  FileDialogRequest request;
  request.filter = kDataFileFilter;
  request.initial_dir = dir_.string();
  auto dialog = MakeFileDialog(request, true, nullptr);
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));

  // Chosen and cancelled, through the chooser as the dialogs use it.
  QtFileChooser chooser;
  const QString chosen = QString::fromStdString(Path("old.bin"));
  QTimer::singleShot(0, [chosen] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->selectFile(chosen);
    QMetaObject::invokeMethod(d, "accept");
  });
  EXPECT_EQ(chooser.ChooseSave(request), Path("old.bin"));
  QTimer::singleShot(0, [] {
    if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) d->reject();
  });
  EXPECT_EQ(chooser.ChooseOpen(request), "");
}

}  // namespace
}  // namespace quenlet
