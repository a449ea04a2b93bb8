#include "sim/wire_log.h"

#include "platform/strprintf.h"

namespace quenlet {

std::string WireEntry::Text() const {
  std::string text;
  switch (kind) {
    case WireKind::Open:
      return "open";
    case WireKind::Close:
      return "close";
    case WireKind::Control:
      text = strprintf("%s %02X %04X %04X %u", DeviceToHost() ? "IN" : "OUT", request, value, index,
                       static_cast<unsigned>(length));
      if (ok && DeviceToHost() && size != length) text += strprintf(" got %u", size);
      break;
    case WireKind::BulkOut:
    case WireKind::BulkIn:
      text = strprintf("bulk-%s %u", kind == WireKind::BulkOut ? "out" : "in", size);
      if (size != asked) text += strprintf("/%u", asked);
      break;
  }
  if (!ok) text += " fail";
  if (violation) text += " violation";
  return text;
}

std::vector<std::string> WireLog::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(entries_.size());
  for (const WireEntry& e : entries_) lines.push_back(e.Text());
  return lines;
}

std::vector<std::string> WireLog::TransferLines() const {
  std::vector<std::string> lines;
  for (const WireEntry& e : entries_) {
    if (e.kind != WireKind::Open && e.kind != WireKind::Close) lines.push_back(e.Text());
  }
  return lines;
}

}  // namespace quenlet
