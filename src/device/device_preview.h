#pragma once
// What the device dialog shows beside its lists: a short preview of the part
// read from its IC INI file, the manufacturer's document from
// url\URLList.ini and the manufacturer's picture in Bmpdata\. Texts are the
// files' bytes; the window decodes them to show them.
#include <optional>
#include <string>

#include "platform/ini_snapshot.h"

namespace quenlet {

class ProgramPaths;

struct DevicePreviewTexts {
  std::string pin;   // "PIN : %s"
  std::string size;  // "SIZE : %s " or, for a PLD, "FUSE : %s "
  std::string ids;   // " Manufacturer ID : %s      Device ID : %s"
  std::string vcc;   // "VCC = %d.%d V"
  std::string vcp;   // "VCCP = %d.%d V"
  std::string vpp;   // "VPP = %d.%d V"
  std::string note;  // "Note : %s", "Note : None." without a Note key
  friend bool operator==(const DevicePreviewTexts&, const DevicePreviewTexts&) = default;
};

// The preview of the part whose IC INI file (in the folder INI\) the
// catalogue names `file`; nullopt for "<none>". A file that is missing (or
// would lie outside the program directory) shows every value as "<none>".
// Each value is cut to the length the preview has room for.
std::optional<DevicePreviewTexts> ReadDevicePreview(const ProgramPaths& paths,
                                                    const std::string& file);

// url\URLList.ini [Index]: the document file listed for a manufacturer.
class ManufacturerDocuments {
 public:
  explicit ManufacturerDocuments(const ProgramPaths& paths);
  // The document name, "None" when none is listed.
  std::string Find(const std::string& manufacturer);

 private:
  IniSnapshot list_;
};

inline constexpr const char* kNoDocument = "None";

// The document's real path: a regular file in the folder URL\ of the
// program directory, also after following links, that is a document by its
// name (.pdf, .htm, .html, .txt, .png, .jpg, .gif, .bmp, in any case) and
// not executable: the desktop's opener may run what it is given. nullopt
// for anything else ("..", a drive letter, a folder, a link that leads out,
// a program, a desktop entry).
std::optional<std::string> ManufacturerDocumentPath(const ProgramPaths& paths,
                                                    const std::string& document);

// Bmpdata\<manufacturer>.bmp, else Bmpdata\NULL.bmp, when the file exists.
std::optional<std::string> ManufacturerPicturePath(const ProgramPaths& paths,
                                                   const std::string& manufacturer);

}  // namespace quenlet
