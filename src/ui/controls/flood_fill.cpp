#include "ui/controls/flood_fill.h"

#include <vector>

namespace quenlet {

int FloodFillSurface(QImage& image, QPoint seed, QRgb target, QRgb fill) {
  if (fill == target || !image.rect().contains(seed)) return 0;
  if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32) {
    image.convertTo(QImage::Format_ARGB32);
  }
  if (image.pixel(seed) != target) return 0;

  // Scanline fill: each popped point fills its whole run of the row, then
  // queues one point per run of `target` in the rows above and below.
  const int width = image.width();
  const int height = image.height();
  int changed = 0;
  std::vector<QPoint> pending{seed};
  while (!pending.empty()) {
    const QPoint p = pending.back();
    pending.pop_back();
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(p.y()));
    if (row[p.x()] != target) continue;
    int left = p.x();
    while (left > 0 && row[left - 1] == target) --left;
    int right = p.x();
    while (right + 1 < width && row[right + 1] == target) ++right;
    for (int x = left; x <= right; ++x) row[x] = fill;
    changed += right - left + 1;
    for (int y : {p.y() - 1, p.y() + 1}) {
      if (y < 0 || y >= height) continue;
      const auto* next = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      bool in_run = false;
      for (int x = left; x <= right; ++x) {
        const bool hit = next[x] == target;
        if (hit && !in_run) pending.emplace_back(x, y);
        in_run = hit;
      }
    }
  }
  return changed;
}

}  // namespace quenlet
