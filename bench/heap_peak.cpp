#include "heap_peak.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> live_bytes{0};
std::atomic<size_t> peak_bytes{0};

void* Take(size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) return nullptr;
  const size_t live = live_bytes.fetch_add(malloc_usable_size(p), std::memory_order_relaxed) +
                      malloc_usable_size(p);
  size_t peak = peak_bytes.load(std::memory_order_relaxed);
  while (live > peak && !peak_bytes.compare_exchange_weak(peak, live)) {
  }
  return p;
}

void Give(void* p) {
  if (!p) return;
  live_bytes.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
  std::free(p);
}

void* TakeOrThrow(size_t n) {
  if (void* p = Take(n)) return p;
  throw std::bad_alloc();
}

}  // namespace

namespace quenlet::bench {

size_t LiveHeapBytes() {
  return live_bytes.load();
}

PeakAbove::PeakAbove() : base_(live_bytes.load()) {
  peak_bytes = base_;
}

size_t PeakAbove::bytes() const {
  return peak_bytes.load() - base_;
}

}  // namespace quenlet::bench

void* operator new(size_t n) {
  return TakeOrThrow(n);
}
void* operator new[](size_t n) {
  return TakeOrThrow(n);
}
void* operator new(size_t n, const std::nothrow_t&) noexcept {
  return Take(n);
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept {
  return Take(n);
}
void operator delete(void* p) noexcept {
  Give(p);
}
void operator delete[](void* p) noexcept {
  Give(p);
}
void operator delete(void* p, size_t) noexcept {
  Give(p);
}
void operator delete[](void* p, size_t) noexcept {
  Give(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  Give(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  Give(p);
}
