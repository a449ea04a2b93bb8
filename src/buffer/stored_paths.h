#pragma once
// Where the editor's stored paths lead on this machine: the base folder of
// the plug-ins, DDEFile.ini and Debug.src ([System] Path), and the current
// device's IC INI file ([SelectDlg] IcFileName).
#include <string>

namespace quenlet {

class DataBuffer;
class ProgramPaths;

// [System] Path resolved below the program directory, with a trailing '/'.
// "None" (nothing stored), the program directory itself, and a path that
// leads outside the program directory (such as a drive path of a settings
// file from another machine) all give the program directory.
std::string ResolveSystemFolder(const DataBuffer& buffer, const ProgramPaths& paths);

// The real path of [SelectDlg] IcFileName, or "" when none is stored or the
// path leads outside the program directory.
std::string ResolveIcIniFile(const DataBuffer& buffer, const ProgramPaths& paths);

// The entry of `folder` (with trailing '/') named `name` without regard to
// case, or folder + name when there is none.
std::string EntryInFolder(const std::string& folder, const std::string& name);

}  // namespace quenlet
