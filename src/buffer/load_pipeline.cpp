#include "buffer/load_pipeline.h"

#include <cstring>
#include <span>
#include <stdexcept>

#include "buffer/binary_file.h"
#include "buffer/data_buffer.h"
#include "buffer/dialog_result.h"
#include "buffer/dos_exe.h"
#include "buffer/extend_pro.h"
#include "buffer/format_detect.h"
#include "buffer/intel_hex.h"
#include "buffer/motorola_srec.h"
#include "buffer/pof_file.h"
#include "buffer/stored_paths.h"
#include "buffer/tektronix_hex.h"
#include "platform/ini_file.h"
#include "platform/int_text.h"
#include "platform/program_paths.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"
#include "state/buffer_limits.h"
#include "state/main_form_state.h"

namespace quenlet {
namespace {

constexpr uint64_t kMotorolaWindow = 0x1000000;
constexpr const char* kLoadDlg = "LoadDlg";

void Refuse(Messages& messages, const std::string& text, const std::string& caption) {
  messages.Box(text, caption, MessageButtons::Ok, MessageIcon::Stop);
}

// Data bytes that a placement of len image bytes takes in this mode.
uint64_t PlacedCount(int32_t mode, uint64_t len) {
  switch (mode) {
    case kDataEveryByte:
    case kDataByteSwap:
    case kDataWordSwap:
    case kDataDoubleSwap:
      return len;
    case kDataEvenBytes:
    case kDataOddBytes:
      return (len + 1) / 2;
    case kDataGroupByte0:
    case kDataGroupByte1:
    case kDataGroupByte2:
    case kDataGroupByte3:
      return len / 4;
    default:
      return 0;  // modes the placements do not know
  }
}

// The popup's Swap Byte (3) stays the data-set mode for later loads, as its
// Even and Odd do; the placements know the same swap as the Byte Swap mode.
int32_t PlacementMode(int32_t mode) {
  return mode == kDataSwapPairs ? kDataByteSwap : mode;
}

// The detectors' failure texts and the .exe header message come without an
// icon; of the readers' messages the Intel and Tektronix checksum ones carry
// the stop icon.
void Plain(Messages& messages, const std::string& text, const std::string& caption) {
  messages.Box(text, caption, MessageButtons::Ok, MessageIcon::None);
}

MessageIcon ReaderIcon(int32_t format, HexParseFailure::Kind kind) {
  return kind == HexParseFailure::Kind::Checksum && format != kLoadMotorola ? MessageIcon::Stop
                                                                            : MessageIcon::None;
}

std::string ReaderHeadline(int32_t format, HexParseFailure::Kind kind) {
  if (format == kLoadMotorola) return "File Data ERROR !!\n\nPlease check your file!\n ";
  if (format == kLoadIntelHex && kind == HexParseFailure::Kind::Checksum) {
    return "File read error!!\n";
  }
  return "FORMAT ERROR !";
}

HexReadResult ReadHex(int32_t format, std::string_view text, uint8_t fill, Progress& progress) {
  switch (format) {
    case kLoadIntelHex:
      return ReadIntelHex(text, fill, progress);
    case kLoadMotorola:
      return ReadMotorolaS(text, fill, progress);
    default:
      return ReadTektronixHex(text, fill, progress);
  }
}

// BufSize after the load: the range reader's growth (to the range, or by
// 1024 when it fits), the Motorola size, then room for the slot.
uint64_t FinalBufSize(uint64_t buf_size, uint64_t range_length, bool motorola, uint64_t slot_end) {
  uint64_t n = range_length > buf_size ? range_length : buf_size;
  if (n > kMaxBufferSize)
    n = kMaxBufferSize;  // the range of a hex text may be larger than its data
  uint64_t size = n + DataBuffer::kSizeExtra;
  // S-record loads set the 16 MB buffer, which replaces the range reader's
  // growth (so loading again does not add 1024 bytes each time); a buffer
  // that was larger before is not cut down and keeps what lies above 16 MB.
  if (motorola && buf_size <= kMotorolaBufSize) size = kMotorolaBufSize;
  if (slot_end > size) {
    size = GrownBufSize(slot_end);
  }
  return size;
}

// Whether len bytes placed at dest fit the largest buffer.
bool FitsLargestBuffer(int64_t dest, uint64_t len) {
  return dest >= 0 && static_cast<uint64_t>(dest) <= kMaxBufferSize &&
         len <= kMaxBufferSize - static_cast<uint64_t>(dest);
}

void RefuseDataEnd(Messages& messages, const std::string& name, int64_t dest, uint64_t len) {
  Refuse(messages,
         strprintf("%s does not fit the buffer: its data would end at %s, and the largest buffer "
                   "holds %s bytes.",
                   name.c_str(), HexNumber(static_cast<uint64_t>(dest) + len).c_str(),
                   HexNumber(kMaxBufferSize).c_str()),
         "Load");
}

// A byte range (binary, .com, .exe, or a text auto detection will take for
// binary) that cannot fit even the largest buffer is refused before it is
// read, rather than read whole first. Hex and POF texts are read: their
// data may be far smaller than their text. True after the refusal.
bool RefuseOversizedByteRange(LoadSaveContext& context, const std::string& name, uint64_t first,
                              uint64_t last, int64_t dest) {
  const int32_t format = context.buffer.FileFormat();
  if (format >= kLoadIntelHex && format <= kLoadPof) return false;
  const uint64_t size = GetFileLength(name);
  const uint64_t end = last < size ? last + 1 : size;
  uint64_t count = end > first ? end - first : 0;
  if (format == kLoadDosExe) count = count > kDosExeHeaderSize ? count - kDosExeHeaderSize : 0;
  if (FitsLargestBuffer(dest, count)) return false;
  if (format == kLoadAutoDetect) {
    // The detectors and the record shape decide from the text's start.
    constexpr uint64_t kHead = 0x10000;
    const FileRangeRead head = ReadFileBytes(name, first, first + kHead - 1);
    if (head.status == FileRangeRead::Status::Read &&
        (DetectHexOrPof(head.bytes) != kLoadAutoDetect || HexFormatByShape(head.bytes) != 0)) {
      return false;
    }
  }
  RefuseDataEnd(context.messages, name, dest, count);
  return true;
}

// The block that becomes the buffer when an image is laid whole at 0, the
// image at its start (`image` then points there); empty when there is none.
// Where the image is the text's start (binary, .com, POF), the text's. For a
// hex image, the image's own block, or the text's with the image copied into
// it once, when the buffer's block of `block` bytes needs fewer new pages
// that way (a buffer sized by the text of a dense file): a page written for
// the first time costs several times a page copied.
PageBlock BlockToAdopt(HexReadResult& hex, TextBlock& text, std::span<const uint8_t>& image,
                       uint64_t block) {
  const bool text_start =
      !text.empty() && image.data() == reinterpret_cast<const uint8_t*>(text.data());
  if (text_start) return text.Release();
  if (!hex.image.HasData()) return {};
  const uint64_t len = image.size();
  const auto new_pages = [block](uint64_t have) { return block > have ? block - have : 0; };
  PageBlock taken;
  if (text.size() >= len && new_pages(text.size()) + len / 8 < new_pages(hex.image.Capacity())) {
    std::memcpy(text.data(), image.data(), len);
    hex.image.Release();
    taken = text.Release();
  } else {
    taken = hex.image.Release();
    text = TextBlock();  // read: it goes before the image grows
  }
  image = {taken.get(), len};
  return taken;
}

}  // namespace

LoadOutcome LoadTextIntoBuffer(DataBuffer& buffer, TextBlock text, const LoadRequest& request,
                               Messages& messages, Progress& progress) {
  LoadOutcome outcome;
  const std::string_view view(text);
  const uint64_t text_size = text.size();

  // Which reader: the dialog's choice, or the detectors in their order.
  int32_t format = request.format;
  bool detected = false;
  bool by_shape = false;
  if (format == kLoadAutoDetect) {
    format = DetectHexOrPof(view);
    detected = format != kLoadAutoDetect;
    if (!detected) {
      // Records that the detectors refused are still records: read them, so
      // a damaged hex file is reported rather than loaded as text.
      format = HexFormatByShape(view);
      by_shape = format != 0;
      detected = by_shape;
    }
    if (!detected) {
      format = kLoadBinary;
      if (request.report_detection) {
        messages.Box("Binary Code File", "Detect", MessageButtons::Ok, MessageIcon::None);
      }
    } else if (request.report_detection && !by_shape) {
      messages.Box(DetectSuccessText(format), "Auto detect", MessageButtons::Ok, MessageIcon::None);
    }
  }
  outcome.format = format;
  const int32_t mode = detected ? int32_t{kDataEveryByte} : buffer.DataMode();

  std::span<const uint8_t> image;
  HexReadResult hex;
  int64_t dest = request.dest;
  switch (format) {
    case kLoadIntelHex:
    case kLoadMotorola:
    case kLoadTektronix: {
      // A chosen format is checked first; a text made of that format's records
      // goes to the reader even where the detector would refuse it, so that
      // damage is reported with its line (and the detector's whole-file walk
      // is spared).
      if (!detected && HexFormatByShape(view) != format && !DetectFormat(format, view)) {
        Plain(messages, DetectFailureText(format), "ERROR !");
        return outcome;
      }
      const uint8_t fill =
          format == kLoadMotorola && !request.fill_unused ? uint8_t{0xFF} : request.fill;
      hex = ReadHex(format, view, fill, progress);
      if (!hex.ok() && hex.failure->kind == HexParseFailure::Kind::Memory) {
        Plain(messages, "Memory Error.", "ITL");
        return outcome;
      }
      if (!hex.ok()) {
        const HexParseFailure& f = *hex.failure;
        messages.Box(strprintf("%s\n%s, line %zu: %s.", ReaderHeadline(format, f.kind).c_str(),
                               request.name.c_str(), f.line, f.reason.c_str()),
                     "", MessageButtons::Ok, ReaderIcon(format, f.kind));
        return outcome;
      }
      if (!hex.image.HasData()) {
        // Sound records, but none with data: not a file of that format to load.
        Plain(messages, DetectFailureText(format), "ERROR !");
        return outcome;
      }
      if (request.report_detection && by_shape) {
        messages.Box(DetectSuccessText(format), "Auto detect", MessageButtons::Ok,
                     MessageIcon::None);
      }
      image = hex.image.Bytes();
      if (format == kLoadMotorola && dest >= 0) dest %= static_cast<int64_t>(kMotorolaWindow);
      break;
    }
    case kLoadPof: {
      const size_t offset = DetectPof(view);
      if (offset == 0) {
        Plain(messages, DetectFailureText(kLoadPof), "ERROR !");
        return outcome;
      }
      std::span<uint8_t> bytes(reinterpret_cast<uint8_t*>(text.data()), text.size());
      const size_t count = PofToImage(bytes, offset, buffer.GetDeviceSize());
      image = bytes.first(count);
      break;
    }
    case kLoadDosExe: {
      auto body = DosExeImage(
          std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
      if (!body) {
        Plain(messages, "Format Error !", "Load");
        return outcome;
      }
      image = *body;
      break;
    }
    default:  // .com, binary and any other code: the range as it is
      image = std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size());
      break;
  }

  const uint64_t len = image.size();
  const uint64_t placed = PlacedCount(PlacementMode(mode), len);
  if (placed == 0) {
    Refuse(messages,
           len == 0 ? strprintf("Nothing to load: %s holds no data.", request.name.c_str())
                    : strprintf("Nothing to load: the data set mode %d places no byte of the %llu "
                                "bytes of %s.",
                                mode, static_cast<unsigned long long>(len), request.name.c_str()),
           "Load");
    return outcome;
  }
  if (!FitsLargestBuffer(dest, len)) {
    RefuseDataEnd(messages, request.name, dest, len);
    return outcome;
  }
  uint64_t final_size = FinalBufSize(buffer.BufSize(), text_size, format == kLoadMotorola,
                                     static_cast<uint64_t>(dest) + len);
  if (final_size - DataBuffer::kSizeExtra > kMaxBufferSize) {
    Refuse(messages,
           strprintf("%s does not fit the buffer: it would need %s bytes, and the largest buffer "
                     "holds %s bytes.",
                     request.name.c_str(), HexNumber(final_size).c_str(),
                     HexNumber(kMaxBufferSize).c_str()),
           "Load");
    return outcome;
  }

  // Commit: the caller's sizing, one resize to the size the steps of a load
  // reach from there, then the placement, which then needs no growth of its
  // own. Whether the size fits does not depend on the size before.
  if (request.before_commit) {
    request.before_commit();
    final_size = FinalBufSize(buffer.BufSize(), text_size, format == kLoadMotorola,
                              static_cast<uint64_t>(dest) + len);
  }
  const int64_t n = static_cast<int64_t>(final_size - DataBuffer::kSizeExtra);
  // An image laid whole at 0 with the fill around it becomes the buffer
  // itself, grown in place to the block (BlockToAdopt). It is then not held
  // twice. Where that cannot be, `own` still holds the image for the
  // placement of a copy.
  PageBlock own;
  bool adopted = false;
  if (PlacementMode(mode) == kDataEveryByte && dest == 0 && request.fill_unused) {
    own = BlockToAdopt(hex, text, image, static_cast<uint64_t>(n) + DataBuffer::kBlockExtra);
    adopted = !own.empty() && buffer.AdoptImage(own, len, n, request.fill, progress);
  }
  // A hex text has been read: it goes before the buffer grows.
  if (hex.image.HasData() || !own.empty()) text = TextBlock();
  if (!adopted && !buffer.ResizeBuffer(n, messages)) return outcome;
  const int32_t old_mode = buffer.DataMode();
  buffer.SetDataMode(PlacementMode(mode));
  bool ok = adopted;
  if (!adopted) {
    progress.SetCaption("Loading...");
    ok = request.fill_unused
             ? buffer.PlaceImageWithFill(image, static_cast<int64_t>(len), request.fill, dest,
                                         messages, progress)
             : buffer.PlaceImage(image, static_cast<int64_t>(len), dest, messages, progress);
    progress.SetCaption("Waiting...");
  }
  buffer.SetDataMode(ok ? mode : old_mode);
  if (!ok) return outcome;
  buffer.SetFileStartAdd(static_cast<int32_t>(dest));
  buffer.SetFileSize(static_cast<int32_t>(static_cast<uint64_t>(dest) + len));
  // A hex image's sum covers its whole slot, whatever the mode placed in it;
  // a byte range's covers the bytes placed from the destination on.
  const bool hex_image =
      format == kLoadIntelHex || format == kLoadMotorola || format == kLoadTektronix;
  const uint64_t summed = hex_image ? len : placed;
  outcome.file_sum = buffer.GetCheckSum(dest, dest + static_cast<int64_t>(summed) - 1,
                                        request.report_sum ? 1 : 0, messages, progress);
  outcome.placed = placed;
  outcome.loaded = true;
  return outcome;
}

std::optional<TextBlock> ReadFileRange(LoadSaveContext& context) {
  IniFile ini(context.buffer.HistoryIniPath());
  const std::string name = ini.ReadString(kLoadDlg, "Name", "None");
  const int64_t first = ini.ReadInteger(kLoadDlg, "SourceSAdd", 0);
  const int64_t last = ini.ReadInteger(kLoadDlg, "SourceEAdd", 0);
  if (!CanOpenForReading(name)) {
    if (name != "NULL")
      context.messages.Box("Format Error !", "", MessageButtons::Ok, MessageIcon::None);
    return std::nullopt;
  }
  // An empty range loads nothing, and says nothing.
  if (last < first) return std::nullopt;
  if (first < 0) {
    Refuse(context.messages,
           strprintf("Nothing to load: the range of %s starts at %lld, before the file's first "
                     "byte.",
                     name.c_str(), static_cast<long long>(first)),
           "Load");
    return std::nullopt;
  }
  // The format is converted here, as the dialog stored it: a value that is not
  // a number ends the command with the conversion error.
  (void)StrToInt(ini.ReadString(kLoadDlg, "Format", "0"));
  if (RefuseOversizedByteRange(context, name, static_cast<uint64_t>(first),
                               static_cast<uint64_t>(last),
                               ini.ReadInteger(kLoadDlg, "DistSAdd", 0))) {
    return std::nullopt;
  }
  context.progress.Show();
  context.progress.SetPosition(0);
  FileRangeRead read =
      ReadFileBytes(name, static_cast<uint64_t>(first), static_cast<uint64_t>(last));
  context.progress.Complete();
  context.progress.Close();
  switch (read.status) {
    case FileRangeRead::Status::Read:
      break;
    case FileRangeRead::Status::NoMemory:
      context.messages.Box("Memory error.", "Load BIN File", MessageButtons::Ok, MessageIcon::None);
      return std::nullopt;
    case FileRangeRead::Status::CannotOpen:
      if (name != "NULL")
        context.messages.Box("Format Error !", "", MessageButtons::Ok, MessageIcon::None);
      return std::nullopt;
    case FileRangeRead::Status::ReadError:
      Refuse(context.messages,
             strprintf("%s cannot be read: %s", name.c_str(), std::strerror(read.error)), "Load");
      return std::nullopt;
  }
  if (read.bytes.empty()) {
    Refuse(context.messages,
           strprintf("Nothing to load: %s holds no byte from %llX on.", name.c_str(),
                     static_cast<long long>(first)),
           "Load");
    return std::nullopt;
  }
  return std::move(read.bytes);
}

int32_t LoadIntoBuffer(LoadSaveContext& context, TextBlock text, bool report_detection,
                       bool report_sum, std::function<void()> before_commit) {
  DataBuffer& buffer = context.buffer;
  IniFile ini(buffer.HistoryIniPath());
  LoadRequest request;
  request.name = ini.ReadString(kLoadDlg, "Name", "None");
  request.fill = static_cast<uint8_t>(ini.ReadInteger(kLoadDlg, "UserFill", 0));
  request.dest = ini.ReadInteger(kLoadDlg, "DistSAdd", 0);
  request.fill_unused = ini.ReadInteger(kLoadDlg, "UnuserFillCheck", 0) == 1;
  request.format = buffer.FileFormat();
  request.report_detection = report_detection;
  request.report_sum = report_sum;
  request.before_commit = std::move(before_commit);
  LoadSummary summary;
  summary.file_start = static_cast<uint32_t>(ini.ReadInteger(kLoadDlg, "SourceSAdd", 1));
  summary.file_end = static_cast<uint32_t>(ini.ReadInteger(kLoadDlg, "SourceEAdd", 1));

  const LoadOutcome outcome =
      LoadTextIntoBuffer(buffer, std::move(text), request, context.messages, context.progress);
  if (!outcome.loaded) return 0;
  if (request.format == kLoadAutoDetect) ini.WriteInteger(kLoadDlg, "Format", outcome.format);

  summary.file_sum = outcome.file_sum;
  const uint32_t device_size = buffer.GetDeviceSize();
  summary.device_sum = buffer.GetCheckSum(0, static_cast<int64_t>(device_size) - 1, 0,
                                          context.messages, context.progress);
  summary.device_start = 0;
  summary.device_end = device_size - 1;
  const std::string sum_text = strprintf("%08lX", static_cast<unsigned long>(summary.device_sum));
  const bool changed = sum_text != context.windows.SumText();
  context.windows.SetSumText(sum_text);
  context.windows.SetSumRed(changed);
  context.windows.SetSummary(summary);
  if (context.windows.TakeShowSummaryRequest()) context.windows.ShowSummaryModal();
  context.windows.RedrawView();
  return 1;
}

bool LoadFileClick(LoadSaveContext& context, const std::optional<std::string>& preset_name) {
  DataBuffer& buffer = context.buffer;
  // A load path field reading "0" becomes the dialog's file name.
  const std::string load_path = context.windows.LoadPathText();
  const std::optional<std::string> preset =
      preset_name ? preset_name
                  : (load_path == "0" ? std::optional<std::string>(load_path) : std::nullopt);
  if (!context.windows.RunLoadDialog(preset)) return false;
  if (ReadDialogOK(buffer.HistoryIniPath(), kLoadDlg) == 0) return false;
  std::function<void()> sizing = context.windows.TakeBufferSizing();
  std::function<bool()> remember_name = context.windows.TakeNameHistoryWrite();
  IniFile ini(buffer.HistoryIniPath());
  const std::string name = ini.ReadString(kLoadDlg, "Name", "None");
  ini.WriteInteger("CommonParameterSet", "CommonDataSelect", 0);
  // The file is named where the operator sees it once it is in the buffer.
  auto loaded_file = [&] {
    context.windows.SetLoadPathText(name);
    if (remember_name) remember_name();
  };
  try {
    std::optional<TextBlock> text = ReadFileRange(context);
    if (!text) return false;
    const std::string ic_ini = ResolveIcIniFile(buffer, context.paths);
    const bool pic = !ic_ini.empty() &&
                     IniFile(ic_ini).ReadInteger("SysInformation", "ToCountPICsumFlag", 0) == 1;
    if (!pic) {
      const bool loaded =
          LoadIntoBuffer(context, std::move(*text), true, false, std::move(sizing)) == 1;
      if (loaded) loaded_file();
      if (loaded && !ic_ini.empty() && HaveExtendPro(ic_ini)) {
        buffer.SetExtProRan(1);
        RunExtendPro(buffer, context.paths, context.messages, context.windows.MainWindowHandle(),
                     4);
      }
      return loaded;
    }
    // PIC devices: their own sum of what was loaded, and the decode of the
    // configuration word; both only after a load that placed the data.
    if (LoadIntoBuffer(context, std::move(*text), false, false, std::move(sizing)) != 1) {
      return false;
    }
    loaded_file();
    if (context.pic) {
      uint16_t config_word = 0;
      const std::optional<uint32_t> sum =
          context.pic->CounterPICcheckSum(buffer, ic_ini, GetFileLength(name), config_word);
      buffer.SetSumValue(sum.value_or(0));
      // Without a sum no configuration word was read: nothing to decode.
      if (sum) context.pic->PICConfiguerationDecode(buffer, ic_ini, config_word);
    }
    // The sum field shows the sum its colour is judged by.
    context.windows.SetSumText(strprintf("%08lX", static_cast<unsigned long>(buffer.SumValue())));
    context.windows.RedrawView();
    const bool red = buffer.SumValue() != static_cast<uint32_t>(context.state.LastChecksum);
    context.windows.SetSumRed(red);
    if (red) context.state.LastChecksum = static_cast<int32_t>(buffer.SumValue());
    return true;
  } catch (const std::exception& e) {
    context.messages.ShowError(e.what());
    return false;
  }
}

int32_t DetectFileFormat(const std::string& history_ini_path) {
  IniFile ini(history_ini_path);
  const std::string name = ini.ReadString(kLoadDlg, "Name", "None");
  const int64_t first = ini.ReadInteger(kLoadDlg, "SourceSAdd", 0);
  const int64_t last = ini.ReadInteger(kLoadDlg, "SourceEAdd", 0);
  if (first < 0 || last < first) return 0;
  const FileRangeRead read =
      ReadFileBytes(name, static_cast<uint64_t>(first), static_cast<uint64_t>(last));
  if (read.status != FileRangeRead::Status::Read) return 0;
  return DetectHexOrPof(read.bytes);
}

}  // namespace quenlet
