// The file dialogs over QFileDialog: filters that suit Linux names.
#include "ui/platform/qt_file_chooser.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "app/load_save_dialogs.h"
#include "support/temp_dir.h"
#include "ui/controls/look.h"
#include "ui/dialog_script.h"
#include "ui/platform/file_dialog_icons.h"
#include "ui/screenshot.h"

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

TEST_F(QtFileChooserTest, OpensLargeEnoughForItsColumnsAndAsTheLastOneWasLeft) {
  testing::WriteFile(dir_ / "QD27-256 verified copy.bin", std::string(60000, 'x'));
  testing::WriteFile(dir_ / "notes.txt", "plain text");
  FileDialogRequest request;
  request.filter = kDataFileFilter;
  request.initial_dir = dir_.string();
  QWidget main_window(nullptr, Qt::Window | Qt::FramelessWindowHint);
  main_window.resize(554, 429);
  main_window.show();
  QtFileChooser chooser(&main_window);

  QSize first;
  testing::WhenShown<QFileDialog>([&](QFileDialog& d) {
    first = d.size();
    QAbstractItemView* details = d.findChild<QTreeView*>("treeView");
    ASSERT_NE(details, nullptr);
    QHeaderView* header = static_cast<QTreeView*>(details)->header();
    (void)QTest::qWaitFor([&] { return details->model()->rowCount(details->rootIndex()) == 2; });
    testing::Settle();
    // Names, sizes, types and dates as wide as their widest text.
    for (int column = 0; column < 4; ++column) {
      SCOPED_TRACE(column);
      EXPECT_GE(header->sectionSize(column), details->sizeHintForColumn(column));
    }
    // The pictures are the program's: its listing's and its tool buttons'.
    EXPECT_NE(dynamic_cast<const DrawnFileIcons*>(d.iconProvider()), nullptr);
    auto* back = d.findChild<QToolButton*>("backButton");
    ASSERT_NE(back, nullptr);
    const QImage arrow = back->icon().pixmap(QSize(16, 16), 2.0).toImage();
    EXPECT_EQ(arrow.pixelColor(16, 16).rgb(), look::kText.rgb());  // the arrow's shaft
    testing::SaveScreenshot(d, "file_chooser");
    d.resize(780, 520);
    d.reject();
  });
  EXPECT_EQ(chooser.ChooseOpen(request), "");
  EXPECT_GE(first.width(), QtFileChooser::kFirstSize.width());
  EXPECT_GE(first.height(), QtFileChooser::kFirstSize.height());

  QSize second;
  testing::WhenShown<QFileDialog>([&](QFileDialog& d) {
    second = d.size();
    d.reject();
  });
  chooser.ChooseSave(request);
  EXPECT_EQ(second, QSize(780, 520));
}

}  // namespace
}  // namespace quenlet
