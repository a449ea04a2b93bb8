// A stand-in for the engineers' outside test library (DLL.so in the program
// directory). What it does shows what it was given:
//  - a null pointer field: it fills the field with its own storage;
//  - a block whose first byte is 0xEE: it hands back a null pointer;
//  - any other block: it writes 0xA5 over `*length` bytes of it (so a
//    length past the block's end is caught by the sanitizers), then replaces
//    both values with ones the program must not use.
#include <cstdint>
#include <cstring>

namespace {
uint8_t own_storage[16];
}

extern "C" __attribute__((visibility("default"))) void TestDLL(void** data, uint32_t* length) {
  if (*data == nullptr) {
    *data = own_storage;
    *length = sizeof own_storage;
    return;
  }
  auto* bytes = static_cast<uint8_t*>(*data);
  if (*length > 0 && bytes[0] == 0xEE) {
    *data = nullptr;
    return;
  }
  std::memset(bytes, 0xA5, *length);
  *data = own_storage;
  *length = 0xFFFFFFFFu;
}
