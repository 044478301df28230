#include "view/annotation_update.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <string>

#include "app/message_text.h"
#include "app/unit_entry.h"
#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "view/annotation_edit.h"
#include "geometry/3d_projection.h"
#include "geometry/display_list.h"

namespace {

// The name's label: the language files give message 2680 to the element name page.
constexpr int kMsgName = 2558;
constexpr int kMsgNumber = 2681;
constexpr int kMsgCreator = 2691;
constexpr int kMsgCreated = 2541;
constexpr int kMsgModified = 2542;
constexpr int kMsgUnit = 2640;
constexpr int kMsgRunName = 2558;
constexpr int kMsgCatalogue = 2561;
constexpr int kMsgConductors = 2564;
constexpr int kMsgWeight = 61455;
constexpr int kMsgSupports = 30198;
constexpr int kMsgSupportsAfter = 30199;
// The support symbol's icon cell: icon 383, 36 pixels wide.
constexpr std::string_view kSupportIconCell = "<ICO1 >";
constexpr std::uint32_t kLeftAligned = 0x010;
constexpr std::int32_t kFullSpan = 2000;
constexpr std::int32_t kTableOffset = 500;
constexpr std::int32_t kSectionOffset = 1000;
// The labels of further runs stand beside and then below the first run's, two runs to a
// row and row after row, so that with every run shown no two runs' labels lie on each
// other (nor on the totals table at 0, 500).
constexpr int kRunLabelColumns = 2;
constexpr std::int32_t kInfoColumnStep = 400;
constexpr std::int32_t kSectionColumnStep = 250;
constexpr std::int32_t kRunLabelRowStep = 800;
constexpr int kQgMiddle = 86;
constexpr int kQgSplitWidth = 250;

std::string UnitLabels(const CDorneDoc& document, std::string& others) {
  std::string own;
  const std::vector<CUnitEntry>* units = document.GetUnitEntries();
  if (units == nullptr) return own;
  const std::string id = std::to_string(document.GetLengthUnitId());
  for (const CUnitEntry& unit : *units) {
    if (unit.idd == id && own.empty()) {
      own = unit.label;
    } else {
      others += (others.empty() ? "" : " ") + unit.label;
    }
  }
  return own;
}

std::string TitleBlockText(const CDorneDoc& document) {
  std::string others;
  const std::string unit = UnitLabels(document, others);
  const auto prop = [&document](const char* name) { return document.GetDocProperty(name); };
  std::string text = StringText(kMsgNumber) + " 9999\n" + StringText(kMsgCreated) +
                     " 99/99/9999\t" + StringText(kMsgModified) + " 99/99/9999\t" +
                     StringText(kMsgUnit) + ": " + others + "\n";
  text += StringText(kMsgName) + " " + prop("Name") + "\n" + StringText(kMsgNumber) + " " +
          prop("NumAff") + "\t" + StringText(kMsgCreator) + " " + prop("Creator") + "\n" +
          StringText(kMsgCreated) + " " + prop("CreationDate") + "\t" + StringText(kMsgModified) +
          " " + prop("ModificationDate") + "\t" + StringText(kMsgUnit) + ": " + unit;
  const std::string comment = prop("Comment");
  if (!comment.empty()) text += "\n" + comment;
  return text;
}

std::string ListLabel(const std::vector<CCodeLabelRow>* list, const std::string& code) {
  if (list != nullptr)
    for (const CCodeLabelRow& row : *list)
      if (row.code == code) return row.label;
  return code;
}

std::string CatalogueText(const CRun& run) {
  return run.GetPropText("Catalog") + " - " +
         ListLabel(run.GetRatingList(), run.GetPropText("Calibre"));
}

// The leading whole number of a text; none when it does not start with one.
std::optional<int> LeadingNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end == text.data()) return std::nullopt;
  return value;
}

// "SUPP" of a built run holds its support count, and after the weights are worked out
// "/" and the run's weight in kilograms.
std::string SupportLines(const CRun& run, bool weights) {
  const std::string supp = run.GetPropText("SUPP");
  std::string text;
  const std::size_t slash = supp.find('/');
  const auto weight =
      slash == std::string::npos ? std::nullopt : LeadingNumber(supp.substr(slash + 1));
  if (weights && weight)
    text += "\n" + StringText(kMsgWeight) + "\t" + std::to_string(*weight) + " kg";
  const auto count = LeadingNumber(supp);
  if (count && *count > 0)
    text += "\n" + StringText(kMsgSupports) + "\t" + std::to_string(*count) + "  " +
            StringText(kMsgSupportsAfter) + "\n\t" + std::string(kSupportIconCell);
  return text;
}

std::string RunInfoText(const CRun& run, bool weights) {
  const std::string catalog = run.GetPropText("Catalog");
  const std::string neutral = run.GetPropText("Neutral");
  std::string conductors = ListLabel(run.GetNeutralList(), neutral);
  if (catalog.rfind("QW", 0) == 0 && neutral == "6") conductors = "3L+2N+PE / 3L+N+PE+PEI";
  std::string text = StringText(kMsgRunName) + "\t" + run.GetPropText("Name") + "\n" +
                     StringText(kMsgCatalogue) + "\t" + CatalogueText(run) + "\n" +
                     StringText(kMsgConductors) + "\t" + conductors;
  const std::string option = run.GetPropText("IP");
  const std::vector<CCodeLabelRow>* options = run.GetOptionList();
  if (options != nullptr && !option.empty() && option != " ")
    text += "\n\t" + ListLabel(options, option);
  return text + SupportLines(run, weights);
}

std::string SectionText(const CDorneDoc& document, const CRun& run) {
  const CReferenceRow housing = run.FindReference();
  CDimension units = document.GetUnits();
  std::string width = units.FormatLength(housing.Width());
  if (run.GetPropText("Catalog").rfind("QG", 0) == 0 && housing.Width() > kQgSplitWidth) {
    const std::string side = units.FormatLength((housing.Width() - kQgMiddle) / 2);
    units.SetSuffixFlag(false);
    width = side + " / " + units.FormatLength(kQgMiddle) + " / " + side;
    units.SetSuffixFlag(true);
  }
  return CatalogueText(run) + "\n  " + width + "\nh=" + units.FormatLength(housing.Height());
}

// The column and row of the run's labels.
std::array<int, 2> RunLabelCell(const CDorneDoc& document, const CRun& run) {
  const std::vector<CRun*> runs = document.GetRuns();
  const auto found = std::find(runs.begin(), runs.end(), &run);
  const int index = found == runs.end() ? 0 : static_cast<int>(found - runs.begin());
  return {index % kRunLabelColumns, index / kRunLabelColumns};
}

// The run labels of the list (kinds 3..5 owned by a run, and the totals table), each
// owner's in list order, so that a refresh of many runs does not search the whole list
// for each.
struct CRunLabelIndex {
  std::unordered_map<const CRun*, std::vector<CAnnotation*>> byRun;
  std::vector<CAnnotation*> totals;
  std::vector<CAnnotation*> sections;

  explicit CRunLabelIndex(const CAnnotationList& list) {
    for (std::size_t i = 0; i < list.Size(); ++i) {
      CAnnotation* a = list.At(i);
      const int kind = a->GetKind();
      if (kind < CAnnotation::kBom || kind > CAnnotation::kSection) continue;
      if (a->GetOwnerKind() == EAnnotationOwner::kRun) byRun[a->GetOwnerRun()].push_back(a);
      if (a->GetOwnerKind() == EAnnotationOwner::kTotalsPage && kind == CAnnotation::kBom)
        totals.push_back(a);
      if (kind == CAnnotation::kSection) sections.push_back(a);
    }
  }
};

// A new section label joins those of like runs; the first of its kind gets the run's place.
std::array<std::int32_t, 2> SectionPlace(const CRunLabelIndex& index, const CRun& run,
                                         std::array<std::int32_t, 2> shifted) {
  for (std::size_t i = index.sections.size(); i-- > 0;) {
    const CAnnotation* other = index.sections[i];
    if (other->GetOwnerRun() != &run && SameSection(other->GetOwnerRun(), &run))
      return other->GetOffset();
  }
  return shifted;
}

// The one annotation of the kind among the owner's (the run's, or none: the totals page):
// the one nearest the end of the list is kept, the others deleted (and dropped from the
// index); made when missing, at the place given.
template <typename Place>
CAnnotation& KeepOne(CAnnotationList& list, CRunLabelIndex& index, std::vector<CAnnotation*>& owned,
                     CRun* run, int kind, const Place& place) {
  CAnnotation* kept = nullptr;
  for (std::size_t i = owned.size(); i-- > 0;) {
    CAnnotation* a = owned[i];
    if (a->GetKind() != kind) continue;
    if (kept == nullptr) {
      kept = a;
    } else {
      owned.erase(owned.begin() + static_cast<std::ptrdiff_t>(i));
      std::erase(index.sections, a);
      list.Remove(a);
    }
  }
  if (kept != nullptr) return *kept;
  auto made = std::make_unique<CAnnotation>(kind);
  if (run != nullptr) made->SetOwnerRun(run);
  else made->SetOwnerTotalsPage();
  const std::array<std::int32_t, 2> offset = place();
  made->SetOffset(offset[0], offset[1]);
  CAnnotation& added = list.Append(std::move(made));
  owned.push_back(&added);
  return added;
}

void UpdateRunLabels(CDorneDoc& document, CRun& run, bool weights, CRunLabelIndex& index) {
  CAnnotationList& list = document.Annotations();
  std::vector<CAnnotation*>& owned = index.byRun[&run];
  const auto table = [] { return std::array<std::int32_t, 2>{0, kTableOffset}; };
  KeepOne(list, index, owned, &run, CAnnotation::kBom, table);
  KeepOne(list, index, index.totals, nullptr, CAnnotation::kBom, table);
  CAnnotation& info = KeepOne(list, index, owned, &run, CAnnotation::kRunInfo, [&document, &run] {
    const auto [column, row] = RunLabelCell(document, run);
    return std::array<std::int32_t, 2>{column * kInfoColumnStep, row * kRunLabelRowStep};
  });
  info.SetText(RunInfoText(run, weights));
  info.SetFlags(info.GetFlags() | kLeftAligned);
  const std::size_t before = owned.size();
  CAnnotation& section = KeepOne(list, index, owned, &run, CAnnotation::kSection, [&] {
    const auto [column, row] = RunLabelCell(document, run);
    return SectionPlace(index, run,
                        {kSectionOffset + column * kSectionColumnStep, row * kRunLabelRowStep});
  });
  if (owned.size() > before) index.sections.push_back(&section);
  section.SetText(SectionText(document, run));
}

void UpdateRun(CDorneDoc& document, CRun& run, const CLabelStyleSlots& slots,
               CElementAnnotationIndex& elements, CRunLabelIndex& labels, bool weights) {
  for (CDev* element : run.GetChainOrder())
    UpdateElementAnnotations(document, *element, slots, elements);
  for (CDev* element : run.GetDevices())
    if (element->GetKind() == CDev::kTapOff)
      UpdateElementAnnotations(document, *element, slots, elements);
  if (!run.GetPropText("Catalog").empty()) UpdateRunLabels(document, run, weights, labels);
}

}  // namespace

void UpdateTitleBlock(CDorneDoc& document, const CLabelStyleSlots& slots, bool weights) {
  CAnnotationList& list = document.Annotations();
  CAnnotation* title = nullptr;
  for (std::size_t i = list.Size(); i-- > 0 && title == nullptr;)
    if (list.At(i)->GetKind() == CAnnotation::kTitleBlock) title = list.At(i);
  if (title == nullptr) {
    auto made = std::make_unique<CAnnotationLabel>(CAnnotation::kTitleBlock);
    made->SetOwnerDocument();
    made->SetOffset(kFullSpan, kFullSpan);
    made->SetFlags(kLeftAligned);
    title = &list.Append(std::move(made));
  }
  title->SetText(TitleBlockText(document));
  CElementAnnotationIndex index = IndexElementAnnotations(list);
  CRunLabelIndex labels(list);
  const std::vector<CRun*> runs = document.GetRuns();
  for (std::size_t i = runs.size(); i-- > 0;) {
    if (document.IsCurrentRunOnly() && runs[i] != document.GetCurrentRun()) continue;
    UpdateRun(document, *runs[i], slots, index, labels, weights);
  }
}

void UpdateRunAnnotations(CDorneDoc& document, CRun& run, const CLabelStyleSlots& slots,
                          bool weights) {
  CElementAnnotationIndex index = IndexElementAnnotations(document.Annotations());
  UpdateRunAnnotations(document, run, slots, index, weights);
}

void UpdateRunAnnotations(CDorneDoc& document, CRun& run, const CLabelStyleSlots& slots,
                          CElementAnnotationIndex& index, bool weights) {
  CRunLabelIndex labels(document.Annotations());
  UpdateRun(document, run, slots, index, labels, weights);
}

CAnnotationRefresh::CKey CAnnotationRefresh::KeyOf(const CDorneDoc& document,
                                                   const CLabelStyleSlots& slots, bool weights) {
  CKey key;
  key.document = &document;
  key.listChanges = document.Projection().GetDisplayList().Changes();
  key.annotationChanges = document.Annotations().Changes();
  key.currentRunOnly = document.IsCurrentRunOnly();
  key.currentRun = document.GetCurrentRun();
  key.labelStyles = slots;
  key.weights = weights;
  return key;
}

bool CAnnotationRefresh::Run(CDorneDoc& document, const CLabelStyleSlots& slots, bool weights) {
  if (!m_stale && m_key == KeyOf(document, slots, weights)) return false;
  UpdateTitleBlock(document, slots, weights);
  // What the refresh itself changed is part of the new key.
  m_key = KeyOf(document, slots, weights);
  m_stale = false;
  return true;
}

std::optional<std::array<int, 3>> ConnectionTextValues(const CConnectionBoxValues& box,
                                                       bool fromBack) {
  constexpr int kUnsetOffset = -157869;
  if (box.width <= 0 || box.xOffset == kUnsetOffset) return std::nullopt;
  return std::array<int, 3>{box.width / 2 + box.xOffset, box.height / 2 - box.yOffset,
                            fromBack ? box.depth - box.zOffset : box.zOffset};
}
