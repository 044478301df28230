#include "model/element/dev.h"
#include "model/run/phase_order.h"
#include "platform/text_conversions.h"
#include "ranges/qm/run_qm.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

constexpr std::string_view kAdapters =
    "QMA10QJ14-QMA12QJ16-QMA16QJ18-QMA25QJ28QJ26-QMA32QJ36-QMA40QJ46QJ38-"
    "QMC16QZ16-QMC32QZ26-QMC40QZ36-QMC50QZ46QJ56QJ48-";
constexpr std::string_view kEndCabinetAdapters = "QMA25QJ28QJ26-";
constexpr std::size_t kAdapterWidth = 4;
constexpr std::size_t kKeyWidth = 5;
// Centre distances are read as plain whole numbers within this bound.
constexpr int kMaxDistance = 100000;

bool HasCentreDistances(const CDev& element) {
  const int v = element.GetVariant();
  return element.GetKind() == CDev::kEnd &&
         (v == 2 || v == 3 || v == 5 || v == 6 || v == 7 || v == 20);
}

// Up to four numbers separated by "/", stopping at a 0 or where no "/" follows.
int ReadDistances(std::string_view text, std::array<int, 4>& d) {
  int count = 0;
  while (count < 4) {
    const int value = std::clamp(TextToInt(text), -kMaxDistance, kMaxDistance);
    if (value == 0) break;
    d[static_cast<std::size_t>(count++)] = value;
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) break;
    text.remove_prefix(slash + 1);
  }
  return count;
}

std::string ConnectionSource(const CDev& element, int rating) {
  if (element.GetVariant() != 20) return element.GetFieldText("ENTRAX").value_or("");
  const int power = TextToInt(element.GetFieldText("QWA").value_or(""));
  if (power >= 1) return power <= 1000 ? "150" : "170";
  return rating < 17 ? "150" : "170";
}

std::string FrameKey(int frame) {
  char text[16];
  std::snprintf(text, sizeof text, "HK%02d_D", std::clamp(frame, 0, 99));
  return text;
}

}  // namespace

std::array<int, 4> CRunQM::GetCentreDistances(const CDev& element, char mode) const {
  std::array<int, 4> d{};
  if (!HasCentreDistances(element)) return d;
  const bool neutral = HasNeutral();
  const bool cover = mode == 'C';
  const int variant = element.GetVariant();
  const int connection = ConnectionMode(element);
  const int rating = GetRating();
  const int n = ReadDistances(ConnectionSource(element, rating), d);
  int x = 0, y = 0;
  if (variant != 6) {
    if (connection == 1 || variant == 5 || variant == 7 || variant == 20) {
      d[3] = 0;
      if (n == 0) d[0] = 115;
      if (n < 2) d[1] = d[2] = d[0];
      if (!neutral) d[2] = 0;
      else if (d[2] == 0) d[2] = d[0];
      if (cover && !neutral) d[2] = d[0];
      x = d[1] / 2 + d[2] + 100;
      y = d[1] / 2 + d[0] + 100;
    } else if (connection == 2) {
      if (n == 1) {
        const int v = d[0];
        d[1] = d[2] = v / 2;
        d[0] = d[3] = v / 2 + v;
      }
      if (!neutral) d[3] = 0;
      else if (d[3] == 0) d[3] = d[2] - d[1] + d[0];
      x = std::max(d[2], d[3]) + 100;
      y = std::max(d[0], d[1]) + 100;
    }
    if (!cover) return d;
  } else {
    if (connection == 3) {
      const int direction = element.GetDirection();
      const int rotation = element.GetRotation();
      if (direction != 2 && direction != 3 && rotation != 32 && rotation != 128) {
        const bool free = element.GetNeighbour(direction) == nullptr;
        d[0] = free == (rotation == 64) ? 4 : 1;
      }
      x = 745;
      y = 945;
      if (GetPhaseOrderAt(element, 0) == 0) d[0] = d[0] == 1 ? 3 : 2;
    }
    if ((IsQMA() && rating > 12) || (!IsQMA() && rating > 16)) {
      d[1] = std::max(d[1], 470);
      d[2] = std::clamp(d[2], 235, std::max(235, d[1] - 235));
    }
    if (!neutral) d[2] = 0;
    if (!cover) return d;
  }
  return CoverDistances(element, x, y);
}

std::array<int, 4> CRunQM::CoverDistances(const CDev& element, int x, int y) const {
  const std::string capot = element.GetFieldText("CAPOT").value_or("");
  const int c = TextToInt(capot);
  const std::size_t slash = capot.find('/');
  int k = slash == std::string::npos
              ? 0
              : std::clamp(TextToInt(std::string_view(capot).substr(slash + 1)), -kMaxDistance,
                           kMaxDistance);
  int r = GetRating() - (IsQMA() ? 0 : 4);
  int h = r < 16 ? 230 : r < 30 ? 350 : 510;
  if (r >= 59 || (IsQMA() && r >= 50)) h = 720;
  if (c == 10 && k > 0) k += h;
  if (c == 15 && k > 0) k += h - 350;
  if (c < 10 || (c >= 18 && c != 20) || k == 0) return {};
  if (c == 10 || c == 15) {
    const bool f =
        (element.GetRotation() == 64) != (element.GetNeighbour(element.GetDirection()) != nullptr);
    const bool b1 = BreakerFieldB(element) == 1;
    if ((b1 && !f) || (!b1 && f)) std::swap(x, y);
  }
  return {x, y, h, k};
}

std::string CRunQM::ChooseBreakerRef(const CDev& element, bool useStored, int a, int b) const {
  if (element.GetKind() != CDev::kEnd || element.GetVariant() != 4) return {};
  if (a < 0) a = BreakerFieldA(element);
  if (b < 0) b = BreakerFieldB(element);
  if (a != 1 && a != 3) return {};
  const std::string stored = useStored ? element.GetFieldText("DISJ").value_or("") : std::string();
  const int number = TextToInt(stored);
  static constexpr int kFrames[] = {10, 12, 16, 20, 25, 32, 40};
  if (number >= 1 && number <= 7) return FrameKey(kFrames[number - 1]);
  if (number <= 0 && !stored.empty()) {
    if (stored.size() <= 6) return stored;
    const std::string tail = stored.substr(stored.size() - 2);
    if (tail[0] != '_') return stored.substr(0, 4);
    // A frame may carry a letter after its size ("HR06b"): keep it, or the equipment
    // box would be looked up under another frame's key.
    const std::size_t frameLength =
        stored.size() == 7 && std::isalpha(static_cast<unsigned char>(stored[4])) != 0 ? 5 : 4;
    return stored.substr(0, frameLength) + tail;
  }
  const int rating = GetRating();
  int frame = 40;
  if (rating == 50 && IsQMA()) frame = 25;
  else if (rating == 63 && !IsQMA()) frame = 32;
  else if (rating == 13) frame = 12;
  else if (rating < 40) frame = rating;
  else if (a == 3 && b == 0) frame = 32;
  return FrameKey(frame);
}

std::string CRunQM::CrossRangeAdapters(const CDev& element, int& mode) const {
  const bool endCabinet = element.GetVariant() == 9;
  std::string_view list = endCabinet ? kEndCabinetAdapters : kAdapters;
  const std::string key = GetPropText("Catalog") + GetPropText("Calibre");
  const int asked = mode;
  mode = -1;
  std::string adapters;
  while (!list.empty()) {
    const std::size_t dash = list.find('-');
    const std::string_view entry = list.substr(0, dash);
    list.remove_prefix(dash == std::string_view::npos ? list.size() : dash + 1);
    if (key.size() == kKeyWidth && entry.substr(0, kKeyWidth) == key) {
      adapters = std::string(entry.substr(kKeyWidth));
      break;
    }
  }
  if (adapters.empty()) return adapters;
  const std::string wanted = element.GetFieldText("QGACC").value_or("");
  const std::size_t at = wanted.empty() ? std::string::npos : adapters.find(wanted);
  const std::size_t item = at == std::string::npos ? 0 : at / kAdapterWidth;
  int result = static_cast<int>(item);
  if (asked > 0) {
    const std::uint32_t style = element.GetStyle();
    if (endCabinet) {
      const bool bit13 = (style & (1u << 13)) != 0;
      const bool bit14 = (style & (1u << 14)) != 0;
      result = (bit13 ? 4 : 3) + ((element.GetBackNeighbour() == nullptr) != bit14 ? 2 : 0);
    } else {
      const char digit = adapters[item * kAdapterWidth + 2];
      result = digit >= '0' && digit <= '9' ? digit - '0' : 0;
      if (asked == 1 && result > 2) result -= 2;
    }
  }
  const int direction = element.GetDirection();
  const int rotation = element.GetRotation();
  if (result >= 0 && direction != 2 && direction != 3 && rotation != 16 && rotation != 64)
    result = -2;
  mode = result;
  return adapters;
}
