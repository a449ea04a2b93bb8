#pragma once
// Paths as the device and settings files store them (backslashes, Windows
// case, "INI\x.ini", "\ini\x.ini", or the program directory followed by such
// a tail) resolved to real files below the program directory.
#include <optional>
#include <string>

namespace quenlet {

// Path of the running executable; empty when it cannot be told.
std::string RunningExecutable();

// Folder of the running executable, with a trailing '/'.
std::string ExecutableDirectory();

// The program's own INI file: the program file's name with the extension
// ".ini"; an existing file of that name in another letter case is the one meant.
std::string ProgramIniName(const std::string& program_file);

class ProgramPaths {
 public:
  // root: the program directory (a trailing '/' is added when missing).
  explicit ProgramPaths(std::string root);

  // The program directory with its trailing '/'; stored paths are built by
  // appending Windows-style tails to it ("FPGA\\" + name).
  const std::string& root() const { return root_; }

  // Real path for a stored path. Backslashes become '/', each component is
  // matched without regard to case against what exists (components that do
  // not exist are kept as written, so a file may be created). A path outside
  // the program directory, with a ".." component, or with a drive letter
  // gives nullopt.
  std::optional<std::string> Resolve(const std::string& stored) const;

  // Resolve + existence of a regular file.
  bool FileExists(const std::string& stored) const;

 private:
  std::string root_;
};

}  // namespace quenlet
