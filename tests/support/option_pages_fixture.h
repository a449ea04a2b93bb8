#pragma once
// Option-page tests: option blocks written as words, and the fixture page
// file where a device's Menu key names it.
#include <filesystem>
#include <initializer_list>

#include "device/option_block.h"

namespace quenlet::testing {

// The block with these words from word 0 on (low byte first), zero after them.
inline OptionBlock OptionWords(std::initializer_list<uint16_t> words) {
  OptionBlock block{};
  size_t i = 0;
  for (uint16_t w : words) {
    block[2 * i] = static_cast<uint8_t>(w);
    block[2 * i + 1] = static_cast<uint8_t>(w >> 8);
    ++i;
  }
  return block;
}

// tests/fixtures/options/pages.ini as MENU\PAGES.INI of the program directory.
inline void InstallFixturePages(const std::filesystem::path& program_dir) {
  std::filesystem::create_directories(program_dir / "MENU");
  std::filesystem::copy_file(QUENLET_FIXTURES "/options/pages.ini",
                             program_dir / "MENU" / "PAGES.INI");
}

}  // namespace quenlet::testing
