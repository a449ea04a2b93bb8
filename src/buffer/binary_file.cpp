#include "buffer/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/atomic_output_file.h"

namespace quenlet {
namespace {

// Data files are regular files only. A FIFO would wait for a writer, a
// device node may answer forever or act on being opened, and a folder holds
// no data: each is refused before it is opened. The file is then opened
// without blocking and checked again, in case the name changed in between.
// Returns the descriptor, or -1 with error set.
int OpenRegularFile(const std::string& path, struct stat& st, int& error) {
  if (::stat(path.c_str(), &st) != 0) {
    error = errno;
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    return -1;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = errno;
    return -1;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = EINVAL;
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

FileRangeRead ReadFileBytes(const std::string& path, uint64_t first, uint64_t last) {
  FileRangeRead result;
  struct stat st {};
  const int fd = OpenRegularFile(path, st, result.error);
  if (fd < 0) {
    result.status = FileRangeRead::Status::CannotOpen;
    return result;
  }
  const uint64_t size = static_cast<uint64_t>(st.st_size);
  const uint64_t end = last < size ? last + 1 : size;
  if (first < end) {
    // Read straight into fresh pages: nothing writes them before the file does.
    if (!result.bytes.Allocate(static_cast<size_t>(end - first))) {
      result.status = FileRangeRead::Status::NoMemory;
    }
    size_t done = 0;
    while (result.status == FileRangeRead::Status::Read && done < result.bytes.size()) {
      const ssize_t n = ::pread(fd, result.bytes.data() + done, result.bytes.size() - done,
                                static_cast<off_t>(first + done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        result.status = FileRangeRead::Status::ReadError;
        result.error = errno;
      }
      if (n <= 0) break;  // the file shrank while we read: keep what it held
      done += static_cast<size_t>(n);
    }
    result.bytes.Truncate(done);
  }
  ::close(fd);
  if (result.status != FileRangeRead::Status::Read) result.bytes = TextBlock();
  return result;
}

bool CanOpenForReading(const std::string& path) {
  struct stat st {};
  int error = 0;
  const int fd = OpenRegularFile(path, st, error);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

uint64_t GetFileLength(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  return static_cast<uint64_t>(st.st_size);
}

uint8_t ReverseBits(uint8_t v) {
  v = static_cast<uint8_t>((v & 0xF0) >> 4 | (v & 0x0F) << 4);
  v = static_cast<uint8_t>((v & 0xCC) >> 2 | (v & 0x33) << 2);
  v = static_cast<uint8_t>((v & 0xAA) >> 1 | (v & 0x55) << 1);
  return v;
}

std::optional<size_t> MoveDataToStart(std::span<uint8_t> bytes, size_t end, size_t offset,
                                      bool reverse) {
  if (end < offset) return std::nullopt;
  if (end > bytes.size()) end = bytes.size();
  if (offset >= end) return size_t{0};
  const size_t count = end - offset;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t b = bytes[offset + i];
    bytes[i] = reverse ? ReverseBits(b) : b;
  }
  return count;
}

bool WriteBinaryFile(const std::string& path, std::span<const uint8_t> bytes, int* error) {
  AtomicOutputFile file(path);
  // Pieces of 64 KB - 1, as the file was always written.
  constexpr size_t kPiece = 0xFFFF;
  for (size_t done = 0; file.ok() && done < bytes.size(); done += kPiece) {
    const size_t n = bytes.size() - done < kPiece ? bytes.size() - done : kPiece;
    file.Write(bytes.data() + done, n);
  }
  const bool ok = file.Commit();
  if (!ok && error) *error = file.error();
  return ok;
}

}  // namespace quenlet
