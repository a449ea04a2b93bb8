#pragma once
// [SelectDlg] IcFileName holds the full path of the last device's IC INI
// file as the program that wrote it saw it: possibly another program folder
// or a Windows drive ("C:\Prog\INI\AMD\29F040.ini").
#include <optional>
#include <string>

namespace quenlet {

class ProgramPaths;

// The path the loader is to read: the stored one when it names an existing
// file below the program directory; else the program directory followed by
// the stored path's tail from its last "INI" folder on (either separator,
// any case), when that names an existing file; else nullopt (no device).
std::optional<std::string> ResolveStoredIcFile(const ProgramPaths& paths,
                                               const std::string& stored);

}  // namespace quenlet
