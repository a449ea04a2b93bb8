#pragma once
// Small helpers of the fuzz targets.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "buffer/format_detect.h"
#include "buffer/hex_text.h"
#include "platform/user_interfaces.h"

namespace quenlet::fuzz {

// Images of the fuzz inputs stay small: the limit logic is what is fuzzed,
// not the machine's memory.
inline constexpr uint64_t kImageLimit = 1 << 20;

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

inline void Check(bool condition, const char* what) {
  if (!condition) Fail(what);
}

// What every reader promises: a failure names a line of the text; a success
// covers addresses 0 .. LastAddress within the limit.
inline void CheckResult(const HexReadResult& r, std::string_view text, uint64_t limit) {
  if (!r.ok()) {
    size_t lines = 1;
    for (char c : text) lines += c == '\n';
    Check(r.failure->line >= 1 && r.failure->line <= lines, "failure line within the text");
    Check(!r.failure->reason.empty(), "failure has a reason");
    return;
  }
  Check(r.image.Bytes().size() <= limit, "image within the limit");
  Check(r.image.HasData() == !r.image.Bytes().empty(), "data flag agrees with the image");
  if (r.image.HasData()) Check(r.image.LastAddress() + 1 == r.image.Bytes().size(), "last address");
}

// Nothing shown, always OK: what the fuzzed code tells the operator is not
// what is fuzzed.
class SilentMessages : public Messages {
 public:
  void Show(const std::string&) override {}
  MessageResult Box(const std::string&, const std::string&, MessageButtons, MessageIcon) override {
    return MessageResult::Ok;
  }
};

// A folder of this fuzz process for the files an input is written to, in
// memory where the machine has it; removed at exit. Ends with '/'.
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    namespace fs = std::filesystem;
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    const fs::path path = fs::path(base) / ("quenlet-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(path);
    static std::string removed_at_exit;
    removed_at_exit = path.string();
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(removed_at_exit, ignored);
    });
    return path.string() + "/";
  }();
  return dir;
}

// Writes `bytes` to `relative` below the scratch folder (its folders made);
// the file's full path.
inline std::string WriteScratch(const std::string& relative, std::string_view bytes) {
  const std::string path = ScratchDir() + relative;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) Fail("the scratch file cannot be written");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

// The input cut at its first "\0\n" into two texts (the second empty when
// there is none): two files from one input.
inline std::pair<std::string_view, std::string_view> SplitInput(const uint8_t* data, size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const size_t at = all.find(std::string_view("\0\n", 2));
  if (at == std::string_view::npos) return {all, {}};
  return {all.substr(0, at), all.substr(at + 2)};
}

// A hex detector on arbitrary text: the shape test stays within the hex
// format codes, and whatever the detector accepts its reader reads without
// fault.
using HexDetector = bool (*)(std::string_view);
using HexReader = HexReadResult (*)(std::string_view, uint8_t, Progress&, uint64_t);
inline int DetectThenRead(const uint8_t* data, size_t size, HexDetector detect, HexReader read) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int32_t shape = HexFormatByShape(text);
  Check(shape == 0 || shape == kLoadIntelHex || shape == kLoadMotorola || shape == kLoadTektronix,
        "shape gives a hex format or none");
  if (detect(text)) {
    NullProgress progress;
    CheckResult(read(text, 0, progress, kImageLimit), text, kImageLimit);
  }
  return 0;
}

}  // namespace quenlet::fuzz
