#pragma once
// The programmer's option value block and temp.ini. The block is 256 bytes,
// 128 little-endian words, holding the device's option values in the walk
// order of its page-description file: each component takes one word, except
// a text value, which takes one word per character (the low byte). The
// unpack writes them to temp.ini [CurrentUserPageSetup] Page<p>Com<c>Set,
// where the option pages find them: numbers as decimal integers, texts as
// strings.
#include <array>
#include <cstdint>
#include <string>

#include "platform/ini_file.h"

namespace quenlet {

struct OptionPageSet;

using OptionBlock = std::array<uint8_t, 256>;
inline constexpr uint32_t kOptionBlockWords = 128;

// Words the unit reports as erased (0xFFFF) become 0: what the read of a
// device's option page keeps in ProtectBlock, and sends again at protect.
void ClearErasedOptionWords(OptionBlock& block);

struct OptionUnpack {
  IniBatch values;     // the temp.ini writes, in walk order
  uint32_t words = 0;  // words of the block used
  bool cut = false;    // a component did not fit in the block: it and all after it are left out
};

// The walk over the block. A component whose words do not all lie in the
// block is not written, nor any after it; nothing past byte 255 is read.
// Text is cut at its first NUL; other control bytes (below 0x20, and 0x7F)
// become blanks, so that the value stays one line of temp.ini.
OptionUnpack UnpackOptionBlock(const OptionBlock& block, const OptionPageSet& pages);

// The unpack of `block` for the page-description file `page_file` into the
// INI file `values_file` (temp.ini), with one replace of that file. True
// when the values were written (or there were none to write).
bool StoreOptionBlock(const OptionBlock& block, const std::string& page_file,
                      const std::string& values_file);

}  // namespace quenlet
