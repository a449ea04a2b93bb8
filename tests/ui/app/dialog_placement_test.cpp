// Where every dialog of the program opens, each through the command that
// opens it in the program, over the main window on a small screen (1024 x
// 600, the main window centred and in a corner) and on a large one (2560 x
// 1440 at 2x): by the placement rule, wholly inside the screen, and inside
// the main window's frame unless it is larger. Pictures of each over the
// main window go to build/screenshots/placement_<dialog>@1x.png and @2x.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QPainter>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/app_fixture.h"
#include "app/projects.h"
#include "ui/app/about_box.h"
#include "ui/app/device_dialog_host.h"
#include "ui/app/edit_page.h"
#include "ui/app/hardware_commands.h"
#include "ui/app/main_form.h"
#include "ui/app/periphery_windows.h"
#include "ui/app/project_new.h"
#include "ui/app/qt_services.h"
#include "ui/buffer/block_dialog_window.h"
#include "ui/buffer/fill_sum_dialog_windows.h"
#include "ui/buffer/load_dialog_window.h"
#include "ui/buffer/load_save_windows.h"
#include "ui/buffer/main_edit.h"
#include "ui/buffer/pal_fill_dialog.h"
#include "ui/buffer/progress_window.h"
#include "ui/buffer/save_dialog_window.h"
#include "ui/buffer/show_sum_window.h"
#include "ui/controls/look.h"
#include "ui/controls/message_box_window.h"
#include "ui/controls/window_placement.h"
#include "ui/device/option_commands.h"
#include "ui/device/option_page_window.h"
#include "ui/device/select_ic_dialog.h"
#include "ui/dialog_script.h"
#include "ui/offscreen_screens.h"
#include "ui/platform/qt_file_chooser.h"
#include "ui/programmer/engineering_panel_widget.h"
#include "ui/programmer/hardware_option_window.h"
#include "ui/screenshot.h"

namespace quenlet::testing {
namespace {

class DialogPlacementTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    Write("INI\\AMD\\AM29F010.ini", kByteDevice);
    ChooseDevice("INI\\AMD\\AM29F010.ini");
    Start();
    projects = std::make_unique<Projects>(*app);
    form = std::make_unique<TMainForm>(*app);
    editor = EmbedBufferEditor(*form);
    show_sum = std::make_unique<TShowSum>(form.get());
    load_save = std::make_unique<QtLoadSaveWindows>(form.get(), app->operations(), *app, files,
                                                    *show_sum, Path("quenlet.ini"));
    app->SetLoadSaveWindows(load_save.get());
    options = std::make_unique<OptionCommands>(*app, form.get());
    hardware = std::make_unique<HardwareCommands>(*app, *form);
    device_dialog = std::make_unique<DeviceDialogHost>(*app, *form);
    periphery = std::make_unique<PeripheryWindows>(*app, *projects, *form);
    qt_messages.SetParent(form.get());
    form->show();
    Settle();  // the queued restore
  }
  void TearDown() override {
    app->SetLoadSaveWindows(nullptr);
    periphery.reset();
    device_dialog.reset();
    hardware.reset();
    options.reset();
    load_save.reset();
    show_sum.reset();
    form.reset();
    projects.reset();
    AppTest::TearDown();
  }

  void Trigger(const char* item) { editor->PopupMenu()->findChild<QAction*>(item)->trigger(); }

  // The main window and `window` as they stand on the screen, the desktop
  // around them, at the screen's pixel ratio.
  void Picture(QWidget& window, const QString& name) {
    const QRect work = PlacementWorkArea(WindowPlacement::OverMainWindow(form.get()));
    const QRect area =
        form->frameGeometry().united(window.frameGeometry()).adjusted(-16, -16, 16, 16) & work;
    const qreal ratio = form->devicePixelRatioF();
    QImage image(area.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(0x10, 0x14, 0x18));
    QPainter p(&image);
    p.drawPixmap(form->geometry().topLeft() - area.topLeft(), form->grab());
    p.drawPixmap(window.geometry().topLeft() - area.topLeft(), window.grab());
    p.end();
    SaveScreenshot(image, QString("placement_%1@%2x").arg(name).arg(ratio));
  }

  // Where the window came, against the rule for `how`, and its edge in the
  // frame colour, which keeps it apart from the main window without a
  // window manager's frame.
  void Check(QWidget& window, const WindowPlacement& how) {
    const QImage shot = window.grab().toImage();
    for (const QPoint at :
         {QPoint(0, shot.height() / 2), QPoint(shot.width() - 1, shot.height() / 2),
          QPoint(shot.width() / 2, shot.height() - 1)}) {
      EXPECT_EQ(shot.pixelColor(at).rgb(), look::kFrameBottom.rgb()) << "no edge";
    }
    const QRect work = PlacementWorkArea(WindowPlacement::OverMainWindow(form.get()));
    const QRect main = form->frameGeometry();
    const QRect frame = window.frameGeometry();
    EXPECT_EQ(frame, PlacedFrame(frame.size(), work, main, how));
    EXPECT_TRUE(work.contains(frame)) << "past the screen";
    if (!how.on_screen && frame.width() <= main.width() && frame.height() <= main.height()) {
      EXPECT_TRUE(main.contains(frame)) << "past the main window";
    }
  }

  // Opens the modal Dialog through `open`, checks where it came (and takes
  // its picture) and closes it.
  template <class Dialog>
  void Opens(const char* name, const WindowPlacement& how, const std::function<void()>& open) {
    SCOPED_TRACE(name);
    bool seen = false;
    WhenShown<Dialog>(
        [&](Dialog& dialog) {
          Settle();  // the frame comes after the window shows
          Check(dialog, how);
          if (pictures) Picture(dialog, name);
        },
        &seen);
    open();
    EXPECT_TRUE(seen);
    Settle();
  }

  void OpenEveryDialog() {
    QWidget* main = form.get();
    using P = WindowPlacement;
    Opens<TLoadDlg>("load_dialog", P::AtOffset(main, QtLoadSaveWindows::kLoadDialogOffset),
                    [&] { load_save->RunLoadDialog(std::nullopt); });
    Opens<TLoadSaveDlg>("save_dialog", P::OverMainWindow(main),
                        [&] { load_save->RunSaveDialog(); });
    Opens<TBlockDialog>("block_dialog", P::OverMainWindow(main), [&] { Trigger("Block"); });
    Opens<TResizeBufDialog>("resize_dialog", P::OverMainWindow(main), [&] { Trigger("Resize"); });
    Opens<TFillDataDialog>("fill_dialog", P::OverMainWindow(main), [&] { Trigger("FillData"); });
    Opens<TGetSumDialog>("checksum_dialog", P::OverMainWindow(main), [&] { Trigger("GetSum"); });
    Opens<TShowSum>("check_sum_summary", P::OverMainWindow(main),
                    [&] { load_save->ShowSummaryModal(); });
    Opens<TSelectICDialog>("device_dialog", P::AtOffset(main, DeviceDialogHost::kDialogOffset),
                           [&] { device_dialog->TypeClick(Layer::h); });
    Opens<TCurrentPageForm>("option_window",
                            P::AtOffset(main, TCurrentPageForm::kOptionWindowOffset),
                            [&] { app->commands().parameters(); });
    Opens<THardWare_Option>("hardware_option", P::AtOffset(main, HardwareCommands::kWindowOffset),
                            [&] { hardware->Setup_HintClick(); });
    Opens<TAboutBox>("about_box", P::AtOffset(main, TAboutBox::kOffset),
                     [&] { app->commands().about(); });
    Opens<Tproject_new>("project_window", P::AtOffset(main, Tproject_new::kOffset),
                        [&] { periphery->ProjectWindow()->ShowModal({}); });
    Opens<TPalFillDataForm>("fuse_fill_dialog", P::OverMainWindow(main), [&] {
      TPalFillDataForm dialog(main);
      dialog.exec();
    });
    Opens<MessageBoxWindow>("message_box", P::OverMainWindow(main), [&] {
      qt_messages.Box("Exit Program?", "Exit:", MessageButtons::YesNo, MessageIcon::Question);
    });
    Opens<QInputDialog>("input_box", P::OverMainWindow(main),
                        [&] { QtInputBox(hardware->PanelWidget()).Ask("Input", "Addr", "0"); });
    Opens<QFileDialog>("file_chooser", P::OverMainWindow(main), [&] {
      QtFileChooser chooser(main);
      FileDialogRequest request;
      request.initial_dir = Path("");
      chooser.ChooseOpen(request);
    });

    // The progress window of its own, centred on the main window's screen.
    TProgressWindow progress_window(main);
    progress_window.Show();
    Settle();
    Check(progress_window, WindowPlacement::OnScreen(main));
    progress_window.Close();
  }

  // The main window at `corner` of the screen's work area, or centred.
  void PutMainWindow(QScreen* screen, bool corner) {
    const QRect work = screen->availableGeometry();
    const QPoint at =
        corner ? work.bottomRight() - QPoint(form->width() - 1, form->height() - 1)
               : PlacedFrame(form->size(), work, QRect(), WindowPlacement::OnScreen()).topLeft();
    form->move(at);
    Settle();
    ASSERT_EQ(form->screen(), screen);
  }

  std::unique_ptr<Projects> projects;
  std::unique_ptr<TMainForm> form;
  TMainEdit* editor = nullptr;
  std::unique_ptr<TShowSum> show_sum;
  FakeFileChooser files;
  std::unique_ptr<QtLoadSaveWindows> load_save;
  std::unique_ptr<OptionCommands> options;
  std::unique_ptr<HardwareCommands> hardware;
  std::unique_ptr<DeviceDialogHost> device_dialog;
  std::unique_ptr<PeripheryWindows> periphery;
  QtMessages qt_messages;
  bool pictures = false;
};

TEST_F(DialogPlacementTest, OnASmallScreen) {
  PutMainWindow(SmallScreen(), false);
  pictures = true;
  OpenEveryDialog();
  pictures = false;
  // In the screen's corner, the dialogs that would run past it move in.
  PutMainWindow(SmallScreen(), true);
  OpenEveryDialog();
}

TEST_F(DialogPlacementTest, OnALargeScreenAtTwiceThePixels) {
  PutMainWindow(LargeScreen(), false);
  pictures = true;
  OpenEveryDialog();
}

}  // namespace
}  // namespace quenlet::testing
