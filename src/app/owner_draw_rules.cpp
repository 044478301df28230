#include "app/owner_draw_rules.h"

#include <algorithm>
#include <cstdint>

int TreeItemImage(int image, bool hasChildren, bool expanded, bool hasButtons) {
  if (image != 0 && image != 1) return image;
  if (hasChildren) return expanded ? 1 : 0;
  return hasButtons ? 0 : 2;
}

bool IsOnTreeImage(int x, int textLeft) {
  int imageLeft = textLeft - kTreeImageOffset;
  return x >= imageLeft && x < imageLeft + kTreeImageWidth;
}

int TreeConnectorEnd(int x, int indent) { return x + 8 - indent; }

CTreeExpandBox TreeExpandBox(int x, int y, bool collapsed) {
  CTreeExpandBox box;
  box.frame = {x - 4, y - 4, x + 5, y + 5};
  box.bar = {x - 2, y, x + 3, y + 1};
  if (collapsed) box.upright = CRect{x, y - 2, x + 1, y + 3};
  return box;
}

int FittedTabWidth(int blanksWidth, const std::vector<int>& textWidths) {
  int widest = blanksWidth;
  for (int width : textWidths) widest = std::max(widest, width);
  return widest + 16;
}

CRect TabFillRect(const CRect& tab, bool pressed, bool highlighted) {
  if (pressed) return {tab.left + 2, tab.top + 3, tab.right - 1, tab.bottom + 1};
  if (highlighted) return {tab.left, tab.top + 1, tab.right, tab.bottom + 3};
  return {tab.left, tab.top + 3, tab.right, tab.bottom + 3};
}

int TabTextShift(bool pressed) { return pressed ? -1 : 2; }

namespace {

// A position along one axis: after (right, bottom), centred, or at the start.
int Align(int size, int client, bool after, bool centred) {
  if (after) return client - size;
  if (centred) return (client - size) / 2;
  return 0;
}

// value * numerator / denominator in 64 bits, rounded to the nearest integer.
int Scale(int value, int numerator, int denominator) {
  std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  return static_cast<int>((product + denominator / 2) / denominator);
}

}  // namespace

CRect PlacePicture(int pictureWidth, int pictureHeight, int clientWidth, int clientHeight,
                   int options) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return {};
  clientWidth = std::max(clientWidth, 0);
  clientHeight = std::max(clientHeight, 0);
  int width = pictureWidth;
  int height = pictureHeight;
  bool tooLarge = width > clientWidth || height > clientHeight;
  if (tooLarge || (options & kPictureAlwaysScale)) {
    width = clientWidth;
    height = Scale(pictureHeight, clientWidth, pictureWidth);
    if (height > clientHeight) {
      height = clientHeight;
      width = Scale(pictureWidth, clientHeight, pictureHeight);
    }
  }
  int left =
      Align(width, clientWidth, options & kPictureAlignRight, options & kPictureCenterHorizontally);
  int top = Align(height, clientHeight, options & kPictureAlignBottom,
                  options & kPictureCenterVertically);
  return {left, top, left + width, top + height};
}

int BitmapListItemHeight(int textHeight, std::optional<int> firstBitmapHeight) {
  return std::max(textHeight, firstBitmapHeight.value_or(0));
}
