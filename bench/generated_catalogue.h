#pragma once
// A Select.ini of generated manufacturers and parts (no large file is
// shipped), written once into a temporary folder that goes away with the
// benchmark program, with the IC INI file every part names.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "device/select_ic_logic.h"
#include "platform/document_opener.h"
#include "platform/strprintf.h"

namespace quenlet::bench {

// What the device dialog hands on, doing nothing: the benchmarks measure the
// dialog itself.
class NoSetup : public DeviceSetup {
 public:
  void Apply(bool) override {}
};

class NoOpener : public DocumentOpener {
 public:
  bool Open(const std::string&) override { return true; }
};

namespace fs = std::filesystem;

inline std::string ManufacturerName(int m) {
  return strprintf("Maker %03d Semiconductor", m);
}
inline std::string PartName(int m, int p) {
  return strprintf("M%03dP%04d-90JC", m, p);
}
inline std::string PartFile(int m, int p) {
  return strprintf("M%03d\\P%04d_90.INI", m, p);
}

inline constexpr const char* kSharedFile = "device.ini";

struct CatalogueShape {
  int manufacturers = 300;
  int parts_each = 200;
  // Parts of one more manufacturer after the others; 0 for none.
  int big_manufacturer_parts = 0;
};

class GeneratedCatalogue {
 public:
  explicit GeneratedCatalogue(const char* name, CatalogueShape shape) : shape_(shape) {
    dir_ = fs::temp_directory_path() /
           (std::string("quenlet-bench-") + name + "-" + std::to_string(::getpid()));
    fs::create_directories(dir_ / "INI");
    const int makers = shape.manufacturers + (shape.big_manufacturer_parts > 0 ? 1 : 0);
    std::string text = strprintf("[ITEM]\r\nValue=%X\r\n", makers);
    for (int m = 1; m <= makers; ++m) {
      text += strprintf("%04X=%s\r\n", m, ManufacturerName(m).c_str());
    }
    for (int m = 1; m <= makers; ++m) {
      const int parts = PartsOf(m);
      text += strprintf("\r\n[%s]\r\nValue=%X\r\n", ManufacturerName(m).c_str(), parts);
      for (int p = 1; p <= parts; ++p) {
        text += strprintf("%04X=%s\r\n", p, PartName(m, p).c_str());
      }
      // The big manufacturer's parts share one device file.
      for (int p = 1; p <= parts; ++p) {
        text += PartName(m, p) + "=" + (m > shape.manufacturers ? kSharedFile : PartFile(m, p)) +
                "\r\n";
      }
    }
    std::ofstream(dir_ / "Select.ini", std::ios::binary) << text;
    // Device files for the first part and the shared one; the other parts'
    // files are not there (the preview then shows "<none>").
    fs::create_directories(dir_ / "INI" / "M001");
    for (const fs::path& file :
         {dir_ / "INI" / kSharedFile, dir_ / "INI" / "M001" / "P0001_90.INI"}) {
      std::ofstream(file, std::ios::binary)
          << "[VK_KZExternValue]\r\nPIN=32\r\nTYPE=FLASH\r\nICSIZE=524288\r\nManCode=0xBF\r\n"
             "DevCode=0xB7\r\nread_vcc=50\r\nprogram_vcc=50\r\nprogram_vpp=50\r\n"
             "Note=Sector erase\r\n";
    }
  }
  ~GeneratedCatalogue() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  GeneratedCatalogue(const GeneratedCatalogue&) = delete;
  GeneratedCatalogue& operator=(const GeneratedCatalogue&) = delete;

  // The program directory, with a trailing '/'.
  std::string root() const { return dir_.string() + "/"; }
  std::string select_ini() const { return (dir_ / "Select.ini").string(); }
  int PartsOf(int m) const {
    return m > shape_.manufacturers ? shape_.big_manufacturer_parts : shape_.parts_each;
  }

 private:
  CatalogueShape shape_;
  fs::path dir_;
};

}  // namespace quenlet::bench
