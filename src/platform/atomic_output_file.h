#pragma once
// A file written in pieces that replaces its target only when complete: the
// bytes go to a temporary file beside the target (<target>.tmpXXXXXX), which
// is flushed to disk and renamed over it on Commit. Until then, and after any
// failure, the old file stays as it was; an uncommitted temporary file is
// removed.
//
// A writer killed before its end leaves its temporary file behind. Each
// temporary file is locked while its writer lives, so the next writer of the
// same target removes those of that name whose lock it can take: the
// leftovers of writers that died, never a file another writer is writing.
#include <cstddef>
#include <string>

namespace quenlet {

class AtomicOutputFile {
 public:
  explicit AtomicOutputFile(std::string path);
  ~AtomicOutputFile();
  AtomicOutputFile(const AtomicOutputFile&) = delete;
  AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

  // False once anything failed (also when the temporary file could not be made).
  bool ok() const { return error_ == 0; }
  // errno of the first failure, 0 while all is well.
  int error() const { return error_; }

  bool Write(const void* data, size_t size);
  // Flushes, closes and renames over the target. False (target untouched)
  // when this or anything before failed.
  bool Commit();

 private:
  void Discard();

  std::string path_;
  std::string temp_path_;
  int fd_ = -1;
  int error_ = 0;
};

}  // namespace quenlet
