#include "platform/atomic_output_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace quenlet {
namespace {

constexpr std::string_view kTempMark = ".tmp";
constexpr size_t kTempSuffix = 6;  // the characters mkostemp puts for XXXXXX

// Whether `name` is a temporary file of ours for the target named `target`.
bool IsTempOf(std::string_view name, std::string_view target) {
  if (name.size() != target.size() + kTempMark.size() + kTempSuffix) return false;
  if (name.substr(0, target.size()) != target ||
      name.substr(target.size(), kTempMark.size()) != kTempMark) {
    return false;
  }
  for (char c : name.substr(target.size() + kTempMark.size())) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum) return false;
  }
  return true;
}

// Removes the temporary files of `path` that no live writer holds, all but
// `own`.
void RemoveStaleTemps(const std::string& path, const std::string& own) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string target = slash == std::string::npos ? path : path.substr(slash + 1);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTempOf(entry->d_name, target)) continue;
    const std::string temp = (slash == std::string::npos ? "" : folder) + entry->d_name;
    if (temp == own) continue;
    const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st {};
    // Held by its writer: the lock cannot be had, and the file stays.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      ::unlink(temp.c_str());
    }
    ::close(fd);
  }
  ::closedir(dir);
}

}  // namespace

AtomicOutputFile::AtomicOutputFile(std::string path) : path_(std::move(path)) {
  std::string pattern = path_ + ".tmpXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno ? errno : EIO;
    return;
  }
  temp_path_ = name.data();
  // Held while this writer lives: the next writer leaves it alone.
  ::flock(fd_, LOCK_EX | LOCK_NB);
  RemoveStaleTemps(path_, temp_path_);
  // A replaced file keeps its permissions; a new one gets the usual 0644.
  struct stat st {};
  const mode_t mode = ::stat(path_.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  ::fchmod(fd_, mode);
}

AtomicOutputFile::~AtomicOutputFile() {
  Discard();
}

void AtomicOutputFile::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_path_.empty()) {
    ::unlink(temp_path_.c_str());
    temp_path_.clear();
  }
}

bool AtomicOutputFile::Write(const void* data, size_t size) {
  if (error_ != 0 || fd_ < 0) return false;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd_, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = n < 0 ? errno : ENOSPC;
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool AtomicOutputFile::Commit() {
  if (error_ == 0 && fd_ >= 0) {
    if (::fsync(fd_) != 0) error_ = errno;
    if (::close(fd_) != 0 && error_ == 0) error_ = errno;
    fd_ = -1;
    if (error_ == 0 && std::rename(temp_path_.c_str(), path_.c_str()) != 0) error_ = errno;
    if (error_ == 0) temp_path_.clear();
  }
  const bool committed = error_ == 0 && temp_path_.empty() && fd_ < 0;
  Discard();
  return committed;
}

}  // namespace quenlet
