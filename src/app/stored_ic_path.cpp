#include "app/stored_ic_path.h"

#include "platform/program_paths.h"
#include "platform/text_compare.h"

namespace quenlet {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// The stored path from its last "INI" component on, or "" when it has none
// followed by a file name.
std::string IniTail(const std::string& stored) {
  size_t end = stored.size();
  while (end > 0) {
    size_t start = end;
    while (start > 0 && !IsSeparator(stored[start - 1])) --start;
    if (end - start == 3 && SameTextNoCase(std::string_view(stored).substr(start, 3), "INI") &&
        end < stored.size()) {
      return stored.substr(start);
    }
    if (start == 0) break;
    end = start - 1;
  }
  return {};
}

}  // namespace

std::optional<std::string> ResolveStoredIcFile(const ProgramPaths& paths,
                                               const std::string& stored) {
  if (paths.FileExists(stored)) return stored;
  const std::string tail = IniTail(stored);
  if (tail.empty()) return std::nullopt;
  const std::string moved = paths.root() + tail;
  if (paths.FileExists(moved)) return moved;
  return std::nullopt;
}

}  // namespace quenlet
