#pragma once

#include <optional>
#include <vector>

#include "platform/text_conversions.h"

// The geometry and state rules of the program's owner-drawn controls (the tree with
// image toggles, the tab strip with fitted widths, the picture control and the bitmap
// list), kept apart from the windows so that they can be checked without a display.
// Rectangles are CRect: right and bottom are exclusive.

// Tree items.

// The image an item shows. image is the item's image index (its selected image when
// it is selected). Indexes 0 and 1 are toggles: an item with children shows 1 when
// expanded and 0 when collapsed; an item without children shows 0 when the tree has
// buttons and 2 otherwise. Any other index is shown as it is.
int TreeItemImage(int image, bool hasChildren, bool expanded, bool hasButtons);

// The image of an item lies this far left of its text and is this wide.
inline constexpr int kTreeImageOffset = 19;
inline constexpr int kTreeImageWidth = 16;

// True when x falls on the image of an item whose text starts at textLeft.
bool IsOnTreeImage(int x, int textLeft);

// The end of an item's connecting line: x is one pixel left of its image, indent the
// tree's indentation; the line runs from x to the result, where the parent's vertical
// line and the expand boxes stand.
int TreeConnectorEnd(int x, int indent);

// The expand box around the point (x, y), and its sign: the bar always, the upright
// only for a collapsed item.
struct CTreeExpandBox {
  CRect frame;                   // 4 pixels left and above to 5 right and below
  CRect bar;                     // from 2 pixels left to 3 right, one pixel high
  std::optional<CRect> upright;  // from 2 pixels above to 3 below, one pixel wide
};
CTreeExpandBox TreeExpandBox(int x, int y, bool collapsed);

// Tab strips.

// Texts of tabs are measured up to this many characters.
inline constexpr int kTabTextLimit = 50;
// The fitted tab width: the widest of the blanks' width (15 blanks) and every tab
// text's width, plus 16 pixels.
int FittedTabWidth(int blanksWidth, const std::vector<int>& textWidths);

// The area of a tab filled with the page-area brush, from the tab's rectangle:
// pressed (L + 2, T + 3, R - 1, B + 1), highlighted (L, T + 1, R, B + 3), any other
// (L, T + 3, R, B + 3).
CRect TabFillRect(const CRect& tab, bool pressed, bool highlighted);
// How far the text of a tab on a brush moves down: -1 (up) when pressed, else 2.
int TabTextShift(bool pressed);

// Pictures.

// The placement bits of the picture control.
inline constexpr int kPictureCenterHorizontally = 0x1;
inline constexpr int kPictureAlignRight = 0x2;
inline constexpr int kPictureCenterVertically = 0x4;
inline constexpr int kPictureAlignBottom = 0x8;
inline constexpr int kPictureAlwaysScale = 0x1000;
inline constexpr int kPictureDefaultOptions = 5;

// Where a picture of that size goes in a client area of that size: scaled to the
// client width keeping its aspect ratio (and to the client height when that is still
// too high) when it is larger than the area either way or always-scale is set;
// then right, centred or left, and bottom, centred or top, by the option bits (right
// before centre, bottom before centre). An empty rectangle for an empty picture.
CRect PlacePicture(int pictureWidth, int pictureHeight, int clientWidth, int clientHeight,
                   int options);

// Bitmap lists.

// The one item height of every bitmap list: the larger of the text height and the
// first bitmap's height (0 when there is none).
int BitmapListItemHeight(int textHeight, std::optional<int> firstBitmapHeight);
