#pragma once
// srecord's srec_cat, an independent reader and writer of the hex formats,
// run on files of a test's folder.
#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace quenlet::testing {

// Runs srec_cat with these arguments (file names are ours, no quoting
// needed); true when it ran and succeeded.
inline bool SrecCat(const std::string& arguments) {
  const int status = std::system(("srec_cat " + arguments + " 2>/dev/null").c_str());
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace quenlet::testing
