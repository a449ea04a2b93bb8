// The INI object reading a file written from the input: every read stays
// sound and finds what the listing calls; a snapshot of the same file gives
// the same answers.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/ini_file.h"
#include "platform/ini_snapshot.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  // In memory where the machine has it: the file is rewritten for every input.
  static const std::string path = [] {
    const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string p = std::string(dir) + "/quenlet-ini-fuzz-" + std::to_string(::getpid()) + ".ini";
    static std::string removed_at_exit;
    removed_at_exit = p;
    std::atexit([] { std::remove(removed_at_exit.c_str()); });
    return p;
  }();
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  } else {
    return 0;
  }
  const IniFile ini(path);
  const IniSnapshot snapshot(path);
  // A key that the section lists is found by the reads, under its own name
  // and in any case: two different defaults give the same (stored) value.
  auto found = [&](const std::string& section, const std::string& key) {
    return ini.ReadString(section, key, "\x01") == ini.ReadString(section, key, "\x02");
  };
  // Every read parses the whole file again: a few sections and keys of each
  // input are enough to cover the rules.
  auto sections = ini.ReadSections();
  fuzz::Check(snapshot.ReadSections() == sections, "the snapshot lists the same sections");
  if (sections.size() > 2) sections.resize(2);
  for (const std::string& section : sections) {
    fuzz::Check(ini.SectionExists(section), "a listed section exists");
    auto keys = ini.ReadSection(section);
    fuzz::Check(snapshot.ReadSection(section) == keys, "the snapshot lists the same keys");
    if (keys.size() > 2) keys.resize(2);
    for (const std::string& key : keys) {
      fuzz::Check(found(section, key), "a listed key is found");
      // ASCII keys match in any case (in Big5 text an ASCII letter may be
      // the second byte of a character, which no case change may touch).
      bool ascii = true;
      for (char c : key) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
      std::string upper = key;
      for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
      if (ascii) fuzz::Check(found(section, upper), "keys match in any case");
      for (const std::string& asked : {key, upper}) {
        fuzz::Check(
            snapshot.ReadString(section, asked, "\x01") == ini.ReadString(section, asked, "\x01"),
            "the snapshot reads the same value");
      }
      ini.ReadInteger(section, key, 0);
    }
  }
  if (!sections.empty()) ini.ReadSectionValues(sections.front());
  return 0;
}
