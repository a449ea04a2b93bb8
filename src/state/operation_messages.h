#pragma once
// The fixed texts the device operations show, exactly as the operator knows
// them (spaces and punctuation included).
namespace quenlet::op_text {

// Single-shot operations and the checksum button.
inline constexpr const char* kCommand49Fail = "Command 0x49 Fail!";
inline constexpr const char* kProtectCommandFail = "USB Protect Command Fail !";
inline constexpr const char* kOptionBlockFail = "Error! Data -> VK-KZ 256 Buffer Fail";
inline constexpr const char* kError49CommandFail = "Error 49! Command Fail";
inline constexpr const char* kError47CommandFail = "Error 47! Command Fail";
inline constexpr const char* kError47DataFail = "Error 47! Data -> VK-KZ Buffer Fail";
inline constexpr const char* kProgramCommandFail = "USB Program Command Fail !";
inline constexpr const char* kNoMemoryTest = "Insufficient memory for GlobalAlloc!";

// Block transfers.
inline constexpr const char* kNoMemory = " Insufficient memory for GlobalAlloc! ";
inline constexpr const char* kNoStaging64K = "Memory Can't Open 64K Byte";
inline constexpr const char* kNoStaging128K = "Memory Can't Open 128K Byte";
inline constexpr const char* kAnnounceFail = "Error 43! Change 0x0000 Page Fail !!";
inline constexpr const char* kPageWriteRequestFail = "Error 4c! Read Command Fail";
inline constexpr const char* kFirstHalfWriteFail = " Read Data Fail";
inline constexpr const char* kSecondHalfWriteFail = " Write Data Fail";
inline constexpr const char* kProgramRunFail = "Error 49! USB Program Command Fail !";
inline constexpr const char* kReadRunFail = "Can't read!";
inline constexpr const char* kPageReadRequestFail = "Error 4b! Read Command Fail";
inline constexpr const char* kPageReadDataFail = " Read Data Fail";
inline constexpr const char* kInfoReadRequestFail = "Error 46! Read Command Fail";

// Status replies that report an error.
inline constexpr const char* kProtectedUpper = "IC has already Protected !!";
inline constexpr const char* kProtectedCantRead = "IC has already protected, Can't read!";
inline constexpr const char* kIcErrorTwoSpaces = "IC Error!!  Can't read!";
inline constexpr const char* kIcErrorComma = "IC Error!!, Can't read!";
inline constexpr const char* kIcErrorPlain = "IC Error, Can't read!";

// Programmer-side verify.
inline constexpr const char* kCommandFail49 = "Command Fail(0x49)";
inline constexpr const char* kCommandFail42 = "Command Fail(0x42)";
inline constexpr const char* kCommandFail = "Command Fail";

// A driver upload that failed part-way, formatted with the driver file's
// name, the pass, the number of passes and the transfer that failed.
inline constexpr const char* kDriverUploadFailFormat =
    "Cannot send the driver file \"%s\": pass %d of %d failed at %s.";

// A device whose device file could not be opened (the text the support-file
// uploads use too), formatted with the file's path.
inline constexpr const char* kCannotOpenFileFormat = "Cannot open file \"%s\".";
// A device file that opens but describes no device, formatted with its path.
inline constexpr const char* kNoDeviceSectionFormat =
    "The device file \"%s\" holds no device section [VK_KZExternValue].";

// No device chosen yet (a fresh start, or a remembered device whose file is
// gone): what a device step, Run or AutoRun says instead of starting. The
// program's own text; the unit's texts give none for this.
inline constexpr const char* kNoDeviceChosen =
    "No device is chosen yet.\n\nClick Type and choose the device in the socket first.";

// Refusals of this program where the device file leaves an operation
// nothing sensible to do.
inline constexpr const char* kUnknownReadRoutineFormat =
    "Read Mode Error! The device's read_mode 0x%04X names no read routine.";

}  // namespace quenlet::op_text
