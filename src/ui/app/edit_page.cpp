#include "ui/app/edit_page.h"

#include "app/application.h"
#include "buffer/load_pipeline.h"
#include "buffer/save_pipeline.h"
#include "ui/app/main_form.h"
#include "ui/buffer/buffer_dialogs.h"
#include "ui/buffer/main_edit.h"
#include "ui/controls/input_gate.h"

namespace quenlet {

TMainEdit* EmbedBufferEditor(TMainForm& window) {
  Application& app = window.app();
  auto* editor =
      new TMainEdit(app.buffer(), app.state(), app.messages(), app.progress(), window.EditorHost());
  editor->move(0, 0);

  // The commands themselves, as the page's buttons run them: the page's
  // button is already inside the busy gate.
  TMainEdit::Commands work;
  work.LoadFile = [&app] {
    LoadSaveContext context = app.LoadSave();
    LoadFileClick(context);
  };
  work.SaveFile = [&app] {
    LoadSaveContext context = app.LoadSave();
    SaveFileClick(context);
  };
  AddBufferDialogCommands(work, app.operations(), &window);

  // The popup's items pass the gate first.
  auto gated = [&app](std::function<void()> command) {
    return [&app, command = std::move(command)] { app.RunCommand(command); };
  };
  editor->SetCommands({gated(work.LoadFile), gated(work.SaveFile), gated(work.GetSum),
                       gated(work.FillData), gated(work.Block), gated(work.Resize)});

  // Typing, the swap buttons and the Data Set items change the buffer
  // without a dialog: they act only when the window's input gate lets input
  // into the editor (a press of assistive technology posts no input event
  // that the gate could drop).
  editor->SetBufferGate([&window, editor] { return window.Gate().Admits(editor); });

  ShellCommands& shell = app.commands();
  auto page = [&app, editor](std::function<void()> command) {
    return [&app, editor, command = std::move(command)] {
      // A window without a buffer takes no command.
      if (!app.buffer().HasBuffer()) return;
      command();
      editor->MainEditPageChange();
    };
  };
  shell.edit_sum = page(work.GetSum);
  shell.edit_block = page(work.Block);
  shell.edit_fill = page(work.FillData);
  shell.refresh_editor = [editor] { editor->RefreshView(); };
  QObject::connect(editor, &QObject::destroyed, [&shell] {
    shell.edit_sum = nullptr;
    shell.edit_block = nullptr;
    shell.edit_fill = nullptr;
    shell.refresh_editor = nullptr;
  });
  window.Refresh();
  return editor;
}

}  // namespace quenlet
