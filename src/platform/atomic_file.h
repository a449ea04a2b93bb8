#pragma once
// Whole-file reads and atomic replacement of files.
#include <optional>
#include <string>

namespace quenlet {

// The file's bytes, or nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Writes `data` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`, so a failed write never destroys the old file.
// Returns false (and leaves `path` as it was) on any error.
bool ReplaceFileAtomically(const std::string& path, const std::string& data);

}  // namespace quenlet
