#include "platform/atomic_file.h"

#include "platform/atomic_output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quenlet {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  // Not blocking: a pipe of that name would otherwise wait for a writer.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string data;
  data.reserve(static_cast<size_t>(st.st_size));
  char chunk[65536];
  for (;;) {
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    data.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return data;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& data) {
  AtomicOutputFile file(path);
  return file.Write(data.data(), data.size()) && file.Commit();
}

}  // namespace quenlet
