#include "platform/atomic_output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace quenlet {

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
