#pragma once
// The device option pages and the PIC load path plugged into the program:
// the main window's Parameters command opens the option window (one window
// per showing), the device reads unpack the programmer's option block into
// temp.ini, and the load of a PIC device sums and decodes it.
//
//   TMainForm window(app);
//   OptionCommands options(app, &window);   // for as long as the window lives
#include "buffer/pic_sum.h"
#include "programmer/option_page_reads.h"

class QWidget;

namespace quenlet {

class Application;

class OptionCommands {
 public:
  OptionCommands(Application& app, QWidget* main_window);
  ~OptionCommands();
  OptionCommands(const OptionCommands&) = delete;
  OptionCommands& operator=(const OptionCommands&) = delete;

 private:
  Application& app_;
  OptionPageReads reads_;
  PicSumHooks pic_;
};

}  // namespace quenlet
