#pragma once
// Opens a document file with the desktop's own viewer for its type (never
// through a shell, never running the file itself). The Qt implementation
// asks the desktop; tests pass a recording fake.
#include <string>

namespace quenlet {

class DocumentOpener {
 public:
  virtual ~DocumentOpener() = default;
  // `path` is a real, existing file. False when the desktop refused it.
  virtual bool Open(const std::string& path) = 0;
};

}  // namespace quenlet
