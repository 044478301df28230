#include "pages/feed_unit_lists.h"

#include <algorithm>
#include <array>

namespace {

struct CTransformerRow {
  int kva;
  int code;
};

constexpr std::array<CTransformerRow, 8> kTransformerRows = {
    {{630, 10}, {800, 12}, {1000, 16}, {1250, 20}, {1600, 25}, {2000, 32}, {2500, 40}, {3150, 50}}};

struct CBreakerFamily {
  const char* name;
  std::vector<const char*> frames;
};

const std::array<CBreakerFamily, 3>& BreakerFamilies() {
  static const std::array<CBreakerFamily, 3> families = {
      {{"HK", {"HK08", "HK10", "HK12", "HK16", "HK20", "HK25", "HK32", "HK40"}},
       {"HV", {"HV06", "HV08", "HV10", "HV12", "HV16"}},
       {"HR", {"HR06b", "HR08", "HR10", "HR12", "HR16"}}}};
  return families;
}

bool LeftOut(const std::string& frame, int variantCode, int option) {
  if (variantCode == 1 && option == 0) return frame == "HR16" || frame == "HV16" || frame == "HK40";
  if (variantCode == 3) return frame == "HV06" || frame.starts_with("HR");
  return false;
}

// The HR frames are shown by their rating in amperes.
std::string FrameLabel(const std::string& frame) {
  if (!frame.starts_with("HR") || frame.size() < 4) return frame;
  static constexpr std::array<std::pair<const char*, const char*>, 5> kAmperes = {
      {{"06", "630"}, {"08", "800"}, {"10", "1000"}, {"12", "1250"}, {"16", "1600"}}};
  for (const auto& [size, amperes] : kAmperes)
    if (frame.compare(2, 2, size) == 0) return "HR" + std::string(amperes) + frame.substr(4);
  return frame;
}

}  // namespace

CFeedByte CFeedByte::FromStyle(std::uint32_t style) {
  return {static_cast<int>((style >> 24) & 3), static_cast<int>((style >> 26) & 3),
          static_cast<int>((style >> 28) & 1), static_cast<int>((style >> 29) & 3)};
}

std::uint32_t CFeedByte::Value() const {
  return static_cast<std::uint32_t>((picture & 3) + (option & 3) * 4 + (protection & 1) * 16 +
                                    (turn & 3) * 32);
}

std::uint32_t CFeedByte::Into(std::uint32_t style) const {
  return (style & 0x00FFFFFFu) | (Value() << 24);
}

int TransformerRunCode(int calibre, int mode) {
  int code = calibre;
  if (code == 8) code = 10;
  if (code == 13) code = 12;
  if (code == 63) code = 50;
  if (code == 50 && mode == kTransformerQM4) code = 40;
  return code;
}

std::vector<CFeedEntry> TransformerRatings(int mode, int calibre) {
  const int runCode = TransformerRunCode(calibre, mode);
  const std::size_t rows = mode == kTransformerQM20 ? 8 : 7;
  std::vector<CFeedEntry> entries;
  for (std::size_t row = 0; row < rows; ++row) {
    const CTransformerRow& rating = kTransformerRows[row];
    const int value = rating.code == runCode ? 0 : static_cast<int>(row) + 1;
    entries.push_back({std::to_string(rating.kva) + " KVA", value, {}});
  }
  return entries;
}

int SelectedRating(const std::vector<CFeedEntry>& ratings, int stored) {
  int selected = -1;
  for (std::size_t row = 0; row < ratings.size(); ++row)
    if (ratings[row].value == stored || static_cast<int>(row) + 1 == stored)
      selected = static_cast<int>(row);
  return selected;
}

std::vector<CFeedEntry> BreakerFrames(int variantCode, int option, const std::string& suffix,
                                      const std::string& automaticKey) {
  std::vector<CFeedEntry> frames;
  for (const CBreakerFamily& family : BreakerFamilies()) {
    for (const char* frame : family.frames) {
      if (LeftOut(frame, variantCode, option)) continue;
      const std::string key = frame + suffix;
      frames.push_back({FrameLabel(frame), key == automaticKey ? 1 : 0, key});
    }
  }
  return frames;
}

int SelectedBreaker(const std::vector<CFeedEntry>& frames, const std::string& current) {
  int automatic = -1;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (!current.empty() && frames[i].key.starts_with(current)) return static_cast<int>(i);
    if (automatic < 0 && frames[i].value != 0) automatic = static_cast<int>(i);
  }
  return automatic;
}

int NextTurn(int turn, int pending, bool transformer, int option) {
  if (pending == 2) return 0;
  if (pending != 1) return turn & 3;
  int next = turn + 1;
  if (transformer || (option == 2 && next == 2)) ++next;
  return next % 4;
}

int FeedOptions(int direction, bool neighbourOnSide2, bool neighbourOnSide3) {
  int side = 2;
  if (direction == 2) side = neighbourOnSide2 ? 0 : 1;
  else if (direction == 3) side = neighbourOnSide3 ? 1 : 0;
  int options = 0;
  if (side == 0 || side == 2) options |= 1;
  if (side == 1 || side == 2) options |= 2;
  if (side == 2) options |= 4;
  return options;
}

int AvailablePictures(int pictures, int options, int mode, bool packAbove) {
  if ((options & 1) == 0) pictures &= ~kTransformerPicture;
  if (mode != kNoTransformer && (options & 1) == 0 && !(packAbove && (options & 2) != 0))
    pictures = 0;
  return pictures & 3;
}

int PictureCodeOfIndex(int index, int pictures) {
  if (index == 0) return (pictures & kTransformerPicture) != 0 ? 2 : 1;
  if (index == 1) return (pictures & kSwitchboardPicture) != 0 ? 1 : 0;
  return 0;
}

int PictureIndexOfCode(int code, int pictures) {
  const bool transformer = (pictures & kTransformerPicture) != 0;
  if (code == 2 && transformer) return 0;
  if ((code == 1 || code == 3) && (pictures & kSwitchboardPicture) != 0) return transformer ? 1 : 0;
  return -1;
}

std::string TextBefore(const std::string& text, char separator) {
  const std::size_t at = text.find(separator);
  return at == std::string::npos || at == 0 ? text : text.substr(0, at);
}

std::string TextAfter(const std::string& text, char separator, bool wholeWhenNone) {
  const std::size_t at = text.find(separator);
  if (at == std::string::npos || at == 0) return wholeWhenNone ? text : std::string();
  return text.substr(at + 1);
}
