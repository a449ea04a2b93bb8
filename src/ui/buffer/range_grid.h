#pragma once
// The byte/word range fields of the block, fill and checksum dialogs, laid
// out alike in each:
//
//   Range :
//                    8 Bit       16 Bit
//     Start Address : [0000000]   [0000000]
//     End Address :   [0007FFF]   [0003FFF]
//
// Each byte field and its word twin follow each other as the user types.
#include <initializer_list>

#include "buffer/range_fields.h"

class QGridLayout;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace quenlet {

class HexAddressEdit;

struct RangeEdits {
  HexAddressEdit* start8 = nullptr;
  HexAddressEdit* end8 = nullptr;
  HexAddressEdit* start16 = nullptr;
  HexAddressEdit* end16 = nullptr;
};

// The dialog's names for the four fields and its captions.
struct RangeGridNames {
  const char* title;         // "Range :", "Source Range :"
  const char* byte_caption;  // "8 Bit", "8 Bit :"
  const char* word_caption;
  const char* start8;
  const char* end8;
  const char* start16;
  const char* end16;
};

// Rows 0 to 3 of the returned grid; the caller may add rows below (the
// label column is 1, the byte fields 2, the word fields 3).
QGridLayout* MakeRangeGrid(const RangeGridNames& names, RangeEdits& edits, QWidget* parent);

// The range buttons ("IC", "Max", "File") in a row under the fields.
QHBoxLayout* MakeRangeButtonRow(std::initializer_list<QPushButton*> buttons);

void PullRange(const RangeEdits& edits, RangeFields& fields);
void PushRange(const RangeEdits& edits, const RangeFields& fields);
void EnableRange(const RangeEdits& edits, bool enabled);

// The grid's columns.
inline constexpr int kRangeLabelColumn = 1;
inline constexpr int kRangeByteColumn = 2;
inline constexpr int kRangeWordColumn = 3;

}  // namespace quenlet
