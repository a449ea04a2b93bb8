#include "buffer/format_detect.h"

#include "buffer/hex_text.h"
#include "buffer/intel_hex.h"
#include "buffer/motorola_srec.h"
#include "buffer/pof_file.h"
#include "buffer/tektronix_hex.h"

namespace quenlet {

bool DetectFormat(int32_t format, std::string_view text) {
  switch (format) {
    case kLoadIntelHex:
      return DetectIntelHex(text);
    case kLoadMotorola:
      return DetectMotorolaHex(text);
    case kLoadTektronix:
      return DetectTektronixHex(text);
    case kLoadPof:
      return DetectPof(text) != 0;
    default:
      return false;
  }
}

int32_t DetectHexOrPof(std::string_view text) {
  for (int32_t format : {kLoadIntelHex, kLoadMotorola, kLoadTektronix, kLoadPof}) {
    if (DetectFormat(format, text)) return format;
  }
  return kLoadAutoDetect;
}

namespace {

// Lines of text a hex file may carry before its first record (a tool's
// header); more than that, and the text is taken for what it looks like.
constexpr int kMaxLinesBeforeRecords = 16;

// The format whose record mark begins the line at text[i], or 0.
int32_t RecordMarkAt(std::string_view text, size_t& i) {
  const char mark = text[i];
  if (mark == ':') {
    ++i;
    return kLoadIntelHex;
  }
  if (mark == '/') {
    ++i;
    return kLoadTektronix;
  }
  const size_t type = mark == '%' ? i + 2 : i + 1;
  const bool s_mark = mark == 'S' || (mark == '%' && i + 1 < text.size() && text[i + 1] == 'S');
  if (s_mark && type < text.size() && text[type] >= '0' && text[type] <= '9') {
    i = type + 1;
    return kLoadMotorola;
  }
  return 0;
}

}  // namespace

int32_t HexFormatByShape(std::string_view text) {
  size_t i = 0;
  for (int lines = 0; lines <= kMaxLinesBeforeRecords; ++lines) {
    while (i < text.size() && IsRecordGap(static_cast<unsigned char>(text[i]))) ++i;
    if (i >= text.size()) return 0;
    const int32_t format = RecordMarkAt(text, i);
    if (format == 0) {
      // A line of text the readers pass over: on to the next line.
      for (; i < text.size() && text[i] != '\n' && text[i] != '\r'; ++i) {
        if (!IsSkippedOutsideRecords(static_cast<unsigned char>(text[i]))) return 0;
      }
      continue;
    }
    size_t digits = 0;
    while (i < text.size() && HexDigitValue(static_cast<unsigned char>(text[i])) >= 0) {
      ++digits;
      ++i;
    }
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const bool line_ends = i >= text.size() || text[i] == '\r' || text[i] == '\n';
    return digits >= 2 && line_ends ? format : 0;
  }
  return 0;
}

const char* DetectSuccessText(int32_t format) {
  switch (format) {
    case kLoadIntelHex:
      return "This is Intel Hex format !";
    case kLoadMotorola:
      return "This is Motorola Hex format !";
    case kLoadTektronix:
      return "This is Tektronix Hex format !";
    case kLoadPof:
      return "This is POF format !";
    default:
      return "";
  }
}

const char* DetectFailureText(int32_t format) {
  switch (format) {
    case kLoadIntelHex:
      return "File is not Intel Hex format !";
    case kLoadMotorola:
      return "File is not Motorola Hex format !";
    case kLoadTektronix:
      return "File is not Tektronix Hex format !";
    case kLoadPof:
      return "File is not POF format !";
    default:
      return "";
  }
}

}  // namespace quenlet
