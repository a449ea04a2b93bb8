#include "ui/device/option_commands.h"

#include "app/application.h"
#include "ui/device/option_page_window.h"

namespace quenlet {

OptionCommands::OptionCommands(Application& app, QWidget* main_window)
    : app_(app), reads_(app.operations(), app.paths()), pic_(app.paths(), app.messages()) {
  app.commands().parameters = [&app, main_window] {
    ShowDeviceParameters(
        OptionWindowContext{app.state(), app.device(), app.buffer(), app.messages(), app.paths()},
        main_window);
  };
  app.operations().option_pages = &reads_;
  app.SetPicLoadHooks(&pic_);
}

OptionCommands::~OptionCommands() {
  app_.commands().parameters = nullptr;
  app_.operations().option_pages = nullptr;
  app_.SetPicLoadHooks(nullptr);
}

}  // namespace quenlet
