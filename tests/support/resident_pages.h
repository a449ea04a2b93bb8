#pragma once
// How much memory is really resident: memory never written stays out, so a
// test can tell that a block was not touched.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace quenlet::testing {

// Resident pages of the bytes [data, data + size) of a mapping. A page that
// was only read counts too (it maps the zero page).
inline size_t ResidentPages(const void* data, size_t size) {
  const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const uintptr_t from = reinterpret_cast<uintptr_t>(data) / page * page;
  const uintptr_t to = reinterpret_cast<uintptr_t>(data) + size;
  std::vector<unsigned char> pages((to - from + page - 1) / page);
  if (::mincore(reinterpret_cast<void*>(from), to - from, pages.data()) != 0) return SIZE_MAX;
  size_t resident = 0;
  for (unsigned char p : pages) resident += p & 1;
  return resident;
}

// The process's resident anonymous memory in bytes (pages written; the zero
// page behind pages only read is not counted).
inline uint64_t ResidentAnonymousBytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  uint64_t kilobytes = 0;
  while (status >> key) {
    if (key == "RssAnon:" && status >> kilobytes) return kilobytes * 1024;
    status.ignore(4096, '\n');
  }
  return 0;
}

}  // namespace quenlet::testing
