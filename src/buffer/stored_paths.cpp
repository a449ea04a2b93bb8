#include "buffer/stored_paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include "buffer/data_buffer.h"
#include "platform/program_paths.h"

namespace quenlet {
namespace {

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

}  // namespace

std::string ResolveSystemFolder(const DataBuffer& buffer, const ProgramPaths& paths) {
  std::string stored = buffer.GetSystemPath();
  while (!stored.empty() && (stored.back() == '\\' || stored.back() == '/')) stored.pop_back();
  if (stored.empty() || stored == "None" || WithSlash(stored) == paths.root()) return paths.root();
  auto resolved = paths.Resolve(stored);
  if (resolved && IsDirectory(*resolved)) return WithSlash(*resolved);
  return paths.root();
}

std::string ResolveIcIniFile(const DataBuffer& buffer, const ProgramPaths& paths) {
  const std::string stored = buffer.GetIcFileName();
  if (stored.empty() || stored == "None") return "";
  return paths.Resolve(stored).value_or("");
}

std::string EntryInFolder(const std::string& folder, const std::string& name) {
  std::string found = folder + name;
  struct stat st {};
  if (::lstat(found.c_str(), &st) == 0) return found;
  if (DIR* d = ::opendir(folder.c_str())) {
    while (dirent* e = ::readdir(d)) {
      if (::strcasecmp(e->d_name, name.c_str()) == 0) {
        found = folder + e->d_name;
        break;
      }
    }
    ::closedir(d);
  }
  return found;
}

}  // namespace quenlet
