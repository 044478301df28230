#include "grid/ui/qt_text_measurer.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "grid/ui/grid_qt_convert.h"

namespace {

// Past these, texts and fonts are measured without being kept: a table that grew this
// long starts again, and a font beyond the last is not kept at all.
constexpr std::size_t kMaxLinesOfFont = 16384;
constexpr std::size_t kMaxFonts = 64;

struct CTextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>{}(text);
  }
};

}  // namespace

// The widths of texts in one font. Fitting a bill's page measures each cell for its
// column and again for its row, and the pages of a design repeat their references and
// designations: shaping a text costs far more than finding it here.
class CLineWidths {
 public:
  std::optional<int> Find(std::string_view line) const {
    const std::lock_guard lock(Mutex());
    const auto found = m_widths.find(line);
    return found == m_widths.end() ? std::nullopt : std::optional<int>(found->second);
  }

  void Add(std::string_view line, int width) {
    const std::lock_guard lock(Mutex());
    if (m_widths.size() >= kMaxLinesOfFont) m_widths.clear();
    m_widths.emplace(line, width);
  }

  // Those of the font, kept while the program runs; none once too many fonts are kept.
  static CLineWidths* Of(const QFont& font) {
    // Never destroyed: fonts must not outlive the application object.
    static auto& fonts = *new std::vector<std::pair<QFont, std::unique_ptr<CLineWidths>>>;
    const std::lock_guard lock(Mutex());
    for (const auto& [kept, widths] : fonts)
      if (kept == font) return widths.get();
    if (fonts.size() >= kMaxFonts) return nullptr;
    return fonts.emplace_back(font, std::make_unique<CLineWidths>()).second.get();
  }

 private:
  // Grids may be measured on other threads than the windows' one.
  static std::mutex& Mutex() {
    static std::mutex mutex;
    return mutex;
  }

  std::unordered_map<std::string, int, CTextHash, std::equal_to<>> m_widths;
};

CSize CQtTextMeasurer::MeasureLine(const CLogFont& font, std::string_view line) const {
  const QFontMetrics& metrics = Metrics(font);
  if (m_lastWidths == nullptr)
    return {metrics.horizontalAdvance(tvr::grid::ToQString(line)), metrics.height()};
  if (const std::optional<int> width = m_lastWidths->Find(line)) return {*width, metrics.height()};
  const int width = metrics.horizontalAdvance(tvr::grid::ToQString(line));
  m_lastWidths->Add(line, width);
  return {width, metrics.height()};
}

CGridFontMetrics CQtTextMeasurer::MeasureFont(const CLogFont& font) const {
  const QFontMetrics& metrics = Metrics(font);
  return {metrics.height(), metrics.averageCharWidth()};
}

const QFontMetrics& CQtTextMeasurer::Metrics(const CLogFont& font) const {
  // Auto-sizing measures every cell of a column in mostly one font.
  if (!m_lastMetrics || !(font == m_lastLogFont)) {
    m_lastLogFont = font;
    const QFont qtFont = tvr::grid::ToQFont(font);
    m_lastMetrics.emplace(qtFont);
    m_lastWidths = CLineWidths::Of(qtFont);
  }
  return *m_lastMetrics;
}
