#pragma once
// What the main window's buttons do, as plain commands the later windows
// fill in, each in its own file (app.commands().about = ...). An empty
// command leaves its button disabled or doing nothing. The application
// object runs every command through its busy gate: while one command or a
// device operation runs, the others do nothing (only Stop acts), and nothing
// runs while the program is exiting.
#include <array>
#include <functional>

#include "programmer/step_pictures.h"

namespace quenlet {

struct ShellCommands {
  // --- toolbar ---------------------------------------------------------------
  std::function<void()> parameters;  // "Parameters" (Multi_HintClick): device parameters
  std::function<void()> options;     // "Options" (Setup): the hardware-option window
  std::function<void()> about;       // "About" (Help_HintClick)
  std::function<void()> projects;    // project window (ProjectBtnClick); no button in this layout

  // --- Copy page --------------------------------------------------------------
  // A click on a step picture, with the picture that took it: the Type step
  // gets Layer::n for type_n and Layer::h for type_h, Erase gets n, p or f
  // for erace_n, erace_p, erace_f, and so on.
  std::array<std::function<void(Layer)>, static_cast<int>(Step::Count)> steps;
  std::function<void(Layer)>& step(Step s) { return steps[static_cast<int>(s)]; }
  const std::function<void(Layer)>& step(Step s) const { return steps[static_cast<int>(s)]; }

  std::function<void()> run;       // Run (Run_HintClick)
  std::function<void()> auto_run;  // AutoRun (AutoRun_HintClick)
  std::function<void()> stop;      // Stop (Stop_HintClick): the one command that acts while busy
  std::function<void()> zero_counter;  // the pass counter's reset (ZeroBtnClick)
  std::function<void()> checksum;      // the checksum button beside the sum (v_HintClick)
  // The engineering panel's hidden trigger (Image6): double click shows the
  // panel, a single click hides it. The Copy page also hides it.
  std::function<void()> engineering_show;
  std::function<void()> engineering_hide;
  // The Create page's type button (CreateTypeBtnClick), which the
  // engineering panel carries as Button14.
  std::function<void()> create_type;

  // --- Edit page --------------------------------------------------------------
  std::function<void()> edit_sum;    // Sum (CheckSumClick)
  std::function<void()> edit_block;  // Block (BlockClick)
  std::function<void()> edit_fill;   // Fill (FillClick)

  // --- start-up and the windows around the buffer -----------------------------
  // Fills the project list; run once when the main window is created.
  std::function<void()> load_project_list;
  // The restore of a fuse device: creates the fuse-map editor (a frameless
  // child of the main window at top + 54, left + 96) and lets it allocate its
  // map. An exception it throws is shown and start-up goes on.
  std::function<void()> create_fuse_editor;
  // The hex editor draws the buffer again (after a device read, a load, ...).
  std::function<void()> refresh_editor;
};

}  // namespace quenlet
