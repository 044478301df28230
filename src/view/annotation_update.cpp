#include "view/annotation_update.h"

#include <memory>
#include <string>

#include "app/message_text.h"
#include "app/unit_entry.h"
#include "model/annotation_label.h"
#include "model/annotation_list.h"
#include "model/dev.h"
#include "model/dorne_doc.h"
#include "model/run.h"

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
constexpr std::uint32_t kLeftAligned = 0x010;
constexpr std::int32_t kFullSpan = 2000;
constexpr std::int32_t kTableOffset = 500;
constexpr std::int32_t kSectionOffset = 1000;
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

std::string RunInfoText(const CRun& run) {
  const std::string catalog = run.GetPropText("Catalog");
  const std::string neutral = run.GetPropText("Neutral");
  std::string conductors = ListLabel(run.GetNeutralList(), neutral);
  if (catalog.rfind("QW", 0) == 0 && neutral == "6") conductors = "3L+2N+PE / 3L+N+PE+PEI";
  return StringText(kMsgRunName) + "\t" + run.GetPropText("Name") + "\n" +
         StringText(kMsgCatalogue) + "\t" + CatalogueText(run) + "\n" + StringText(kMsgConductors) +
         "\t" + conductors;
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

bool OwnedBy(const CAnnotation& a, const CRun* run, int kind) {
  if (a.GetKind() != kind) return false;
  if (run == nullptr) return a.GetOwnerKind() == EAnnotationOwner::kTotalsPage;
  return a.GetOwnerKind() == EAnnotationOwner::kRun && a.GetOwnerRun() == run;
}

// The one annotation of the kind for the owner (none: the totals page): the one nearest
// the end of the list is kept, the others deleted; made when missing.
CAnnotation& KeepOne(CAnnotationList& list, CRun* run, int kind, std::int32_t dx, std::int32_t dy) {
  CAnnotation* kept = nullptr;
  for (std::size_t i = list.Size(); i-- > 0;) {
    CAnnotation* a = list.At(i);
    if (!OwnedBy(*a, run, kind)) continue;
    if (kept == nullptr) kept = a;
    else list.Remove(a);
  }
  if (kept != nullptr) return *kept;
  auto made = std::make_unique<CAnnotation>(kind);
  if (run != nullptr) made->SetOwnerRun(run);
  else made->SetOwnerTotalsPage();
  made->SetOffset(dx, dy);
  return list.Append(std::move(made));
}

}  // namespace

void UpdateTitleBlock(CDorneDoc& document, const CLabelStyleSlots& slots) {
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
  const std::vector<CRun*> runs = document.GetRuns();
  for (std::size_t i = runs.size(); i-- > 0;) {
    if (document.IsCurrentRunOnly() && runs[i] != document.GetCurrentRun()) continue;
    UpdateRunAnnotations(document, *runs[i], slots, index);
  }
}

void UpdateRunAnnotations(CDorneDoc& document, CRun& run, const CLabelStyleSlots& slots) {
  CElementAnnotationIndex index = IndexElementAnnotations(document.Annotations());
  UpdateRunAnnotations(document, run, slots, index);
}

void UpdateRunAnnotations(CDorneDoc& document, CRun& run, const CLabelStyleSlots& slots,
                          CElementAnnotationIndex& index) {
  for (CDev* element : run.GetChainOrder())
    UpdateElementAnnotations(document, *element, slots, index);
  for (CDev* element : run.GetDevices())
    if (element->GetKind() == CDev::kTapOff)
      UpdateElementAnnotations(document, *element, slots, index);
  if (run.GetPropText("Catalog").empty()) return;
  CAnnotationList& list = document.Annotations();
  KeepOne(list, &run, CAnnotation::kBom, 0, kTableOffset);
  KeepOne(list, nullptr, CAnnotation::kBom, 0, kTableOffset);
  CAnnotation& info = KeepOne(list, &run, CAnnotation::kRunInfo, 0, 0);
  info.SetText(RunInfoText(run));
  info.SetFlags(info.GetFlags() | kLeftAligned);
  CAnnotation& section = KeepOne(list, &run, CAnnotation::kSection, kSectionOffset, 0);
  section.SetText(SectionText(document, run));
}

std::optional<std::array<int, 3>> ConnectionTextValues(const CConnectionBoxValues& box,
                                                       bool fromBack) {
  constexpr int kUnsetOffset = -157869;
  if (box.width <= 0 || box.xOffset == kUnsetOffset) return std::nullopt;
  return std::array<int, 3>{box.width / 2 + box.xOffset, box.height / 2 - box.yOffset,
                            fromBack ? box.depth - box.zOffset : box.zOffset};
}
