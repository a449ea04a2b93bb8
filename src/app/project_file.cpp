#include "app/project_file.h"

#include "app/process_mode.h"
#include "platform/ini_snapshot.h"
#include "platform/program_paths.h"

namespace quenlet {
namespace {

bool Present(const std::string& value) {
  return !value.empty() && value != kProjectKeyMissing;
}

}  // namespace

std::string ProjectFilePath(const ProgramPaths& paths) {
  return paths.Resolve(kProjectFile).value_or(paths.root() + kProjectFile);
}

std::string ProjectDataFile(const ProgramPaths& paths, const std::string& source) {
  if (!source.empty() && source.front() == '/' && source.rfind(paths.root(), 0) != 0) {
    return source;
  }
  return paths.Resolve(source).value_or(source);
}

std::vector<ProjectRecord> ReadProjectRecords(const std::string& path) {
  const IniSnapshot ini(path);
  std::vector<ProjectRecord> records;
  for (int n = 1; n <= kProjectRecords; ++n) {
    const std::string section = std::to_string(n);
    ProjectRecord r;
    r.vendor = ini.ReadString(section, "Vendor", kProjectKeyMissing);
    if (r.vendor == kProjectKeyMissing) break;
    r.id = ini.ReadString(section, "ID", kProjectKeyMissing);
    r.source = ini.ReadString(section, "Source", kProjectKeyMissing);
    r.prog = ini.ReadString(section, "Prog", kProjectKeyMissing);
    records.push_back(std::move(r));
  }
  return records;
}

ProjectOpening ProjectOpeningOf(const ProjectRecord& record) {
  ProjectOpening opening;
  if (Present(record.source) && record.source.front() != '+') {
    opening.load_path = record.source;
    opening.data_file = record.source;
    if (Present(record.prog)) opening.steps = record.prog;
    return opening;
  }
  opening.load_path = kProjectNoFile;
  const std::string& steps = Present(record.source) ? record.source : record.prog;
  if (Present(steps)) opening.steps = steps;
  return opening;
}

std::array<bool, 5> ProjectStepTicks(std::string_view steps) {
  return StepTicksOfLetters(steps);
}

}  // namespace quenlet
