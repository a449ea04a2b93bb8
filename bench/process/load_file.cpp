// The program's load path as a whole process, for comparison with other
// tools on the same files: loads one file through the editor's Load command
// (the load dialog scripted: the whole file, fill 0xFF around the data, or
// none with "nofill") into a new buffer, and says what it placed.
//
//   quenlet_load_file FILE FORMAT [nofill]     FORMAT 3 binary, 4 Intel HEX,
//                                              5 Motorola, 6 Tektronix
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "buffer/binary_file.h"
#include "buffer/data_buffer.h"
#include "buffer/load_pipeline.h"
#include "platform/program_paths.h"
#include "platform/user_interfaces.h"
#include "state/main_form_state.h"
#include "support/fake_load_save_windows.h"
#include "support/fakes.h"

int main(int argc, char** argv) {
  using namespace quenlet;
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FILE FORMAT [nofill]\n", argv[0]);
    return 2;
  }
  const std::string file = argv[1];
  const int32_t format = std::atoi(argv[2]);
  const std::optional<uint8_t> fill =
      argc > 3 && std::string(argv[3]) == "nofill" ? std::nullopt : std::optional<uint8_t>(0xFF);
  std::string pattern = (std::filesystem::temp_directory_path() / "quenlet-load-XXXXXX");
  const std::filesystem::path root = ::mkdtemp(pattern.data());
  const std::string history = (root / "History_1.ini").string();

  DataBuffer buffer;
  buffer.SetHistoryIniPath(history);
  MainFormState state;
  const ProgramPaths paths(root.string() + "/");
  testing::FakeMessages messages;
  NullProgress progress;
  testing::FakeLoadSaveWindows windows;
  const uint64_t size = GetFileLength(file);
  windows.on_load_dialog = [&] {
    testing::WriteLoadDialog(history, buffer, file, size - 1, format, fill);
    return true;
  };
  LoadSaveContext context{buffer, state, paths, messages, progress, windows};
  const bool loaded = LoadFileClick(context);
  std::filesystem::remove_all(root);
  for (const auto& box : messages.boxes) std::fprintf(stderr, "%s\n", box.text.c_str());
  if (!loaded) return 1;
  std::printf("file end %d, BufSize %u, file sum %08X\n", buffer.FileSize(), buffer.BufSize(),
              windows.summary.file_sum);
  return 0;
}
