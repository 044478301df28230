#include "shell/ui/ui_script_edit.h"

#include <QtGlobal>

#include "geometry/box.h"
#include "model/bom/bom_column.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "platform/draw_types.h"
#include "shell/ui/layout_doc_window.h"

namespace {

bool ShowsColumnOfKind(const CDorneDoc& document, int kind, bool wanted) {
  const CRun* run = document.GetCurrentRun();
  if (run == nullptr) return false;
  const CBOMGrid& grid = run->GetBOM();
  bool found = false;
  for (int column = 0; column < grid.GetColumnCount(); ++column) {
    const CBOMColumn* record = grid.GetColumn(column);
    found = found || (record != nullptr && record->kind == kind);
  }
  return found == wanted;
}

bool BoxHasColor(const CDorneDoc& document, int elementIndex, int slot, const QString& rgb) {
  const CRun* run = document.GetCurrentRun();
  bool ok = false;
  const unsigned value = rgb.toUInt(&ok, 16);
  if (run == nullptr || !ok || elementIndex < 0 ||
      elementIndex >= static_cast<int>(run->GetDevices().size()))
    return false;
  const CBox* box = run->GetDevices()[static_cast<std::size_t>(elementIndex)]->GetBox(slot);
  const CColor color = MakeColor(static_cast<int>(value >> 16), static_cast<int>(value >> 8),
                                 static_cast<int>(value));
  return box != nullptr && box->GetColor() == color.ToColorRef();
}

bool RunsAreNamed(const CDorneDoc& document, const QString& names) {
  QStringList shown;
  for (const CRun* run : document.GetRuns())
    shown << QString::fromStdString(run->GetPropText("Name"));
  return shown.join(QLatin1Char(',')) == names;
}

// The runs that have a box in the scene, named in document order and joined by ",".
bool SceneHoldsRuns(const CDorneDoc& document, const QString& names) {
  QStringList shown;
  for (const CRun* run : document.GetRuns()) {
    bool listed = false;
    for (const CDev* element : run->GetDevices()) {
      for (int slot = 0; slot < CDev::kSlotCount && !listed; ++slot) {
        const CBox* box = element->GetBox(slot);
        listed = box != nullptr && box->IsListed();
      }
    }
    if (listed) shown << QString::fromStdString(run->GetPropText("Name"));
  }
  if (shown.join(QLatin1Char(',')) == names) return true;
  qWarning("the scene holds the runs %s", qPrintable(shown.join(QLatin1Char(','))));
  return false;
}

// The insertion point at the three coordinates of the line; where it is instead goes to
// the program's error output, for the test's report.
bool CursorIsAt(const CDorneDoc& document, const QStringList& words) {
  const C3DPoint at = document.GetCursorPoint();
  if (at == C3DPoint(words[1].toDouble(), words[2].toDouble(), words[3].toDouble())) return true;
  qWarning("the insertion point is at %g %g %g", at.x, at.y, at.z);
  return false;
}

}  // namespace

bool RunEditLine(CLayoutDocWindow& layout, const QStringList& words, bool& handled) {
  handled = true;
  const CDorneDoc* document = layout.Document();
  const QString& verb = words.front();
  if (verb == QLatin1String("bomkind") && words.size() == 3)
    return document != nullptr &&
           ShowsColumnOfKind(*document, words[1].toInt(), words[2] == QLatin1String("1"));
  if (verb == QLatin1String("boxcolor") && words.size() == 4)
    return document != nullptr &&
           BoxHasColor(*document, words[1].toInt(), words[2].toInt(), words[3]);
  if (verb == QLatin1String("cursor") && words.size() == 4)
    return document != nullptr && CursorIsAt(*document, words);
  if (verb == QLatin1String("runnames") && words.size() == 2)
    return document != nullptr && RunsAreNamed(*document, words[1]);
  if (verb == QLatin1String("sceneruns") && words.size() == 2)
    return document != nullptr && SceneHoldsRuns(*document, words[1]);
  handled = false;
  return false;
}
