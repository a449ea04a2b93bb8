// Fills and patterns of the data buffer.
#include <chrono>
#include <cstring>
#include <random>

#include "buffer/data_buffer.h"
#include "buffer/progress_steps.h"
#include "platform/user_interfaces.h"

namespace quenlet {
namespace {

// The words of a word fill of first .. last (inclusive), from first on:
// put(i, whole) writes the word at byte i, both of its bytes when whole, else
// only byte i. A range of an odd number of bytes thus ends with the first
// byte of its last word, and nothing past last is written (the byte after
// the range, or BufSize at the buffer's top, keeps what it held).
template <class PutWord>
void FillWords(Progress& progress, uint64_t first, uint64_t last, PutWord put) {
  const uint64_t words = (last - first) / 2 + 1;
  ProgressSteps steps(progress, words);
  steps.Walk(0, words, [&](uint64_t a, uint64_t b) {
    for (uint64_t k = a; k < b; ++k) {
      const uint64_t i = first + 2 * k;
      put(i, i < last);
    }
  });
}

}  // namespace

bool DataBuffer::FillBuffer(int64_t start, int64_t end, uint8_t value, Progress& progress) {
  progress.SetCaption("Fill Buffer");
  progress.Show();
  progress.SetPosition(0);
  if (!HasBuffer() || end <= start || start < 0 || end > int64_t(buf_size_)) return false;
  // end may be BufSize itself: that byte is slack, inside the block.
  uint8_t* p = block_.get();
  ProgressSteps steps(progress, uint64_t(end - start + 1));
  steps.Walk(uint64_t(start), uint64_t(end) + 1,
             [&](uint64_t a, uint64_t b) { std::memset(p + a, value, b - a); });
  progress.Complete();
  return true;
}

bool DataBuffer::FillBufferWord(int64_t start, int64_t end, uint16_t value, Progress& progress) {
  progress.SetPosition(0);
  if (!HasBuffer() || start >= end || start < 0 || end > int64_t(buf_size_)) return false;
  uint8_t* p = block_.get();
  const uint8_t low = static_cast<uint8_t>(value & 0xFF);
  const uint8_t high = static_cast<uint8_t>(value >> 8);
  FillWords(progress, uint64_t(start), uint64_t(end), [&](uint64_t i, bool whole) {
    p[i] = low;
    if (whole) p[i + 1] = high;
  });
  progress.Complete();
  return true;
}

bool DataBuffer::FillPattern(int64_t start, int64_t end, uint8_t kind, Progress& progress) {
  if (end <= start || end < 1) return false;
  // Same bound as the byte fill: a range past BufSize would write outside the block.
  if (!HasBuffer() || start < 0 || end > int64_t(buf_size_)) return false;
  progress.SetPosition(0);
  uint8_t* p = block_.get();
  const uint64_t first = uint64_t(start);
  const uint64_t last = uint64_t(end);
  bool written = true;
  switch (kind) {
    case 0: {
      std::minstd_rand random(static_cast<std::minstd_rand::result_type>(
          std::chrono::system_clock::now().time_since_epoch().count()));
      ProgressSteps steps(progress, last - first + 1);
      steps.Walk(first, last + 1, [&](uint64_t a, uint64_t b) {
        for (uint64_t i = a; i < b; ++i) p[i] = static_cast<uint8_t>(random() % 256);
      });
      break;
    }
    case 1: {
      ProgressSteps steps(progress, last - first + 1);
      steps.Walk(first, last + 1, [&](uint64_t a, uint64_t b) {
        for (uint64_t i = a; i < b; ++i) p[i] = static_cast<uint8_t>(i & 0xFF);
      });
      break;
    }
    case 2: {
      // The 16-bit address of each word, high byte first.
      FillWords(progress, first, last, [&](uint64_t i, bool whole) {
        p[i] = static_cast<uint8_t>((i >> 8) & 0xFF);
        if (whole) p[i + 1] = static_cast<uint8_t>(i & 0xFF);
      });
      break;
    }
    default:
      written = false;
      break;
  }
  progress.Complete();
  return written;
}

}  // namespace quenlet
