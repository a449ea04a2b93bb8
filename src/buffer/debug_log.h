#pragma once
// Debug.src, the error list of the PIC configuration decoder: INI syntax,
// section [ERROR], one key per entry named by its number ("0", "1" ...) and
// Total, the number of the last entry.
#include <string>

namespace quenlet {

class DataBuffer;
class ProgramPaths;

// Appends one entry to <folder>Debug.src (folder with a trailing '/'); the
// first entry of a new list is 0. False when the file could not be written
// or the text holds a line break or a NUL character (which the file cannot keep).
bool AppendDebugLog(const std::string& folder, const std::string& text);

// The same in the system folder ([System] Path).
bool AppendDebugLog(const DataBuffer& buffer, const ProgramPaths& paths, const std::string& text);

}  // namespace quenlet
