#include "device/device_preview.h"

#include <algorithm>
#include <filesystem>

#include "device/catalogue.h"
#include "device/ic_ini_loader.h"
#include "platform/program_paths.h"
#include "platform/strprintf.h"
#include "platform/text_compare.h"
#include "platform/text_decode.h"

namespace quenlet {
namespace {

constexpr const char* kNotRead = "<none>";

// Cuts `value` to `room` - 1 bytes, as the preview's fields hold it.
std::string Cut(std::string value, size_t room) {
  return CutWholeCharacters(std::move(value), room - 1);
}

// Whether a file name is one of the document kinds the web button opens.
bool IsDocumentName(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string extension = name.substr(dot + 1);
  for (const char* kind : {"pdf", "htm", "html", "txt", "png", "jpg", "gif", "bmp"}) {
    if (SameTextNoCase(extension, kind)) return true;
  }
  return false;
}

// Tenths of a volt from the leading digits; none gives 0.
std::string Volts(const char* format, const std::string& value) {
  int tenths = 0;
  for (char c : value) {
    if (c < '0' || c > '9') break;
    tenths = std::min(tenths * 10 + (c - '0'), 999999);
  }
  return strprintf(format, tenths / 10, tenths % 10);
}

}  // namespace

std::optional<DevicePreviewTexts> ReadDevicePreview(const ProgramPaths& paths,
                                                    const std::string& file) {
  if (file == kNoPartFile) return std::nullopt;
  const std::optional<std::string> path = paths.Resolve("\\ini\\" + file);
  // No path (it would lead out of the program directory) reads as no file.
  const IniSnapshot ini(path.value_or(std::string()));
  auto read = [&](const char* key, size_t room) {
    return Cut(ini.ReadString(kIcIniSection, key, kNotRead), room);
  };
  DevicePreviewTexts t;
  t.pin = strprintf("PIN : %s", read("PIN", 8).c_str());
  if (read("TYPE", 10) == "PLD") {
    t.size = strprintf("FUSE : %s ", read("FUSE", 8).c_str());
  } else {
    t.size = strprintf("SIZE : %s ", read("ICSIZE", 16).c_str());
  }
  t.ids = strprintf(" Manufacturer ID : %s      Device ID : %s", read("ManCode", 20).c_str(),
                    read("DevCode", 10).c_str());
  t.vcc = Volts("VCC = %d.%d V", read("read_vcc", 5));
  t.vcp = Volts("VCCP = %d.%d V", read("program_vcc", 5));
  t.vpp = Volts("VPP = %d.%d V", read("program_vpp", 5));
  const bool has_note = ini.Find(kIcIniSection, "Note").has_value();
  t.note = has_note ? strprintf("Note : %s", read("Note", 256).c_str()) : "Note : None.";
  return t;
}

ManufacturerDocuments::ManufacturerDocuments(const ProgramPaths& paths)
    : list_(paths.Resolve("url\\URLList.ini").value_or(paths.root() + "url/URLList.ini")) {}

std::string ManufacturerDocuments::Find(const std::string& manufacturer) {
  list_.Refresh();
  return list_.ReadString("Index", manufacturer, kNoDocument);
}

std::optional<std::string> ManufacturerDocumentPath(const ProgramPaths& paths,
                                                    const std::string& document) {
  namespace fs = std::filesystem;
  // A name is a file of the folder, never a path of its own.
  if (document.empty() || document[0] == '/' || document[0] == '\\' ||
      (document.size() >= 2 && document[1] == ':')) {
    return std::nullopt;
  }
  const std::optional<std::string> path = paths.Resolve("URL\\" + document);
  const std::optional<std::string> folder = paths.Resolve("URL");
  if (!path || !folder) return std::nullopt;
  std::error_code error;
  const fs::path real = fs::canonical(*path, error);
  if (error) return std::nullopt;
  const fs::path real_folder = fs::canonical(*folder, error);
  if (error || !fs::is_regular_file(real, error) || !IsDocumentName(real.filename().string())) {
    return std::nullopt;
  }
  const fs::perms perms = fs::status(real, error).permissions();
  constexpr fs::perms kExec =
      fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  if (error || (perms & kExec) != fs::perms::none) return std::nullopt;
  // Inside the folder: its path is a prefix of the document's.
  auto [folder_end, real_at] =
      std::mismatch(real_folder.begin(), real_folder.end(), real.begin(), real.end());
  if (folder_end != real_folder.end()) return std::nullopt;
  return real.string();
}

std::optional<std::string> ManufacturerPicturePath(const ProgramPaths& paths,
                                                   const std::string& manufacturer) {
  for (const std::string& stored :
       {"Bmpdata\\" + manufacturer + ".bmp", std::string("Bmpdata\\NULL.bmp")}) {
    if (paths.FileExists(stored)) return paths.Resolve(stored);
  }
  return std::nullopt;
}

}  // namespace quenlet
