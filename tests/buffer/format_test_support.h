#pragma once
// Helpers of the file-format tests: an in-memory sink, byte images, a
// temporary folder per test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "buffer/hex_text.h"
#include "buffer/load_pipeline.h"
#include "buffer/record_output.h"
#include "support/fake_load_save_windows.h"
#include "support/temp_dir.h"

namespace quenlet::testing {

class StringSink : public ByteSink {
 public:
  bool Write(std::span<const char> bytes) override {
    if (fail_after >= 0 && writes >= fail_after) return false;
    ++writes;
    pieces.push_back(bytes.size());
    text.append(bytes.data(), bytes.size());
    return true;
  }
  std::string text;
  std::vector<size_t> pieces;
  int writes = 0;
  int fail_after = -1;  // refuse every write from this one on
};

inline std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

inline std::vector<uint8_t> ToBytes(std::string_view s) {
  return {s.begin(), s.end()};
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// A damaged text a reader must refuse: the kind of failure, its line and a
// part of its reason.
struct BadCase {
  const char* name;
  std::string text;
  HexParseFailure::Kind kind;
  size_t line;
  const char* reason_part;
};

// Test names say which case failed; the whole case object is not printed.
inline void PrintTo(const BadCase& c, std::ostream* os) {
  *os << c.name;
}

inline void ExpectRefused(const HexReadResult& r, const BadCase& c) {
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.failure->kind, c.kind);
  EXPECT_EQ(r.failure->line, c.line);
  EXPECT_NE(r.failure->reason.find(c.reason_part), std::string::npos) << r.failure->reason;
}

}  // namespace quenlet::testing
