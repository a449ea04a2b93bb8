#pragma once
// A program directory of a test's own: files put in by relative path (folders
// made on the way), and a recording document opener.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/document_opener.h"
#include "platform/program_paths.h"
#include "support/temp_dir.h"

namespace quenlet::testing {

class ProgramDirTest : public TempDirTest {
 protected:
  // `relative` with '/' between folders.
  void Put(const std::string& relative, std::string_view text) {
    const std::filesystem::path path = dir_ / relative;
    std::filesystem::create_directories(path.parent_path());
    WriteFile(path, text);
  }
  std::string Root() const { return dir_.string() + "/"; }
  ProgramPaths Paths() const { return ProgramPaths(Root()); }
};

class FakeDocumentOpener : public DocumentOpener {
 public:
  bool Open(const std::string& path) override {
    opened.push_back(path);
    return opens;
  }
  std::vector<std::string> opened;
  bool opens = true;
};

}  // namespace quenlet::testing
