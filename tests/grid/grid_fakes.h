#pragma once

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "grid/grid_canvas.h"
#include "grid/grid_text_measurer.h"

// Text measured as 7 pixels a character (8 in bold) and the font's height in pixels
// (16 when the font gives none).
class CFakeMeasurer : public CGridTextMeasurer {
 public:
  CSize MeasureLine(const CLogFont& font, std::string_view line) const override {
    return {static_cast<int>(line.size()) * CharWidth(font), Height(font)};
  }
  CGridFontMetrics MeasureFont(const CLogFont& font) const override {
    return {Height(font), CharWidth(font)};
  }
  static int CharWidth(const CLogFont& font) { return font.weight >= 700 ? 8 : 7; }
  static int Height(const CLogFont& font) { return font.height != 0 ? std::abs(font.height) : 16; }
};

// Records what is drawn, one entry per call.
class CRecordingCanvas : public CGridCanvas {
 public:
  struct Line {
    int x1, y1, x2, y2;
    CColor color;
  };
  struct Fill {
    CRect rect;
    CColor color;
  };
  struct Text {
    CRect rect;  // for a natural-size text, left and top only
    std::string text;
    int alignment;  // -1 for a natural-size text
    CLogFont font;
    CColor color;
  };
  struct Bitmap {
    int x, y, width, height;
  };

  void DrawLine(int x1, int y1, int x2, int y2, CColor color) override {
    lines.push_back({x1, y1, x2, y2, color});
  }
  void FillRect(const CRect& rect, CColor color) override { fills.push_back({rect, color}); }
  void DrawText(int x, int y, std::string_view text, const CLogFont& font, CColor color) override {
    texts.push_back({{x, y, x, y}, std::string(text), -1, font, color});
  }
  void DrawTextInRect(const CRect& rect, std::string_view text, int alignment, const CLogFont& font,
                      CColor color) override {
    texts.push_back({rect, std::string(text), alignment, font, color});
  }
  void DrawBitmap(int x, int y, const CBitmapDesc&, int width, int height) override {
    bitmaps.push_back({x, y, width, height});
  }

  const Text* FindText(std::string_view text) const {
    for (const Text& entry : texts) {
      if (entry.text == text) return &entry;
    }
    return nullptr;
  }

  std::vector<Line> lines;
  std::vector<Fill> fills;
  std::vector<Text> texts;
  std::vector<Bitmap> bitmaps;
};

// A bitmap of the given size, 24 bits a pixel, every byte set to the value.
inline CBitmapDesc MakeBitmap(int width, int height, unsigned char value = 0x80) {
  CBitmapDesc bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.bitsPixel = 24;
  bitmap.widthBytes = (width * 3 + 1) / 2 * 2;
  bitmap.bits.assign(static_cast<std::size_t>(bitmap.widthBytes) * height, value);
  return bitmap;
}
