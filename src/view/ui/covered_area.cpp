#include "view/ui/covered_area.h"

#include <algorithm>

QRect CoveredArea(const QImage& layer) {
  const int width = layer.width();
  const int height = layer.height();
  int top = height, bottom = -1, left = width, right = -1;
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
    // The layer is laid over every frame of a moving view, and most of its rows hold
    // nothing: a row whose bits are all clear is passed over at the speed of the memory.
    QRgb bits = 0;
    for (int x = 0; x < width; ++x) bits |= row[x];
    if (bits == 0) continue;
    int first = 0;
    while (first < width && qAlpha(row[first]) == 0) ++first;
    if (first == width) continue;
    int last = width - 1;
    while (qAlpha(row[last]) == 0) --last;
    top = std::min(top, y);
    bottom = y;
    left = std::min(left, first);
    right = std::max(right, last);
  }
  return bottom < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}
