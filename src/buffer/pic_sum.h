#pragma once
// The load path of microcontrollers of the PIC kind (IC INI [SysInformation]
// ToCountPICsumFlag = 1): their checksum is the sum of the program words,
// each high byte masked to the word width, plus the masked configuration
// word and a constant, as the device's [PIC_SUM] section describes. The
// configuration word is then decoded bit by bit, by the letter codes of
// [PICConfiguration] Bit0 to Bit15, into the device's option selections.
// The ID words and the selections are recorded in History_1.ini
// [PICConfiguration].
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "buffer/load_pipeline.h"

namespace quenlet {

class IniSnapshot;

// [PIC_SUM] of the device's IC INI file. Every value but PICANDBIT is hex
// digits with an optional "0x", read up to the first other character
// ("None" and other text give 0).
struct PicSumKeys {
  int32_t and_bits = 0;     // PICANDBIT: mask of each program word's high byte (low 8 bits)
  uint32_t sum_end = 0;     // SUM_ENDADD: program words summed from word 0
  uint32_t config_and = 0;  // CON_AND_NUM: mask of the configuration word
  uint32_t config_pos = 0;  // CON_POS: word address of the configuration word
  uint32_t extend_add = 0;  // Con_Extend_Add: constant added to the sum
  uint32_t id_pos = 0;      // ID_POS: word address of the first of four ID words
};
PicSumKeys ReadPicSumKeys(const IniSnapshot& ic_ini);
uint32_t PicHexValue(std::string_view text);

struct PicSumResult {
  uint32_t sum = 0;
  uint16_t config_word = 0;
  std::array<uint16_t, 4> id_words{};
};

inline constexpr const char* kPicAndBitsError = "PIC And bits error!";
inline constexpr const char* kPicSumCaption = "CounterPICcheckSum()";

// The sum over the buffer's bytes, whose program words get their high bytes
// masked in place. nullopt, with the bytes untouched and `error` set, when
// the mask's low 8 bits are below 0x0F or a position lies beyond the buffer.
std::optional<PicSumResult> ComputePicChecksum(std::span<uint8_t> bytes, const PicSumKeys& keys,
                                               std::string& error);

// The first character of [PICConfiguration] Bit0 to Bit15 (a missing key
// reads "None": N).
using PicConfigLetters = std::array<char, 16>;
PicConfigLetters ReadPicConfigLetters(const IniSnapshot& ic_ini);

// What the configuration word selects; nullopt where the letters give no
// value (the key is then left as it was).
struct PicDecode {
  std::optional<int32_t> ProtectSelectItem;
  std::optional<int32_t> PowerUpTimer;
  std::optional<int32_t> OSCSelect;
  std::optional<int32_t> WatchDogSelect;
  std::optional<int32_t> ProcessorMode;
  std::optional<int32_t> BrownOutEnable;
  std::optional<int32_t> MCLRE;
  // The A bits are neither all clear nor all set.
  bool protect_mismatch = false;
};
PicDecode DecodePicConfiguration(uint16_t config_word, const PicConfigLetters& letters);

// The Debug.src entry of a protection mismatch, in the file's Big5 bytes.
extern const char* const kPicProtectMismatchEntry;

// The load pipeline's PIC hooks over the program's files: History_1.ini of
// the buffer, Debug.src in its [System] Path folder, message boxes.
class PicSumHooks : public PicLoadHooks {
 public:
  PicSumHooks(const ProgramPaths& paths, Messages& messages) : paths_(paths), messages_(messages) {}

  // Also records the ID words as IDCODE1 to IDCODE4 ("%02X").
  std::optional<uint32_t> CounterPICcheckSum(DataBuffer& buffer, const std::string& ic_ini_path,
                                             uint64_t file_length, uint16_t& config_word) override;
  void PICConfiguerationDecode(const DataBuffer& buffer, const std::string& ic_ini_path,
                               uint16_t config_word) override;

 private:
  const ProgramPaths& paths_;
  Messages& messages_;
};

}  // namespace quenlet
