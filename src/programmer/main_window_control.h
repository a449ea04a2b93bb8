#pragma once
// What the programmer link changes in the main window itself. The
// application implements it.
namespace quenlet {

class MainWindowControl {
 public:
  virtual ~MainWindowControl() = default;
  // Closes the main window, which ends the program (another programmer model).
  virtual void Close() = 0;
  // The engineering panel's "Read SRAM" and "Write SRAM" buttons follow
  // every reconnect: enabled when the unit answered, disabled when not.
  virtual void SetSramButtonsEnabled(bool enabled) = 0;
};

}  // namespace quenlet
