#pragma once
// The engineers' outside test library: a shared object in the program
// directory with one export,
//   extern "C" void TestDLL(void** data, uint32_t* length);
// loaded by its absolute path (no search path is consulted), called once and
// unloaded again. What the export does with the two values is its own
// business; it may replace both.
#include <cstdint>
#include <string>

namespace quenlet {

inline constexpr const char* kTestLibraryName = "DLL.so";
inline constexpr const char* kTestLibraryExport = "TestDLL";

enum class TestLibraryCall {
  Called,     // the export ran
  NotLoaded,  // no library at that path, or it would not load
  NoExport,   // the library has no TestDLL
};

// `path` must be absolute; anything else is refused as NotLoaded.
TestLibraryCall CallTestLibrary(const std::string& path, void** data, uint32_t* length);

}  // namespace quenlet
