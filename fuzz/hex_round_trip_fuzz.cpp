// Any image written by the hex writers reads back as the same bytes, padded
// to 32 with the bytes that follow (zero past the end).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "buffer/intel_hex.h"
#include "buffer/motorola_srec.h"
#include "buffer/tektronix_hex.h"
#include "fuzz_support.h"
#include "platform/user_interfaces.h"

namespace {

class StringSink : public quenlet::ByteSink {
 public:
  bool Write(std::span<const char> bytes) override {
    text.append(bytes.data(), bytes.size());
    return true;
  }
  std::string text;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  if (size < 1) return 0;
  const std::vector<uint8_t> image(data + 1, data + size);
  const uint64_t length = image.size() == 0 ? 0 : 1 + data[0] % image.size();
  const uint64_t padded = PaddedLength(length);
  std::vector<uint8_t> expected(padded, 0);
  if (!image.empty()) {
    std::memcpy(expected.data(), image.data(), std::min<size_t>(padded, image.size()));
  }
  NullProgress progress;
  for (int kind = 0; kind < 5; ++kind) {
    StringSink sink;
    const SaveSource source(image);
    HexReadResult back;
    switch (kind) {
      case 0:
        fuzz::Check(WriteIntelHex(sink, source, length, progress) == WriteOutcome::Written,
                    "intel");
        back = ReadIntelHex(sink.text, 0xAA, progress);
        break;
      case 4:
        fuzz::Check(WriteTektronixHex(sink, source, length, progress) == WriteOutcome::Written,
                    "tek");
        back = ReadTektronixHex(sink.text, 0xAA, progress);
        break;
      default: {
        const SRecordVariant v = kind == 1   ? SRecordVariant::S1
                                 : kind == 2 ? SRecordVariant::S2
                                             : SRecordVariant::S3;
        fuzz::Check(WriteMotorolaS(sink, source, v, length, progress) == WriteOutcome::Written,
                    "s");
        back = ReadMotorolaS(sink.text, 0xAA, progress);
        break;
      }
    }
    fuzz::Check(back.ok(), "written text reads back");
    const auto bytes = back.image.Bytes();
    fuzz::Check(bytes.size() == expected.size(), "same length");
    fuzz::Check(
        expected.empty() || std::memcmp(bytes.data(), expected.data(), expected.size()) == 0,
        "same bytes");
  }
  return 0;
}
