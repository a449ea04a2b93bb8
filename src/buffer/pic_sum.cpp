#include "buffer/pic_sum.h"

#include "buffer/data_buffer.h"
#include "buffer/debug_log.h"
#include "platform/hex_number.h"
#include "platform/ini_file.h"
#include "platform/ini_snapshot.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"

namespace quenlet {

// "Protect : Configueration " + 數值與 + " Ini " + 中定義有誤差, as the list
// has always held it.
const char* const kPicProtectMismatchEntry =
    "Protect : Configueration \xBC\xC6\xAD\xC8\xBB\x50 Ini "
    "\xA4\xA4\xA9\x77\xB8\x71\xA6\xB3\xBB\x7E\xAE\x74";

namespace {

constexpr const char* kPicSumSection = "PIC_SUM";
constexpr const char* kConfigSection = "PICConfiguration";

uint16_t WordAt(std::span<const uint8_t> bytes, uint64_t word) {
  return static_cast<uint16_t>(bytes[2 * word] | (bytes[2 * word + 1] << 8));
}

// The first key whose bytes pass the buffer, as the message names it.
std::optional<std::string> BeyondBuffer(const PicSumKeys& keys, uint64_t size) {
  struct Need {
    const char* key;
    uint32_t value;
    uint64_t end;  // bytes the key's words need from byte 0
  };
  for (const Need& n : {Need{"SUM_ENDADD", keys.sum_end, 2 * uint64_t{keys.sum_end}},
                        Need{"CON_POS", keys.config_pos, 2 * uint64_t{keys.config_pos} + 2},
                        Need{"ID_POS", keys.id_pos, 2 * uint64_t{keys.id_pos} + 8}}) {
    if (n.end > size) {
      return strprintf(
          "PIC_SUM address beyond the buffer!\n%s=%X needs %llX bytes, the buffer holds %llX.",
          n.key, n.value, static_cast<unsigned long long>(n.end),
          static_cast<unsigned long long>(size));
    }
  }
  return std::nullopt;
}

}  // namespace

uint32_t PicHexValue(std::string_view text) {
  // A key past 32 bits names an address past any buffer, which the sum's
  // bound check then refuses.
  return static_cast<uint32_t>(*ReadHexNumber(text, UINT32_MAX, HexOverflow::kClamp));
}

PicSumKeys ReadPicSumKeys(const IniSnapshot& ic_ini) {
  auto hex = [&](const char* key) {
    return PicHexValue(ic_ini.ReadString(kPicSumSection, key, "None"));
  };
  PicSumKeys keys;
  keys.and_bits = ic_ini.ReadInteger(kPicSumSection, "PICANDBIT", 0);
  keys.sum_end = hex("SUM_ENDADD");
  keys.config_and = hex("CON_AND_NUM");
  keys.config_pos = hex("CON_POS");
  keys.extend_add = hex("Con_Extend_Add");
  keys.id_pos = hex("ID_POS");
  return keys;
}

std::optional<PicSumResult> ComputePicChecksum(std::span<uint8_t> bytes, const PicSumKeys& keys,
                                               std::string& error) {
  // Only the mask's low 8 bits reach the high bytes, so only they are judged.
  const auto mask = static_cast<uint8_t>(keys.and_bits & 0xFF);
  if (mask < 0x0F) {
    error = kPicAndBitsError;
    return std::nullopt;
  }
  if (std::optional<std::string> beyond = BeyondBuffer(keys, bytes.size())) {
    error = *beyond;
    return std::nullopt;
  }
  PicSumResult r;
  for (uint64_t w = 0; w < keys.sum_end; ++w) {
    uint8_t& high = bytes[2 * w + 1];
    high &= mask;
    r.sum += bytes[2 * w] + 256u * high;
  }
  // Taken after the masking: a word in the summed range is masked already.
  r.config_word = WordAt(bytes, keys.config_pos);
  r.sum += r.config_word & keys.config_and;
  for (uint64_t i = 0; i < r.id_words.size(); ++i) {
    r.id_words[i] = WordAt(bytes, uint64_t{keys.id_pos} + i);
  }
  r.sum += keys.extend_add;
  return r;
}

PicConfigLetters ReadPicConfigLetters(const IniSnapshot& ic_ini) {
  PicConfigLetters letters{};
  for (int i = 0; i < 16; ++i) {
    const std::string value = ic_ini.ReadString(kConfigSection, strprintf("Bit%d", i), "None");
    letters[i] = value.empty() ? '\0' : value[0];
  }
  return letters;
}

PicDecode DecodePicConfiguration(uint16_t config_word, const PicConfigLetters& letters) {
  auto bit = [config_word](int i) { return (config_word >> i) & 1; };
  // The highest bit carrying one of `set`, and its letter; -1 when none.
  auto highest = [&letters](std::string_view set) {
    for (int i = 15; i >= 0; --i) {
      if (set.find(letters[i]) != std::string_view::npos && letters[i] != '\0') {
        return std::pair<int, char>{i, letters[i]};
      }
    }
    return std::pair<int, char>{-1, '\0'};
  };
  // The field of `bits` bits whose top bit is `top`, top bit first; nullopt
  // when it would reach below bit 0.
  auto field = [&bit](int top, int bits) -> std::optional<int> {
    if (top - bits + 1 < 0) return std::nullopt;
    int v = 0;
    for (int i = top; i > top - bits; --i) v = v * 2 + bit(i);
    return v;
  };
  auto mask_of = [&letters](char letter) {
    uint16_t m = 0;
    for (int i = 0; i < 16; ++i) {
      if (letters[i] == letter) m = static_cast<uint16_t>(m | (1u << i));
    }
    return m;
  };

  PicDecode d;
  const uint16_t a = mask_of('A');
  const uint16_t b = mask_of('B');
  const uint16_t c = mask_of('C');
  if (a != 0) {
    const uint16_t v = config_word & a;
    if (v == 0) {
      d.ProtectSelectItem = 0;
    } else if (v == a) {
      d.ProtectSelectItem = 1;
    } else {
      d.protect_mismatch = true;
    }
  } else if (b != 0 && c != 0) {
    const bool b_set = (config_word & b) != 0;
    const bool c_set = (config_word & c) != 0;
    d.ProtectSelectItem = !b_set ? (!c_set ? 1 : 3) : (!c_set ? 2 : 0);
  }

  if (const int dbit = highest("D").first; dbit >= 0) {
    d.PowerUpTimer = bit(dbit) ? 2 : 1;
  } else if (const int ebit = highest("E").first; ebit >= 0) {
    d.PowerUpTimer = bit(ebit) ? 1 : 2;
  }

  if (const auto [top, letter] = highest("GHIJK"); top >= 0) {
    static constexpr int kG[] = {0, 1, 5, 6};
    static constexpr int kH[] = {0, 1, 2, 4};
    static constexpr int kI[] = {7, 4, 1, 3};
    static constexpr int kK[] = {0, 1, 2, -1, 11, 9, 10, 8};  // 011 has no value
    const int bits = letter == 'J' ? 1 : letter == 'K' ? 3 : 2;
    if (const std::optional<int> v = field(top, bits)) {
      int value = -1;
      switch (letter) {
        case 'G':
          value = kG[*v];
          break;
        case 'H':
          value = kH[*v];
          break;
        case 'I':
          value = kI[*v];
          break;
        case 'J':
          value = *v ? 5 : 2;
          break;
        default:
          value = kK[*v];
          break;
      }
      if (value >= 0) d.OSCSelect = value;
    }
  }

  if (const auto [top, letter] = highest("LM"); top >= 0) {
    static constexpr int kM[] = {0, 3, 4, 2};
    if (letter == 'L') {
      d.WatchDogSelect = bit(top);
    } else if (const std::optional<int> v = field(top, 2)) {
      d.WatchDogSelect = kM[*v];
    }
  }

  const int n = highest("N").first;
  const int o = highest("O").first;
  const int p = highest("P").first;
  if (n >= 0 && o >= 0 && p >= 0) {
    switch (bit(p) * 4 + bit(o) * 2 + bit(n)) {
      case 7:
        d.ProcessorMode = 1;
        break;
      case 5:
        d.ProcessorMode = 2;
        break;
      case 0:
        d.ProcessorMode = 4;
        break;
      case 6:
        d.ProcessorMode = 3;
        break;
      default:
        break;
    }
  }

  if (const int q = highest("Q").first; q >= 0) d.BrownOutEnable = bit(q) ? 2 : 1;
  if (const int s = highest("S").first; s >= 0) d.MCLRE = bit(s) ? 2 : 1;
  return d;
}

std::optional<uint32_t> PicSumHooks::CounterPICcheckSum(DataBuffer& buffer,
                                                        const std::string& ic_ini_path,
                                                        uint64_t /*file_length*/,
                                                        uint16_t& config_word) {
  std::string error;
  const std::optional<PicSumResult> r =
      ComputePicChecksum(buffer.Bytes(), ReadPicSumKeys(IniSnapshot(ic_ini_path)), error);
  if (!r) {
    messages_.Box(error, kPicSumCaption, MessageButtons::Ok, MessageIcon::None);
    return std::nullopt;
  }
  config_word = r->config_word;
  IniBatch ids;
  for (size_t i = 0; i < r->id_words.size(); ++i) {
    ids.WriteString(kConfigSection, strprintf("IDCODE%zu", i + 1),
                    strprintf("%02X", unsigned{r->id_words[i]}));
  }
  IniFile(buffer.HistoryIniPath()).Write(ids);
  return r->sum;
}

void PicSumHooks::PICConfiguerationDecode(const DataBuffer& buffer, const std::string& ic_ini_path,
                                          uint16_t config_word) {
  const PicDecode d =
      DecodePicConfiguration(config_word, ReadPicConfigLetters(IniSnapshot(ic_ini_path)));
  if (d.protect_mismatch) AppendDebugLog(buffer, paths_, kPicProtectMismatchEntry);
  IniBatch selections;
  for (const auto& [key, value] :
       {std::pair{"ProtectSelectItem", d.ProtectSelectItem},
        std::pair{"PowerUpTimer", d.PowerUpTimer}, std::pair{"OSCSelect", d.OSCSelect},
        std::pair{"WatchDogSelect", d.WatchDogSelect}, std::pair{"ProcessorMode", d.ProcessorMode},
        std::pair{"BrownOutEnable", d.BrownOutEnable}, std::pair{"MCLRE", d.MCLRE}}) {
    if (value) selections.WriteInteger(kConfigSection, key, *value);
  }
  IniFile(buffer.HistoryIniPath()).Write(selections);
}

}  // namespace quenlet
