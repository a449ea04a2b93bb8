#pragma once
// Project.ini in the program directory: up to ten prepared projects, each a
// device, a data file and the steps to run.
//
//   [1]
//   Vendor=Quenlet Demo        manufacturer as in Select.ini
//   ID=QD27-256                part as in Select.ini
//   Source=Samples\QD27.HEX    data file (may be left out)
//   Prog=+C+P+V                steps: E erase, C blank check, P program,
//                              V verify, S protect (may be left out)
//
// Records are read from "1" up and end at the first without a Vendor. A
// missing key reads "<empty>", which is what the project list shows.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlet {

class ProgramPaths;

inline constexpr const char* kProjectFile = "Project.ini";
inline constexpr const char* kProjectKeyMissing = "<empty>";
inline constexpr const char* kProjectNoFile = "No File";
inline constexpr int kProjectRecords = 10;

struct ProjectRecord {
  std::string vendor;
  std::string id;
  std::string source;
  std::string prog;
};

// Project.ini of the program directory (the name in any letter case), or
// the plain name in it when there is none.
std::string ProjectFilePath(const ProgramPaths& paths);

// The data file a project's Source names, as the load dialog is to open
// it: resolved as every stored path is (backslashes, the letter case of
// what is on disk) below the program directory, or an absolute path of this
// machine as it stands.
std::string ProjectDataFile(const ProgramPaths& paths, const std::string& source);

// Records "1" to "10" of the file at `path`; none when it is missing.
std::vector<ProjectRecord> ReadProjectRecords(const std::string& path);

// What opening a project puts on the Copy page.
struct ProjectOpening {
  // The load path field: the data file, or "No File".
  std::string load_path;
  // The data file the load dialog starts on, when the project names one.
  std::optional<std::string> data_file;
  // The step list; none leaves the run boxes as they are.
  std::optional<std::string> steps;
};

// A missing key is absent: no Source shows "No File" and takes the steps
// from Prog. A Source that starts with "+" is itself the step list.
ProjectOpening ProjectOpeningOf(const ProjectRecord& record);

// The run boxes a step list ticks, erase to protect: each box whose letter
// the list holds (upper case).
std::array<bool, 5> ProjectStepTicks(std::string_view steps);

}  // namespace quenlet
