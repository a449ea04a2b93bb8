#pragma once
// Which reader a loaded text goes to: the load dialog's format codes, the
// detectors in their fixed order, and their report texts.
#include <cstdint>
#include <string_view>

namespace quenlet {

// File-format codes of the load dialog and the load pipeline.
enum LoadFormat : int32_t {
  kLoadAutoDetect = 0,
  kLoadDosExe = 1,
  kLoadDosCom = 2,
  kLoadBinary = 3,
  kLoadIntelHex = 4,
  kLoadMotorola = 5,
  kLoadTektronix = 6,
  kLoadPof = 7,
};

// Runs the detectors in the order Intel HEX, Motorola, Tektronix, POF and
// returns the code of the first that passes, or kLoadAutoDetect (0) when none
// does (the text is then binary).
int32_t DetectHexOrPof(std::string_view text);

// Whether the text passes the detector of `format` (4 to 7).
bool DetectFormat(int32_t format, std::string_view text);

// The hex format (4, 5 or 6) whose records the text's first record line is
// made of, judged from its shape only (record mark and hex digits up to the
// line end), or 0. Up to 16 lines of text without a record mark (a tool's
// comment) may come first. Used so that a hex file with a damaged record is
// reported as damaged rather than taken for binary text.
int32_t HexFormatByShape(std::string_view text);

// Report texts of the detectors: the success text (caption "Auto detect")
// and the failure text (caption "ERROR !") of format 4 to 7.
const char* DetectSuccessText(int32_t format);
const char* DetectFailureText(int32_t format);

}  // namespace quenlet
