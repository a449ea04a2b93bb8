#pragma once
// The engineers' hidden panel of the main window: raw requests typed in by
// hand, 512-byte moves between the unit's memory and the data buffer, the
// version and status replies, the single-shot cores, and the hook that hands
// the data buffer to the outside test library of the program directory.
//
// Bounds kept here: the test library is given at most min(BufSize, 0x8000)
// bytes and whatever it hands back is never taken as the buffer; a typed
// number wider than 16 bits is refused; a typed data-stage length goes out
// as that many zero bytes, at most kMaxTypedDataStage.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace quenlet {

class InputBox;
struct OperationContext;

namespace panel_text {
inline constexpr const char* kNoMemory = "Insufficient memory for GlobalAlloc!";
inline constexpr const char* kCommandWriteFail = "UsbVendorCmdWrite()...Fail";
inline constexpr const char* kDataReadFail = "UsbDataRead()...N/A";
inline constexpr const char* kDataWriteFail = "UsbDataWrite()...N/A";
inline constexpr const char* kReturnValueFail = "return value fail!";
inline constexpr const char* kInputCaption = "Input";
inline constexpr const char* kAddrPrompt = "Addr";
inline constexpr const char* kIndexPrompt = "Index";
inline constexpr const char* kSizePrompt = "Size";
inline constexpr const char* kPageAddrDefault = "程式記憶體選擇";
inline constexpr const char* kPageIndexDefault = "資料記憶體選擇";
inline constexpr const char* kNumberDefault = "0";
inline constexpr const char* kDataStageTooLongFormat =
    "A data stage of %u bytes is longer than the %u bytes a request can carry: request %02X was "
    "not sent.";
}  // namespace panel_text

// The data stage a typed length may ask for (the kernel's limit for one
// control transfer).
inline constexpr uint32_t kMaxTypedDataStage = 4096;
// The bytes that Read SRAM, Write SRAM, 0x44 and 0x45 move.
inline constexpr size_t kSramBlockSize = 512;
// The most bytes of the buffer the test library is given.
inline constexpr uint32_t kTestLibraryMaxLength = 0x8000;

// The version reply's fields as its message lists them; the count is bytes
// 16 and 17 (little-endian) when all 18 bytes arrived, else 0.
struct FirmwareRecordFields {
  std::string name;     // bytes 0-9
  std::string version;  // bytes 10-13
  uint16_t state = 0;   // bytes 14-15
  uint16_t components = 0;
};
FirmwareRecordFields ParseFirmwareRecord(const uint8_t* bytes, size_t received);
std::string FirmwareRecordMessage(const FirmwareRecordFields& fields);
// "系統狀態=", "錯誤地址(H)=", "錯誤地址(L)=", "錯誤資料=" with words 0 to 3.
std::string StatusMessage(const std::array<uint8_t, 16>& status);

class EngineeringPanel {
 public:
  EngineeringPanel(OperationContext& ctx, InputBox& input);
  EngineeringPanel(const EngineeringPanel&) = delete;
  EngineeringPanel& operator=(const EngineeringPanel&) = delete;

  void Button6Click();   // "Open USB"
  void Button7Click();   // "Read SRAM": ReadSram(0x46)
  void Button8Click();   // "Write SRAM": WriteSram(0x47)
  void Button9Click();   // "0x4c" and "0x4d": ReadSram(0x4C)
  void Button12Click();  // "0x41": the version request (0x4D)
  void Button13Click();  // "0x42": the status request
  void Button15Click();  // "Page": 0x43 with Addr and Index
  void Button16Click();  // "0x44": 512 bytes of the raw area into the buffer
  void Button17Click();  // "0x45": the buffer's first 512 bytes word by word
  void Button18Click();  // "0x48" with Addr, Index and Size
  void Button19Click();  // "0x49" with Addr, Index and Size
  void Button20Click();  // "0x4a" with Addr, Index and Size
  void Button21Click();  // "0x4B": the component records into the test table
  void Button1Click();   // the test library with the hand-over pointer
  void Button2Click();   // the test library with the data buffer

  // The single-shot cores, mode 0.
  void EraseClick();
  void checkClick();
  void programClick();
  void verifyClick();
  void ProtClick();
  void progClick();
  void InitClick() {}

  // Request, then 512 bytes into (ReadSram) or out of (WriteSram) the start
  // of the buffer; the editor redraws. False after the failure was shown.
  bool ReadSram(uint8_t request);
  bool WriteSram(uint8_t request);
  // One OUT request; a length asks for that many zero bytes as data stage.
  bool VendorCmd(uint8_t request, uint16_t value, uint16_t index, uint16_t length);

  // The bytes the last "0x4B" brought.
  const std::vector<uint8_t>& ComponentTable() const { return component_table_; }
  // The hand-over fields after the last library call (never used by us).
  void* HandOverPointer() const { return hand_over_pointer_; }
  void* HandOverHandle() const { return hand_over_handle_; }
  uint32_t HandOverLength() const { return hand_over_length_; }

 private:
  // The buffer's first bytes, zeros past its end; and back, cut at its end.
  std::array<uint8_t, kSramBlockSize> BufferStart() const;
  void PutBufferStart(std::span<const uint8_t> block);
  bool MoveSram(uint8_t request, bool into_buffer);
  // StepFail and "Insufficient memory for GlobalAlloc!" when there is none.
  bool HaveBuffer();
  void Fail(const char* text);
  // The typed numbers, in prompt order; nullopt once one was refused.
  std::optional<std::vector<uint16_t>> AskNumbers(
      std::initializer_list<std::pair<const char*, const char*>> prompts);
  void TypedRequest(uint8_t request);
  void CallLibrary(void** field, uint32_t length);
  void RefreshEditor();

  OperationContext& ctx_;
  InputBox& input_;
  std::vector<uint8_t> component_table_;
  void* hand_over_pointer_ = nullptr;
  void* hand_over_handle_ = nullptr;
  uint32_t hand_over_length_ = 0;
};

}  // namespace quenlet
