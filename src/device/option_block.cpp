#include "device/option_block.h"

#include "device/option_page_file.h"
#include "platform/ini_snapshot.h"

namespace quenlet {
namespace {

uint16_t WordAt(const OptionBlock& block, uint32_t index) {
  return static_cast<uint16_t>(block[2 * index] | (block[2 * index + 1] << 8));
}

// The characters of a text value: the low bytes of `length` words from `first`.
std::string TextAt(const OptionBlock& block, uint32_t first, uint32_t length) {
  std::string text;
  text.reserve(length);
  for (uint32_t i = 0; i < length; ++i) {
    const char c = static_cast<char>(block[2 * (first + i)]);
    if (c == '\0') break;
    const auto u = static_cast<unsigned char>(c);
    text.push_back(u < 0x20 || u == 0x7F ? ' ' : c);
  }
  return text;
}

}  // namespace

void ClearErasedOptionWords(OptionBlock& block) {
  for (uint32_t i = 0; i < kOptionBlockWords; ++i) {
    if (WordAt(block, i) == 0xFFFF) block[2 * i] = block[2 * i + 1] = 0;
  }
}

OptionUnpack UnpackOptionBlock(const OptionBlock& block, const OptionPageSet& pages) {
  OptionUnpack out;
  for (const OptionPage& page : pages.pages) {
    for (const OptionComponent& c : page.components) {
      const uint32_t words = c.BlockWords();
      if (words > kOptionBlockWords - out.words) {
        out.cut = true;
        return out;
      }
      const std::string key = OptionValueKey(page.number, c.index);
      if (c.IsTextValue()) {
        out.values.WriteString(kOptionValueSection, key, TextAt(block, out.words, words));
      } else {
        out.values.WriteInteger(kOptionValueSection, key, WordAt(block, out.words));
      }
      out.words += words;
    }
  }
  return out;
}

bool StoreOptionBlock(const OptionBlock& block, const std::string& page_file,
                      const std::string& values_file) {
  const OptionUnpack unpack = UnpackOptionBlock(block, ReadOptionPageSet(IniSnapshot(page_file)));
  return IniFile(values_file).Write(unpack.values);
}

}  // namespace quenlet
