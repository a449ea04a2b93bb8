#include "platform/program_paths.h"

#include "platform/text_compare.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace quenlet {
namespace {

// The entry of `dir` named `name` without regard to case; an exact match wins.
std::optional<std::string> MatchEntry(const std::string& dir, const std::string& name) {
  struct stat st {};
  if (::lstat((dir + name).c_str(), &st) == 0) return name;
  DIR* d = ::opendir(dir.c_str());
  if (!d) return std::nullopt;
  std::optional<std::string> found;
  while (dirent* e = ::readdir(d)) {
    std::string entry = e->d_name;
    if (SameTextNoCase(entry, name)) {
      found = entry;
      break;
    }
  }
  ::closedir(d);
  return found;
}

}  // namespace

std::string RunningExecutable() {
  std::vector<char> buf(4096);
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return {};
  return std::string(buf.data(), static_cast<size_t>(n));
}

std::string ExecutableDirectory() {
  const std::string exe = RunningExecutable();
  size_t slash = exe.rfind('/');
  return slash == std::string::npos ? "./" : exe.substr(0, slash + 1);
}

std::string ProgramIniName(const std::string& program_file) {
  size_t slash = program_file.rfind('/');
  std::string dir = slash == program_file.npos ? std::string() : program_file.substr(0, slash + 1);
  std::string base = program_file.substr(dir.size());
  size_t dot = base.rfind('.');
  if (dot != base.npos) base.resize(dot);
  base += ".ini";
  if (auto resolved = ProgramPaths(dir.empty() ? "./" : dir).Resolve(base)) {
    if (dir.empty() && resolved->rfind("./", 0) == 0) return resolved->substr(2);
    return *resolved;
  }
  return dir + base;
}

ProgramPaths::ProgramPaths(std::string root) : root_(std::move(root)) {
  if (root_.empty()) root_ = "./";
  if (root_.back() != '/') root_ += '/';
}

std::optional<std::string> ProgramPaths::Resolve(const std::string& stored) const {
  std::string tail = stored;
  if (tail.compare(0, root_.size(), root_) == 0) tail = tail.substr(root_.size());
  for (char& c : tail) {
    if (c == '\\') c = '/';
  }
  // A drive letter names a place on another machine.
  if (tail.size() >= 2 && tail[1] == ':') return std::nullopt;

  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= tail.size()) {
    size_t slash = tail.find('/', pos);
    if (slash == std::string::npos) slash = tail.size();
    std::string part = tail.substr(pos, slash - pos);
    if (part == "..") return std::nullopt;
    if (!part.empty() && part != ".") parts.push_back(part);
    pos = slash + 1;
  }
  if (parts.empty()) return std::nullopt;

  std::string path = root_;
  bool exists = true;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string name = parts[i];
    if (exists) {
      if (auto match = MatchEntry(path, name)) {
        name = *match;
      } else {
        exists = false;
      }
    }
    path += name;
    if (i + 1 < parts.size()) path += '/';
  }
  return path;
}

bool ProgramPaths::FileExists(const std::string& stored) const {
  auto path = Resolve(stored);
  if (!path) return false;
  struct stat st {};
  return ::stat(path->c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace quenlet
