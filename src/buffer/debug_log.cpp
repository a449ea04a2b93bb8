#include "buffer/debug_log.h"

#include "buffer/stored_paths.h"
#include "platform/ini_file.h"
#include "platform/strprintf.h"

namespace quenlet {

bool AppendDebugLog(const std::string& folder, const std::string& text) {
  IniFile ini(EntryInFolder(folder, "Debug.src"));
  // A damaged Total must not make the next number collide or overflow.
  int64_t n = static_cast<int64_t>(ini.ReadInteger("ERROR", "Total", -1)) + 1;
  if (n < 0) n = 0;
  const std::string key = strprintf("%lld", static_cast<long long>(n));
  IniBatch entry;
  entry.WriteString("ERROR", key, text);
  entry.WriteString("ERROR", "Total", key);
  return ini.Write(entry);
}

bool AppendDebugLog(const DataBuffer& buffer, const ProgramPaths& paths, const std::string& text) {
  return AppendDebugLog(ResolveSystemFolder(buffer, paths), text);
}

}  // namespace quenlet
