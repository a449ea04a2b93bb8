#pragma once
// Work that might block on a named pipe: an open or read of a FIFO waits for
// a writer, which would hang the test instead of failing it.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <vector>

namespace quenlet::testing {

// Runs `work` on a thread of its own. Should it block on one of the pipes
// (an open or read waiting for a writer), each is opened for writing to let
// it go; the result says whether that was ever needed.
inline bool WaitedForAWriter(const std::vector<std::string>& pipes,
                             const std::function<void()>& work) {
  auto running = std::async(std::launch::async, work);
  bool waited = false;
  while (running.wait_for(std::chrono::milliseconds(500)) != std::future_status::ready) {
    waited = true;
    for (const std::string& pipe : pipes) {
      const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
    }
  }
  running.get();
  return waited;
}

}  // namespace quenlet::testing
