// Quenlet: host program of the USB device programmer.
#include <QApplication>
#include <QStyleFactory>
#include <exception>
#include <memory>

#include "app/application.h"
#include "app/create_page.h"
#include "app/projects.h"
#include "platform/program_paths.h"
#include "programmer/backend_choice.h"
#include "ui/app/copy_page_wiring.h"
#include "ui/app/create_page_dialog.h"
#include "ui/app/device_dialog_host.h"
#include "ui/app/edit_page.h"
#include "ui/app/hardware_commands.h"
#include "ui/app/logo_window.h"
#include "ui/app/main_form.h"
#include "ui/app/periphery_windows.h"
#include "ui/app/qt_services.h"
#include "ui/buffer/load_save_windows.h"
#include "ui/buffer/progress_window.h"
#include "ui/buffer/show_sum_window.h"
#include "ui/controls/look.h"
#include "ui/device/option_commands.h"
#include "ui/platform/qt_file_chooser.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  // No display name: the window system would add it to every window's
  // caption ("Save File — Quenlet"), and the captions are the windows' own.
  QApplication::setApplicationName("quenlet");
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setFont(quenlet::look::LabelFont());

  quenlet::QtMessages messages;
  quenlet::QtEventPump pump;
  quenlet::ToneSound sound;
  quenlet::TProgressWindow progress;
  try {
    quenlet::Application app(quenlet::ExecutableDirectory(),
                             quenlet::ChooseUsbBackendFromEnvironment(),
                             quenlet::AppServices{messages, sound, pump, progress});
    // Before the window, which fills the project list when it is created.
    quenlet::Projects projects(app);
    quenlet::TMainForm window(app);
    // The splash, while the other windows are made.
    std::unique_ptr<quenlet::TLogo> logo;
    if (app.SplashType() != 0) {
      logo = std::make_unique<quenlet::TLogo>(app.paths().root(), messages);
      logo->show();
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    quenlet::EmbedBufferEditor(window);
    // The load and save dialogs, with the summary after a load.
    quenlet::TShowSum show_sum(&window);
    quenlet::QtFileChooser files(&window);
    quenlet::QtLoadSaveWindows load_save(&window, app.operations(), app, files, show_sum);
    app.SetLoadSaveWindows(&load_save);
    struct Detach {
      quenlet::Application& app;
      ~Detach() { app.SetLoadSaveWindows(nullptr); }
    } detach{app};
    quenlet::InstallCopyPage(app, window, files, load_save);
    quenlet::OptionCommands options(app, &window);
    quenlet::HardwareCommands hardware(app, window);
    messages.SetParent(&window);
    // One device dialog for the run, made before the first show.
    quenlet::DeviceDialogHost device_dialog(app, window);
    // The Create page's operations, over that dialog (the engineering
    // panel's Button14).
    quenlet::QtCreatePageDialog create_page_dialog(device_dialog, window);
    quenlet::CreatePage create_page(app, create_page_dialog);
    // The progress window opens over the main window, as its child dialog.
    progress.setParent(&window, progress.windowFlags());
    // Given back before the window goes, which would delete its children.
    struct GiveBack {
      QWidget& child;
      ~GiveBack() { child.setParent(nullptr); }
    } give_back{progress};
    quenlet::PeripheryWindows periphery(app, projects, window);
    logo.reset();
    QObject::connect(&window, &quenlet::TMainForm::Closed, &qt, &QApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
  } catch (const std::exception& e) {
    messages.ShowError(e.what());
    return 1;
  }
}
