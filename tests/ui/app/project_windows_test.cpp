// The project window and the Project page's list on the offscreen
// platform, hung on the main window over the application object.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/app_fixture.h"
#include "app/projects.h"
#include "ui/app/main_form.h"
#include "ui/app/periphery_windows.h"
#include "ui/app/project_list.h"
#include "ui/app/project_new.h"
#include "ui/app/skin_stack.h"
#include "ui/app/verify_error.h"
#include "ui/dialog_script.h"
#include "ui/screenshot.h"

namespace quenlet::testing {
namespace {

const std::vector<ProjectRecord> kProjects = {
    {"Quenlet Demo", "QD27-256", "Samples\\QD27-256.HEX", "+C+P+V"},
    {"Quenlet Demo", "QDH-016", "<empty>", "+E+P+V"},
    {"General Type", "QD29-1MW", "Samples\\big.bin", "<empty>"},
};

QString Text(QTableWidget* grid, int row, int column) {
  QTableWidgetItem* item = grid->item(row, column);
  return item ? item->text() : QString();
}

void ClickCell(QTableWidget* grid, int row, int column) {
  const QRect cell = grid->visualRect(grid->model()->index(row, column));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

// A press and the double click that follows it, as a desktop delivers them.
void DoubleClick(QWidget* widget, QPoint at) {
  QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
  QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(at), QPointF(widget->mapToGlobal(at)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

TEST(ProjectWindow, RowsCarryTheirModeAndExecuteRunsTheSelectedOne) {
  Tproject_new window(nullptr);
  EXPECT_EQ(window.size(), QSize(537, 377));
  EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
  QTableWidget* grid = window.StringGrid1();
  EXPECT_EQ(grid->rowCount() + 1, 11);  // the header row and ten projects
  for (int c = 0; c < 4; ++c) EXPECT_EQ(grid->columnWidth(c), Tproject_new::kColumnWidths[c]);
  window.Fill(kProjects);
  window.show();
  EXPECT_EQ(Text(grid, 0, 0), "Quenlet Demo  QD27-256");
  EXPECT_EQ(Text(grid, 0, 1), "Samples\\QD27-256.HEX");
  EXPECT_EQ(Text(grid, 1, 1), "No File");
  EXPECT_EQ(Text(grid, 2, 3), "3");
  for (int r = 0; r < 3; ++r) EXPECT_EQ(Text(grid, r, 2), "Once");
  EXPECT_EQ(Text(grid, 3, 2), "");
  EXPECT_EQ(window.SelectedMode(), "Once");

  // A click on a mode switches it; the row is selected with it.
  ClickCell(grid, 1, 2);
  EXPECT_EQ(Text(grid, 1, 2), "Batch");
  EXPECT_EQ(window.SelectedMode(), "Batch");
  ClickCell(grid, 1, 0);
  EXPECT_EQ(Text(grid, 1, 2), "Batch");
  QTest::keyClick(grid, Qt::Key_Space);
  EXPECT_EQ(Text(grid, 1, 2), "Once");
  QTest::keyClick(grid, Qt::Key_Space);
  EXPECT_TRUE(SaveScreenshot(window, "project-window"));
  // A row without a project runs nothing.
  ClickCell(grid, 6, 2);
  EXPECT_EQ(Text(grid, 6, 2), "");
  EXPECT_FALSE(window.SelectedMode());
  EXPECT_FALSE(window.Execute()->isEnabled());
  ClickCell(grid, 1, 0);
  EXPECT_TRUE(window.Execute()->isEnabled());

  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name).isEmpty());
  }
}

TEST(ProjectWindow, LeavingWithoutExecuteSetsTheCancelFlag) {
  Tproject_new window(nullptr);
  struct Case {
    const char* name;
    std::function<void(Tproject_new&)> leave;
    std::optional<std::string> mode;
  };
  const Case cases[] = {
      {"Execute", [](Tproject_new& w) { QTest::mouseClick(w.Execute(), Qt::LeftButton); }, "Once"},
      {"Escape", [](Tproject_new& w) { QTest::keyClick(&w, Qt::Key_Escape); }, std::nullopt},
      {"closed", [](Tproject_new& w) { w.close(); }, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WhenShown<Tproject_new>(c.leave);
    EXPECT_EQ(window.ShowModal(kProjects), c.mode);
    EXPECT_EQ(window.CancelFlag(), !c.mode.has_value());
  }
  // Without projects Execute cannot run anything.
  WhenShown<Tproject_new>([](Tproject_new& w) { w.ok_bClick(); });
  EXPECT_EQ(window.ShowModal({}), std::nullopt);
}

class ProjectPageTest : public AppTest {
 protected:
  void TearDown() override {
    periphery.reset();
    form.reset();
    projects.reset();
    AppTest::TearDown();
  }
  void Open() {
    Start();
    projects = std::make_unique<Projects>(*app);
    form = std::make_unique<TMainForm>(*app);
    periphery = std::make_unique<PeripheryWindows>(*app, *projects, *form);
    form->show();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
  std::unique_ptr<Projects> projects;
  std::unique_ptr<TMainForm> form;
  std::unique_ptr<PeripheryWindows> periphery;
};

TEST_F(ProjectPageTest, TheListShowsTheProjectsAndADoubleClickOpensOne) {
  Write("Select.ini", "[AMD]\r\nValue=1\r\n0001=AM29F010\r\nAM29F010=AM29F010.ini\r\n");
  Write("INI\\AM29F010.ini", kByteDevice);
  Write("Project.ini",
        "[1]\r\nVendor=AMD\r\nID=AM29F010\r\nProg=+E+P\r\n"
        "[2]\r\nVendor=AMD\r\nID=AM29F010\r\nSource=Samples\\a.hex\r\nProg=+V\r\n");
  Open();
  TProjectList* list = periphery->ProjectList();
  EXPECT_FALSE(periphery->ProjectPanel()->isVisible());
  ASSERT_EQ(list->rowCount(), 2);
  QStringList headers;
  for (int c = 0; c < 4; ++c) {
    headers << list->horizontalHeaderItem(c)->text();
    EXPECT_EQ(list->columnWidth(c), TProjectList::kColumnWidths[c]);
  }
  EXPECT_EQ(headers, QStringList({"Vendor", "Type", "Source", "Process"}));
  EXPECT_EQ(Text(list, 0, 2), "<empty>");
  EXPECT_EQ(Text(list, 1, 2), "Samples\\a.hex");
  EXPECT_EQ(Text(list, 1, 3), "+V");
  EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_TRUE(list->showGrid());
  periphery->ProjectPanel()->show();
  periphery->ProjectPanel()->raise();
  EXPECT_TRUE(SaveScreenshot(*form, "project-list"));

  const QRect cell = list->visualRect(list->model()->index(0, 1));
  DoubleClick(list->viewport(), cell.center());
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  EXPECT_THAT(Shown(), ::testing::IsEmpty());
  EXPECT_EQ(app->device().Name, "AM29F010");
  EXPECT_EQ(app->LoadPathText(), "No File");
  EXPECT_EQ(app->state().ProjectActive, 1);
  EXPECT_EQ(app->pictures().Page(), CopyPage::Edit);
  periphery->ProjectPanel()->hide();
}

TEST_F(ProjectPageTest, AboutOpensTheBoxAndTheVerifyListWaitsHidden) {
  Open();
  SkinStack* help = form->Stack("Help");
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isEnabled());
  EXPECT_TRUE(app->commands().projects);
  TVerify_error* verify = periphery->VerifyError();
  EXPECT_FALSE(verify->isVisible());
  EXPECT_EQ(verify->windowTitle(), "Verify Error");
  EXPECT_EQ(verify->BitBtn1()->text(), "STOP");
  verify->show();
  EXPECT_TRUE(SaveScreenshot(*verify, "verify-error"));
  QTest::mouseClick(verify->BitBtn2(), Qt::LeftButton);
  EXPECT_FALSE(verify->isVisible());

  bool shown = false;
  WhenShown<QDialog>([&](QDialog& box) {
    shown = box.windowTitle() == "About";
    box.accept();
  });
  EXPECT_TRUE(app->RunCommand(app->commands().about));
  EXPECT_TRUE(shown);
  // Gone with the windows: the toolbar's About has nothing to open.
  periphery.reset();
  EXPECT_FALSE(app->commands().about);
  EXPECT_FALSE(help->isEnabled());
}

}  // namespace
}  // namespace quenlet::testing
