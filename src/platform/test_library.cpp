#include "platform/test_library.h"

#include <dlfcn.h>

namespace quenlet {

TestLibraryCall CallTestLibrary(const std::string& path, void** data, uint32_t* length) {
  // A name without a leading '/' would send dlopen through the search path.
  if (path.empty() || path.front() != '/') return TestLibraryCall::NotLoaded;
  void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return TestLibraryCall::NotLoaded;
  using Export = void (*)(void**, uint32_t*);
  auto* entry = reinterpret_cast<Export>(::dlsym(library, kTestLibraryExport));
  if (entry == nullptr) {
    ::dlclose(library);
    return TestLibraryCall::NoExport;
  }
  entry(data, length);
  ::dlclose(library);
  return TestLibraryCall::Called;
}

}  // namespace quenlet
