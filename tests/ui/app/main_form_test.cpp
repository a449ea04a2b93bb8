// The main window on the offscreen platform, over the application object on
// a program folder of its own with the simulated unit.
#include "ui/app/main_form.h"
#include "ui/controls/status_lamp.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include "app/app_fixture.h"
#include "app/run_sequences.h"
#include "ui/app/bitmap_bytes.h"
#include "ui/app/skin_stack.h"
#include "ui/dialog_script.h"
#include "ui/screenshot.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class MainFormTest : public AppTest {
 protected:
  TMainForm& Open() {
    if (!app) Start();
    form = std::make_unique<TMainForm>(*app);
    form->show();
    Settle();  // the queued restore
    return *form;
  }
  void TearDown() override {
    form.reset();
    AppTest::TearDown();
  }
  SkinStack* Stack(const std::string& name) const {
    SkinStack* s = form->Stack(name);
    EXPECT_NE(s, nullptr) << name;
    return s;
  }

  std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormTest, FreshStartIsAFramelessFixedWindowOnTheCopyPage) {
  Open();
  EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(form->size(), QSize(554, 429));
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  EXPECT_EQ(form->windowTitle(), "Quenlet");
  EXPECT_TRUE(form->CopyPage()->isVisible());
  EXPECT_FALSE(form->EditPage()->isVisible());
  EXPECT_EQ(form->SumEdit()->text(), "00000000");
  EXPECT_EQ(form->CountLabel()->text(), "0");
  EXPECT_FALSE(form->Logo()->isVisible());
  EXPECT_TRUE(form->Box(RunBox::CheckBox1)->isChecked());
  EXPECT_FALSE(form->Box(RunBox::CheckBox5)->isChecked());
  EXPECT_TRUE(app->Restored());
  EXPECT_THAT(Shown(), IsEmpty());
  // Buttons whose windows come later are disabled; Exit is not.
  EXPECT_FALSE(Stack("Help")->isEnabled());
  EXPECT_FALSE(Stack("Multi")->isEnabled());
  EXPECT_TRUE(Stack("Exit")->isEnabled());
  for (const char* lamp : TMainForm::kLampNames) {
    ASSERT_NE(form->Lamp(lamp), nullptr) << lamp;
    EXPECT_EQ(form->Lamp(lamp)->size(), QSize(16, 16));
    // Silver and dark until something lights it.
    auto* led = qobject_cast<TALed*>(form->Lamp(lamp));
    ASSERT_NE(led, nullptr) << lamp;
    EXPECT_FALSE(led->Value());
    EXPECT_EQ(led->FalseColor(), TALed::kSilver);
  }
  EXPECT_TRUE(SaveScreenshot(*form, "main-fresh"));
}

TEST_F(MainFormTest, EveryClickablePictureIsANamedButtonThatAnswersPress) {
  Open();
  std::vector<std::string> names;
  for (QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(a, nullptr);
    SCOPED_TRACE(button->objectName().toStdString());
    EXPECT_FALSE(a->text(QAccessible::Name).isEmpty());
    EXPECT_TRUE(a->role() == QAccessible::Button || a->role() == QAccessible::CheckBox);
    ASSERT_NE(a->actionInterface(), nullptr);
    if (a->role() == QAccessible::Button && button->isEnabled()) {
      EXPECT_TRUE(
          a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
    names.push_back(a->text(QAccessible::Name).toStdString());
  }
  for (const char* expected : {"Parameters", "Options", "About", "Exit", "Erase", "Blank",
                               "Protect", "Run", "AutoRun", "Stop", "Checksum", "Sum", "Ok"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
  }
  // The read-only fields are named as well, by the caption beside them.
  for (QLineEdit* edit : form->findChildren<QLineEdit*>()) {
    if (!edit->isVisibleTo(form.get())) continue;
    EXPECT_FALSE(edit->accessibleName().isEmpty()) << edit->objectName().toStdString();
  }
  // The press action of assistive technology clicks, from the event loop
  // (a dialog it opens must not hold up the caller).
  int about = 0;
  app->commands().about = [&] { ++about; };
  form->Refresh();
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(Stack("Help"));
  ASSERT_TRUE(
      a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
  a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(about, 0);
  for (int waited = 0; about == 0 && waited < 2000; waited += 20) QTest::qWait(20);
  EXPECT_EQ(about, 1);
}

TEST_F(MainFormTest, HoverPressAndReleaseShowTheTwinsAndClickOnce) {
  Open();
  int about = 0;
  app->commands().about = [&] { ++about; };
  form->Refresh();
  SkinStack* help = Stack("Help");
  Hover(help);
  EXPECT_EQ(help->TopLayer(), "Help_Hint");
  Press(help);
  EXPECT_EQ(help->TopLayer(), "Help_Down");
  Release(help);
  Settle();
  EXPECT_EQ(about, 1);
  EXPECT_EQ(help->TopLayer(), "Help");
  // A press that leaves the button before its release is no click.
  Hover(help);
  Press(help);
  SendMouse(help, QEvent::MouseButtonRelease, QPoint(-20, -20), Qt::LeftButton, Qt::NoButton);
  Settle();
  EXPECT_EQ(about, 1);
  // Leaving the window gives the last picture its look back.
  Hover(Stack("Exit"));
  EXPECT_EQ(Stack("Exit")->TopLayer(), "Exit_Hint");
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(form.get(), &leave);
  EXPECT_EQ(Stack("Exit")->TopLayer(), "Exit");
}

TEST_F(MainFormTest, StepClicksReachTheirCommandWithThePictureClicked) {
  Write("INI\\AMD\\AM29F010.ini", kByteDevice);
  ChooseDevice("INI\\AMD\\AM29F010.ini");
  Open();
  std::vector<std::string> clicks;
  app->commands().step(Step::Type) = [&](Layer l) {
    clicks.push_back(l == Layer::h ? "type_h" : "type_n");
  };
  app->commands().step(Step::Erase) = [&](Layer l) {
    clicks.push_back(l == Layer::p ? "erace_p" : "erace_n");
  };
  SkinStack* type = Stack("type_n");
  Press(type);
  Release(type);
  Hover(type);  // the highlighted picture comes up and takes the next click
  EXPECT_EQ(type->TopLayer(), "type_h");
  Press(type);
  Release(type);
  app->pictures().Hide("erace_n");
  app->pictures().Hide("erace_h");
  app->pictures().Hide("erace_w");
  Press(Stack("erace_n"));
  Release(Stack("erace_n"));
  Settle();
  EXPECT_THAT(clicks, ElementsAre("type_n", "type_h", "erace_p"));
}

// Space, Enter and the press of assistive technology do at once what the
// mouse does by moving onto Type, Load or Save and clicking: the highlighted
// picture's command; the tile keeps its plain look.
TEST_F(MainFormTest, OneKeyOrPressActsOnTypeLoadAndSave) {
  Open();
  std::vector<std::string> clicks;
  for (Step step : {Step::Type, Step::Load, Step::Save}) {
    app->commands().step(step) = [&clicks, step](Layer l) {
      clicks.push_back(StepPictures::Name(step, l));
    };
  }
  const std::function<void(SkinStack*)> activations[] = {
      [](SkinStack* tile) { QTest::keyClick(tile, Qt::Key_Space); },
      [](SkinStack* tile) { QTest::keyClick(tile, Qt::Key_Return); },
      [](SkinStack* tile) {
        QAccessible::queryAccessibleInterface(tile)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QTest::qWait(150);  // the press clicks after 100 ms
      }};
  for (const auto& activate : activations) {
    for (const char* name : {"type_n", "load_n", "save_n"}) {
      SCOPED_TRACE(name);
      clicks.clear();
      activate(Stack(name));
      Settle();
      const std::string plain = name;
      EXPECT_THAT(clicks, ElementsAre(plain.substr(0, plain.size() - 1) + "h"));
      EXPECT_EQ(Stack(name)->TopLayer(), plain);
    }
  }
}

// What assistive technology (or a test from outside) reads of the Copy
// page: each step tile's state in its description, a step the device lacks
// disabled, and the result shown.
TEST_F(MainFormTest, TilesAndTheResultTellTheirStateToAssistiveTechnology) {
  Write("INI\\AMD\\AM29F010.ini", kByteDevice);  // no protect
  ChooseDevice("INI\\AMD\\AM29F010.ini");
  Open();
  auto read = [](QWidget* w, QAccessible::Text text) {
    return QAccessible::queryAccessibleInterface(w)->text(text).toStdString();
  };
  SkinStack* protect = Stack("secur_n");
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(protect);
  EXPECT_TRUE(a->state().disabled);
  EXPECT_FALSE(protect->isEnabled());
  EXPECT_FALSE(
      a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
  EXPECT_EQ(read(protect, QAccessible::Description), "not available for this device");
  EXPECT_FALSE(QAccessible::queryAccessibleInterface(Stack("erace_n"))->state().disabled);
  EXPECT_EQ(read(Stack("erace_n"), QAccessible::Description), "ready");
  EXPECT_EQ(read(form->ResultView(), QAccessible::Name), "Result");
  EXPECT_EQ(read(form->ResultView(), QAccessible::Description), "No result");

  StepPictures& p = app->pictures();
  for (Layer l : {Layer::n, Layer::h}) {
    p.Hide(Step::Erase, l);
    p.Hide(Step::Blank, l);
    p.Hide(Step::Program, l);
  }
  p.Hide(Step::Blank, Layer::w);
  p.Hide(Step::Program, Layer::w);
  p.Hide(Step::Program, Layer::p);
  p.Show(Indicator::Fail);
  form->Refresh();
  EXPECT_EQ(read(Stack("erace_n"), QAccessible::Description), "working");
  EXPECT_EQ(read(Stack("check_n"), QAccessible::Description), "passed");
  EXPECT_EQ(read(Stack("prog_n"), QAccessible::Description), "failed");
  EXPECT_EQ(read(form->ResultView(), QAccessible::Description), "Fail");
}

TEST_F(MainFormTest, DraggingTheBackgroundMovesTheWindowAndTheEditPageWithIt) {
  Open();
  app->EditClick();
  const QPoint start = form->pos();
  const QPoint editor = form->EditorHost()->mapToGlobal(QPoint(0, 0));
  const QPoint grip(100, 20);  // the name plate: background
  SendMouse(form.get(), QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton,
            start + grip);
  SendMouse(form.get(), QEvent::MouseMove, grip + QPoint(30, 20), Qt::NoButton, Qt::LeftButton,
            start + grip + QPoint(30, 20));
  SendMouse(form.get(), QEvent::MouseButtonRelease, grip + QPoint(30, 20), Qt::LeftButton,
            Qt::NoButton, start + grip + QPoint(30, 20));
  EXPECT_EQ(form->pos(), start + QPoint(30, 20));
  EXPECT_EQ(form->EditorHost()->mapToGlobal(QPoint(0, 0)), editor + QPoint(30, 20));
  // A move without the button held does not drag.
  SendMouse(form.get(), QEvent::MouseMove, grip + QPoint(60, 60), Qt::NoButton, Qt::NoButton,
            start + grip + QPoint(90, 80));
  EXPECT_EQ(form->pos(), start + QPoint(30, 20));
}

TEST_F(MainFormTest, PagesShowTheirOwnControls) {
  Open();
  app->EditClick();
  Settle();
  EXPECT_FALSE(form->CopyPage()->isVisible());
  EXPECT_TRUE(form->EditPage()->isVisible());
  EXPECT_TRUE(form->EditorHost()->isVisible());
  for (QWidget* copy_only :
       {static_cast<QWidget*>(form->Box(RunBox::CheckBox1)),
        static_cast<QWidget*>(form->Progress()), static_cast<QWidget*>(Stack("Run")),
        static_cast<QWidget*>(Stack("Stop")), static_cast<QWidget*>(Stack("AutoRun")),
        static_cast<QWidget*>(form->SumEdit())}) {
    EXPECT_FALSE(copy_only->isVisible()) << copy_only->objectName().toStdString();
  }
  EXPECT_TRUE(Stack("CheckSum")->isVisible());
  EXPECT_TRUE(SaveScreenshot(*form, "main-edit"));
  // Ok leaves the editor for the Copy page.
  Press(Stack("EditOk_Image"));
  Release(Stack("EditOk_Image"));
  Settle();
  EXPECT_TRUE(form->CopyPage()->isVisible());
  EXPECT_TRUE(form->Box(RunBox::CheckBox1)->isVisible());
  EXPECT_EQ(app->state().ProcessFlags[0], 1);
}

TEST_F(MainFormTest, RunBoxesAndTheModelFollowEachOther) {
  Open();
  form->Box(RunBox::CheckBox5)->click();
  EXPECT_TRUE(app->pictures().BoxTicked(RunBox::CheckBox5));
  app->pictures().TickBox(RunBox::CheckBox1, false);
  app->pictures().EnableBox(RunBox::CheckBox2, false);
  // Drawn on the next turn of the event loop.
  Settle();
  EXPECT_FALSE(form->Box(RunBox::CheckBox1)->isChecked());
  EXPECT_FALSE(form->Box(RunBox::CheckBox2)->isEnabled());
  app->pictures().SetSum("1234ABCD");
  app->pictures().SetSumColour(SumColour::Red);
  Settle();
  EXPECT_EQ(form->SumEdit()->text(), "1234ABCD");
  EXPECT_EQ(form->SumEdit()->palette().color(QPalette::Text), QColor(255, 0, 0));
}

TEST_F(MainFormTest, ScreenshotsOfAStepAtWorkAPassAndAFailure) {
  Write("INI\\AMD\\AM29F010.ini", kByteDevice);
  ChooseDevice("INI\\AMD\\AM29F010.ini", "+E+C+P+V");
  // A manufacturer stored in Big5, as older device libraries have them.
  History().WriteString("SelectDlg", "Manufacturer", "AMD \xA4\xA4\xA4\xE5");
  Open();
  StepPictures& p = app->pictures();
  EXPECT_EQ(form->findChild<QLabel*>("SelectedType0")->text().toStdString(), "AMD 中文");
  EXPECT_EQ(form->findChild<QLabel*>("SelectedType1")->text(), "AM29F010");
  // Erase passed, blank check at work.
  p.Hide(Step::Erase, Layer::n);
  p.Hide(Step::Erase, Layer::h);
  p.Hide(Step::Erase, Layer::w);
  p.Hide(Step::Blank, Layer::n);
  p.Hide(Step::Blank, Layer::h);
  p.Hide(Indicator::Pass);
  p.Show(Indicator::Wait);
  p.SetProgressPosition(50);
  EXPECT_EQ(form->ResultView()->TopLayer(), "Wait");
  Settle();
  EXPECT_TRUE(SaveScreenshot(*form, "main-working"));
  // Every ticked step passed.
  for (Step s : {Step::Blank, Step::Program, Step::Verify}) {
    for (Layer l : {Layer::n, Layer::h, Layer::w}) p.Hide(s, l);
  }
  p.Show(Indicator::Pass);
  p.SetProgressPosition(100);
  app->state().PassCount = 12;
  app->pictures().SetSum("0001FE00");
  Settle();
  EXPECT_EQ(form->ResultView()->TopLayer(), "Pass");
  EXPECT_EQ(form->CountLabel()->text(), "12");
  EXPECT_TRUE(SaveScreenshot(*form, "main-pass"));
  // Program failed and the run was stopped.
  p.Hide(Step::Program, Layer::p);
  p.Hide(Step::Verify, Layer::p);
  p.Show(Step::Verify, Layer::n);
  p.Hide(Indicator::Pass);
  p.Hide(Indicator::Wait);
  p.Show(Indicator::Fail);
  p.SetSumColour(SumColour::Red);
  EXPECT_EQ(form->ResultView()->TopLayer(), "Fail");
  EXPECT_EQ(form->findChild<SkinStack*>("prog_n")->TopLayer(), "prog_f");
  Settle();
  EXPECT_TRUE(SaveScreenshot(*form, "main-fail"));
}

// Changes are drawn together on the next turn of the event loop; while an
// operation runs, whose pages let the loop run only now and then, they are
// drawn at once, no oftener than every 50 ms.
TEST_F(MainFormTest, ChangesAreDrawnTogetherAndWhileBusyAtMostEveryInterval) {
  Open();
  auto now = RepaintThrottle::Clock::now();
  form->SetClock([&now] { return now; });
  QProgressBar* bar = form->Progress();
  app->pictures().SetProgressMax(100);
  app->pictures().SetProgressPosition(5);
  app->pictures().SetSum("00000005");
  EXPECT_NE(bar->value(), 5);
  Settle();
  EXPECT_EQ(bar->value(), 5);
  EXPECT_EQ(form->SumEdit()->text(), "00000005");

  OperationGuard operation(app->operations().lock);
  now += RepaintThrottle::kInterval;
  app->pictures().SetProgressPosition(10);
  EXPECT_EQ(bar->value(), 10);
  now += RepaintThrottle::kInterval / 5;
  app->pictures().SetProgressPosition(20);
  EXPECT_EQ(bar->value(), 10);
  now += RepaintThrottle::kInterval;
  app->pictures().SetProgressPosition(30);
  EXPECT_EQ(bar->value(), 30);
}

TEST_F(MainFormTest, RestoreRunsOnceAfterTheFirstShow) {
  Start();
  form = std::make_unique<TMainForm>(*app);
  form->show();
  EXPECT_FALSE(app->Restored());  // queued: the window is up first
  Settle();
  EXPECT_TRUE(app->Restored());
  const size_t identifications = sim->unit().log().size();
  form->hide();
  form->show();
  form->showMinimized();
  form->showNormal();
  Settle();
  EXPECT_EQ(sim->unit().log().size(), identifications);
}

// A click the window took just before the start-up restore began is on its
// way through the queue when the restore lets the queue run: it runs after
// the restore, not inside it.
TEST_F(MainFormTest, AnAutoRunTakenBeforeTheRestoreRunsAfterIt) {
  Write("INI\\AMD\\AM29F010.ini", kByteDevice);
  ChooseDevice("INI\\AMD\\AM29F010.ini", "+E");
  Start();
  InstallRunSequences(*app);
  // The operations let the queue run, as the program's own pump does.
  pump.on_pump = [](int) { QCoreApplication::processEvents(); };
  form = std::make_unique<TMainForm>(*app);
  form->show();
  SkinStack* auto_run = Stack("AutoRun");
  Hover(auto_run);
  Press(auto_run);
  Release(auto_run);
  EXPECT_FALSE(app->Restored());
  Settle();
  EXPECT_TRUE(app->Restored());
  EXPECT_EQ(app->state().PassCount, 1u);
  EXPECT_TRUE(app->pictures().Visible(Indicator::Pass));
  pump.on_pump = nullptr;
}

TEST_F(MainFormTest, WindowCloseAsksTheExitQuestion) {
  Open();
  QSignalSpy closed(form.get(), &TMainForm::Closed);
  messages.answers = {MessageResult::No};
  form->close();  // the window manager's close (Alt+F4)
  Settle();
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "Exit Program?");
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(form->isEnabled());
  EXPECT_EQ(closed.count(), 0);

  // While a command runs the close does nothing at all.
  app->commands().run = [&] {
    form->close();
    Settle();
  };
  app->RunCommand(app->commands().run);
  EXPECT_EQ(messages.boxes.size(), 1u);
  EXPECT_TRUE(form->isVisible());

  // Exit, Yes: the steps are stored and the window goes.
  messages.answers = {MessageResult::Yes};
  Press(Stack("Exit"));
  Release(Stack("Exit"));
  Settle();
  EXPECT_EQ(messages.boxes.size(), 2u);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_EQ(History().ReadString("SelectDlg", "ProcessMode", ""), "+E+C+P+V");
}

TEST_F(MainFormTest, AnotherModelClosesTheWindowWithoutAQuestion) {
  before_start = [](SimulatedBackend& s) { s.unit().SetModel("OTHER-UNIT"); };
  Start();
  form = std::make_unique<TMainForm>(*app);
  QSignalSpy closed(form.get(), &TMainForm::Closed);
  form->show();
  Settle();
  EXPECT_THAT(messages.texts(), ElementsAre("Please connect Quenlet unit"));
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_EQ(History().ReadString("SelectDlg", "ProcessMode", "unset"), "unset");
}

TEST_F(MainFormTest, LogoShowsOnlyWhenItDecodes) {
  // A 2 x 1 bitmap of ours, stored with its header at the end.
  QImage image(2, 1, QImage::Format_RGB32);
  image.fill(Qt::red);
  QByteArray bmp;
  QBuffer out(&bmp);
  out.open(QIODevice::WriteOnly);
  image.save(&out, "BMP");
  const std::string bitmap(bmp.constData(), bmp.size());
  History().WriteString("System", "Symbol", "1");
  Write("Temp0.cue", bitmap.substr(54) + bitmap.substr(0, 54));
  Open();
  EXPECT_TRUE(form->Logo()->isVisible());
  // Clear of the name plate's text and of the toolbar tiles.
  EXPECT_GE(form->Logo()->x(), 160);
  EXPECT_LE(form->Logo()->geometry().right(), Stack("Multi")->x());
  // A header of nothing, and an 8-bit picture cut short (72 bytes: four
  // colours and 2 of its 16 pixel bytes).
  for (const std::string& damaged :
       {std::string(54, 'x'), LogoFile(Bitmap(4, 4, 8, 4, std::string(2, '\x01')))}) {
    form.reset();
    app.reset();
    Write("Temp0.cue", damaged);
    Open();
    EXPECT_FALSE(form->Logo()->isVisible());
    EXPECT_THAT(Shown(), IsEmpty());
  }
}

TEST_F(MainFormTest, PicturesAreDrawnAtThePixelRatioAndSkinFilesTakeTheirPlace) {
  Start();
  SkinPictures pictures(dir_.string());
  const QPixmap& sharp = pictures.Picture("Help", 2.0);
  EXPECT_EQ(sharp.size(), QSize(128, 88));
  EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
  EXPECT_EQ(pictures.Picture("erace_p", 1.0).size(), SkinPictures::kStepTileSize);
  EXPECT_TRUE(pictures.Picture("no such picture", 1.0).isNull());
  // Every picture of every stack is drawn, and none is empty.
  for (const std::string& name : pictures.Names()) {
    const QImage drawn = pictures.Picture(name, 1.0).toImage();
    ASSERT_FALSE(drawn.isNull()) << name;
    EXPECT_NE(drawn.pixelColor(drawn.width() / 2, drawn.height() / 2).alpha() +
                  drawn.pixelColor(1, drawn.height() / 2).alpha(),
              0)
        << name;
  }
  // skin/Help.png replaces the drawn picture, scaled to its place.
  QImage green(10, 10, QImage::Format_RGB32);
  green.fill(QColor(0, 200, 0));
  std::filesystem::create_directories(dir_ / "skin");
  ASSERT_TRUE(green.save(QString::fromStdString(Path("skin/Help.png")), "PNG"));
  SkinPictures skinned(dir_.string());
  EXPECT_TRUE(skinned.Overridden("Help"));
  const QImage help = skinned.Picture("Help", 1.0).toImage();
  EXPECT_EQ(help.size(), SkinPictures::kToolbarTileSize);
  EXPECT_EQ(help.pixelColor(30, 20), QColor(0, 200, 0));
}

}  // namespace
}  // namespace quenlet::testing
