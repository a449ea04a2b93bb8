// The option pages' description file on arbitrary text: whatever it counts,
// the set stays within the bounds of the pages and the window, and the
// option block's unpack walks it without reading past the block.
#include <cstddef>
#include <cstdint>

#include "device/option_block.h"
#include "device/option_page_file.h"
#include "fuzz_support.h"
#include "platform/ini_snapshot.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  const std::string path =
      fuzz::WriteScratch("pages.ini", {reinterpret_cast<const char*>(data), size});
  const OptionPageSet set = ReadOptionPageSet(IniSnapshot(path));
  fuzz::Check(set.pages.size() <= size_t{kMaxOptionPages}, "page count");
  fuzz::Check(set.caption.size() <= kMaxOptionText, "caption length");
  size_t components = 0;
  size_t items = 0;
  size_t lines = 0;
  for (const OptionPage& page : set.pages) {
    fuzz::Check(page.caption.size() <= kMaxOptionText, "page caption length");
    for (const OptionComponent& c : page.components) {
      ++components;
      items += c.radio_items.size();
      lines += c.explanation.size();
      fuzz::Check(c.left >= 0 && c.left <= kOptionWindowWidth && c.width >= 0 &&
                      c.width <= kOptionWindowWidth && c.top >= 0 && c.top <= kOptionWindowHeight &&
                      c.height >= 0 && c.height <= kOptionWindowHeight,
                  "places and sizes within the window");
      fuzz::Check(c.radio_columns >= 1 && c.radio_columns <= kMaxRadioColumns, "radio columns");
      fuzz::Check(c.caption.size() <= kMaxOptionText, "component caption length");
      for (const auto* list : {&c.radio_items, &c.explanation}) {
        for (const std::string& text : *list) fuzz::Check(text.size() <= kMaxOptionText, "text");
      }
    }
  }
  fuzz::Check(components <= size_t{kMaxOptionComponents} && items <= size_t{kMaxOptionRadioItems} &&
                  lines <= size_t{kMaxOptionExplanationLines},
              "the whole set within its bounds");
  OptionBlock block;
  for (size_t i = 0; i < block.size(); ++i)
    block[i] = static_cast<uint8_t>(size > 0 ? data[i % size] : i);
  const OptionUnpack unpack = UnpackOptionBlock(block, set);
  fuzz::Check(unpack.words <= kOptionBlockWords, "the unpack stays within the block");
  return 0;
}
