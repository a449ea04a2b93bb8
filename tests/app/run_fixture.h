#pragma once
// The application on a program folder holding the sample library's devices
// and support files, with the run sequences installed: what the wire saw,
// by operation, and what the operator heard.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/run_sequences.h"
#include "app_fixture.h"
#include "programmer/protocol.h"

namespace quenlet::testing {

class RunTest : public AppTest {
 protected:
  // The sample library's device files, support files and samples, as the
  // build lays them beside the executable.
  void CopyLibrary() {
    const std::filesystem::path from(QUENLET_PROGRAM_DIR);
    for (const char* folder : {"INI", "FPGA", "Samples"}) {
      std::filesystem::copy(from / folder, dir_ / folder,
                            std::filesystem::copy_options::recursive |
                                std::filesystem::copy_options::overwrite_existing);
    }
    for (const auto& entry : std::filesystem::directory_iterator(from)) {
      const std::string ext = entry.path().extension().string();
      if (entry.is_regular_file() && (ext == ".DRV" || ext == ".drv")) {
        std::filesystem::copy_file(entry.path(), dir_ / entry.path().filename(),
                                   std::filesystem::copy_options::overwrite_existing);
      }
    }
  }
  // Starts on the sample device INI/<name>.ini with `process_mode` ticks.
  Application& StartWith(const std::string& name, const std::string& process_mode) {
    CopyLibrary();
    ChooseDevice("INI/" + name + ".ini", process_mode);
    StartAndShow();
    InstallRunSequences(*app);
    Forget();
    return *app;
  }
  // What was sent and heard from now on only.
  void Forget() {
    sim->unit().log().Clear();
    sound.beeps.clear();
    messages.boxes.clear();
  }

  std::vector<std::string> Transfers() const { return sim->unit().log().TransferLines(); }
  bool Shows(Indicator indicator) const { return app->pictures().Visible(indicator); }
};

}  // namespace quenlet::testing
