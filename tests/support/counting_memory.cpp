#include "support/counting_memory.h"

#include <dlfcn.h>
#include <malloc.h>
#include <sys/mman.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <new>

namespace quenlet::testing::memory {
namespace {

void Add(size_t n) {
  const size_t now = live.fetch_add(n, std::memory_order_relaxed) + n;
  size_t p = peak.load(std::memory_order_relaxed);
  while (now > p && !peak.compare_exchange_weak(p, now, std::memory_order_relaxed)) {
  }
}

void Sub(size_t n) {
  live.fetch_sub(n, std::memory_order_relaxed);
}

// The counted mappings: start and length, few at a time.
struct Mapping {
  uintptr_t start = 0;
  size_t length = 0;
};
Mapping mappings[256];
std::atomic_flag mappings_lock = ATOMIC_FLAG_INIT;

class MappingsLock {
 public:
  MappingsLock() {
    while (mappings_lock.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~MappingsLock() { mappings_lock.clear(std::memory_order_release); }
};

size_t PageRounded(size_t n) {
  constexpr size_t kPage = 4096;
  return (n + kPage - 1) / kPage * kPage;
}

Mapping* Find(uintptr_t start) {
  for (Mapping& m : mappings) {
    if (m.length > 0 && m.start == start) return &m;
  }
  return nullptr;
}

void Track(void* p, size_t length) {
  MappingsLock lock;
  for (Mapping& m : mappings) {
    if (m.length == 0) {
      m = {reinterpret_cast<uintptr_t>(p), PageRounded(length)};
      Add(m.length);
      return;
    }
  }
}

bool Refused(size_t n) {
  return n >= refuse_from.load();
}

void* Take(size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (p) Add(malloc_usable_size(p));
  return p;
}

void Give(void* p) {
  if (!p) return;
  Sub(malloc_usable_size(p));
  std::free(p);
}

void* TakeOrThrow(size_t n) {
  if (void* p = Take(n)) return p;
  throw std::bad_alloc();
}

}  // namespace
}  // namespace quenlet::testing::memory

void* operator new(size_t n) {
  return quenlet::testing::memory::TakeOrThrow(n);
}
void* operator new[](size_t n) {
  return quenlet::testing::memory::TakeOrThrow(n);
}
void* operator new(size_t n, const std::nothrow_t&) noexcept {
  return quenlet::testing::memory::Refused(n) ? nullptr : quenlet::testing::memory::Take(n);
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept {
  return quenlet::testing::memory::Refused(n) ? nullptr : quenlet::testing::memory::Take(n);
}
void operator delete(void* p) noexcept {
  quenlet::testing::memory::Give(p);
}
void operator delete[](void* p) noexcept {
  quenlet::testing::memory::Give(p);
}
void operator delete(void* p, size_t) noexcept {
  quenlet::testing::memory::Give(p);
}
void operator delete[](void* p, size_t) noexcept {
  quenlet::testing::memory::Give(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  quenlet::testing::memory::Give(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  quenlet::testing::memory::Give(p);
}

extern "C" {

void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset) noexcept {
  using Real = void* (*)(void*, size_t, int, int, int, off_t);
  static const Real real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "mmap"));
  namespace memory = quenlet::testing::memory;
  const bool counted = (flags & MAP_ANONYMOUS) != 0 && (protection & PROT_WRITE) != 0;
  if (counted && memory::Refused(length)) {
    errno = ENOMEM;
    return MAP_FAILED;
  }
  void* p = real(address, length, protection, flags, fd, offset);
  if (counted && p != MAP_FAILED) memory::Track(p, length);
  return p;
}

void* mremap(void* old_address, size_t old_size, size_t new_size, int flags, ...) noexcept {
  using Real = void* (*)(void*, size_t, size_t, int, ...);
  static const Real real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "mremap"));
  namespace memory = quenlet::testing::memory;
  void* fixed = nullptr;
  if (flags & MREMAP_FIXED) {
    va_list more;
    va_start(more, flags);
    fixed = va_arg(more, void*);
    va_end(more);
  }
  const uintptr_t start = reinterpret_cast<uintptr_t>(old_address);
  bool tracked;
  {
    memory::MappingsLock lock;
    tracked = memory::Find(start) != nullptr;
  }
  if (tracked && new_size > old_size && memory::Refused(new_size)) {
    errno = ENOMEM;
    return MAP_FAILED;
  }
  void* p = (flags & MREMAP_FIXED) ? real(old_address, old_size, new_size, flags, fixed)
                                   : real(old_address, old_size, new_size, flags);
  if (tracked && p != MAP_FAILED) {
    memory::MappingsLock lock;
    if (memory::Mapping* m = memory::Find(start)) {
      memory::Sub(m->length);
      m->start = reinterpret_cast<uintptr_t>(p);
      m->length = memory::PageRounded(new_size);
      memory::Add(m->length);
    }
  }
  return p;
}

int munmap(void* address, size_t length) noexcept {
  using Real = int (*)(void*, size_t);
  static const Real real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "munmap"));
  namespace memory = quenlet::testing::memory;
  const int result = real(address, length);
  if (result == 0) {
    memory::MappingsLock lock;
    const uintptr_t from = reinterpret_cast<uintptr_t>(address);
    const uintptr_t to = from + memory::PageRounded(length);
    for (memory::Mapping& m : memory::mappings) {
      if (m.length == 0 || to <= m.start || from >= m.start + m.length) continue;
      // Whole mappings, or their tails, are what the program unmaps.
      const size_t kept = from > m.start ? from - m.start : 0;
      memory::Sub(m.length - kept);
      m.length = kept;
    }
  }
  return result;
}

}  // extern "C"
