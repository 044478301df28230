#include "model/annotation/annotation_archive.h"

#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "platform/archive.h"

#include <algorithm>

namespace {

constexpr int kElementListVersion = 490;
constexpr int kDocumentListVersion = 491;
// Kind, flags, the shortest text and the offset.
constexpr std::uint64_t kMinRecordBytes = 17;

}  // namespace

CAnnotationArchive::CAnnotationArchive(CAnnotationList& list, const std::vector<CRun*>& runs,
                                       int fileVersion)
    : m_list(list), m_runs(runs), m_version(fileVersion) {}

void CAnnotationArchive::IndexForWriting() {
  if (m_indexed) return;
  m_indexed = true;
  for (std::size_t i = m_list.Size(); i-- > 0;) {
    const CAnnotation* item = m_list.At(i);
    switch (item->GetOwnerKind()) {
      case EAnnotationOwner::kElement:
        m_byOwner[item->GetOwnerElement()].push_back(item);
        m_elementOwners = true;
        break;
      case EAnnotationOwner::kRun: m_byOwner[item->GetOwnerRun()].push_back(item); break;
      case EAnnotationOwner::kTotalsPage: m_totals.push_back(item); break;
      case EAnnotationOwner::kDocument:
        if (item->IsLabel()) m_document.push_back(item);
        break;
    }
  }
}

int CAnnotationArchive::RunIndex(const CRun* run) const {
  const auto it = std::find(m_runs.begin(), m_runs.end(), run);
  return it == m_runs.end() ? -1 : static_cast<int>(it - m_runs.begin());
}

void CAnnotationArchive::WriteBase(CArchiveWriter& archive, const CAnnotation& annotation) {
  std::uint32_t flags = annotation.GetFlags();
  if ((flags & CAnnotation::kFlagWithRun) != 0 && annotation.GetLinkedRun() != nullptr) {
    const int index = RunIndex(annotation.GetLinkedRun());
    if (index >= 0) {
      flags = (flags & ~CAnnotation::kRunIndexMask) |
              (static_cast<std::uint32_t>(index + 1) << CAnnotation::kRunIndexShift);
    }
  }
  annotation.WriteRecord(archive, flags);
}

void CAnnotationArchive::WriteElementList(CArchiveWriter& archive, const CDev& element) {
  IndexForWriting();
  // Most designs annotate runs only: their elements' lists are empty, unasked.
  const auto it = m_elementOwners ? m_byOwner.find(&element) : m_byOwner.end();
  if (it == m_byOwner.end()) {
    archive.WriteDword(0);
    return;
  }
  archive.WriteDword(static_cast<std::uint32_t>(it->second.size()));
  for (const CAnnotation* item : it->second) {
    WriteBase(archive, *item);
    if (item->GetKind() != CAnnotation::kText) continue;
    // A reader takes every text of an element's list as a label.
    if (item->IsLabel()) static_cast<const CAnnotationLabel*>(item)->WriteLabel(archive);
    else CAnnotationLabel(CAnnotation::kText).WriteLabel(archive);
  }
}

void CAnnotationArchive::WriteRunList(CArchiveWriter& archive, const CRun& run) {
  IndexForWriting();
  const auto it = m_byOwner.find(&run);
  const Matches none;
  const Matches& items = it == m_byOwner.end() ? none : it->second;
  archive.WriteDword(static_cast<std::uint32_t>(items.size()));
  for (const CAnnotation* item : items) WriteBase(archive, *item);
}

void CAnnotationArchive::WriteTotalsList(CArchiveWriter& archive) {
  IndexForWriting();
  archive.WriteDword(static_cast<std::uint32_t>(m_totals.size()));
  for (const CAnnotation* item : m_totals) WriteBase(archive, *item);
}

void CAnnotationArchive::WriteDocumentList(CArchiveWriter& archive) {
  IndexForWriting();
  archive.WriteDword(static_cast<std::uint32_t>(m_document.size()));
  for (const CAnnotation* item : m_document) {
    const auto& label = static_cast<const CAnnotationLabel&>(*item);
    WriteBase(archive, label);
    label.WriteLabel(archive);
    if (label.GetKind() == CAnnotation::kDistance) WriteDimensionEnds(archive, label);
  }
}

int CAnnotationArchive::ChainIndex(const CDev& element) {
  const CRun* run = element.GetRun();
  if (run == nullptr) return -1;
  if (m_chains.find(run) == m_chains.end()) {
    std::vector<CDev*>& order = m_chains[run] = run->GetChainOrder();
    for (std::size_t i = 0; i < order.size(); ++i)
      m_chainIndex.emplace(order[i], static_cast<int>(i));
  }
  const auto it = m_chainIndex.find(&element);
  return it == m_chainIndex.end() ? -1 : it->second;
}

CDev* CAnnotationArchive::ElementAt(std::uint32_t run, std::uint32_t index) {
  if (run >= m_runs.size()) return nullptr;
  const CRun* owner = m_runs[run];
  auto it = m_chains.find(owner);
  if (it == m_chains.end()) it = m_chains.emplace(owner, owner->GetChainOrder()).first;
  return index < it->second.size() ? it->second[index] : nullptr;
}

void CAnnotationArchive::WriteDimensionEnds(CArchiveWriter& archive,
                                            const CAnnotationLabel& label) {
  const CAnnotationLabel::CDimensionCodes& codes = label.GetDimensionCodes();
  for (std::int32_t code : {codes.firstBox, codes.firstPoint, codes.secondBox, codes.secondPoint})
    archive.WriteLong(code);
  label.GetPoint(2).Serialize(archive);
  for (int end = 0; end < 2; ++end) {
    const CDev* element = label.GetEnd(end);
    const int run = element != nullptr ? RunIndex(element->GetRun()) : -1;
    const int index = element != nullptr ? ChainIndex(*element) : -1;
    archive.WriteDword(static_cast<std::uint32_t>(std::max(run, 0)));
    archive.WriteDword(static_cast<std::uint32_t>(std::max(index, 0)));
  }
}

std::uint32_t CAnnotationArchive::ReadCount(CArchiveReader& archive, int sinceVersion) {
  if (m_version < sinceVersion) return 0;
  const std::uint32_t count = archive.ReadDword();
  // Most elements carry none: no count to weigh against the rest of the stream.
  if (count != 0) archive.RequireCount(count, kMinRecordBytes, "annotations");
  return count;
}

void CAnnotationArchive::ReadElementList(CArchiveReader& archive, CDev& element) {
  const std::uint32_t count = ReadCount(archive, kElementListVersion);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::unique_ptr<CAnnotation> item = CAnnotation::ReadRecord(archive, m_version);
    if (item->GetKind() == CAnnotation::kText) {
      auto label = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
      label->TakeRecordFields(*item);
      label->ReadLabel(archive);
      item = std::move(label);
    }
    if (!item->HasKnownKind()) continue;
    item->SetOwnerElement(&element);
    m_list.Append(std::move(item));
  }
}

void CAnnotationArchive::SkipList(CArchiveReader& archive, bool withLabels) {
  const std::uint32_t count = ReadCount(archive, kElementListVersion);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::unique_ptr<CAnnotation> item = CAnnotation::ReadRecord(archive, m_version);
    if (withLabels && item->GetKind() == CAnnotation::kText) {
      CAnnotationLabel(CAnnotation::kText).ReadLabel(archive);
    }
  }
}

void CAnnotationArchive::ReadRunList(CArchiveReader& archive, CRun& run) {
  const std::uint32_t count = ReadCount(archive, kElementListVersion);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::unique_ptr<CAnnotation> item = CAnnotation::ReadRecord(archive, m_version);
    if (!item->HasKnownKind()) continue;
    item->SetOwnerRun(&run);
    m_list.Append(std::move(item));
  }
}

void CAnnotationArchive::ReadTotalsList(CArchiveReader& archive) {
  const std::uint32_t count = ReadCount(archive, kElementListVersion);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::unique_ptr<CAnnotation> item = CAnnotation::ReadRecord(archive, m_version);
    if (!item->HasKnownKind()) continue;
    item->SetOwnerTotalsPage();
    m_list.Append(std::move(item));
  }
}

void CAnnotationArchive::ReadDocumentList(CArchiveReader& archive) {
  const std::uint32_t count = ReadCount(archive, kDocumentListVersion);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::unique_ptr<CAnnotation> base = CAnnotation::ReadRecord(archive, m_version);
    auto label = std::make_unique<CAnnotationLabel>(base->GetKind());
    label->TakeRecordFields(*base);
    label->ReadLabel(archive);
    label->SetOwnerDocument();
    if (label->GetKind() == CAnnotation::kDistance) {
      ReadDimensionEnds(archive, *label);
      if (label->GetEnd(0) == nullptr || label->GetEnd(1) == nullptr) continue;
    }
    if (!label->HasKnownKind()) continue;
    m_list.Append(std::move(label));
  }
}

void CAnnotationArchive::ReadDimensionEnds(CArchiveReader& archive, CAnnotationLabel& label) {
  CAnnotationLabel::CDimensionCodes codes;
  codes.firstBox = archive.ReadLong();
  codes.firstPoint = archive.ReadLong();
  codes.secondBox = archive.ReadLong();
  codes.secondPoint = archive.ReadLong();
  label.SetDimensionCodes(codes);
  C3DPoint third;
  third.Serialize(archive);
  label.SetPoint(2, third);
  for (int end = 0; end < 2; ++end) {
    const std::uint32_t run = archive.ReadDword();
    const std::uint32_t index = archive.ReadDword();
    label.SetEnd(end, ElementAt(run, index));
  }
}

void CAnnotationArchive::FinishLoad() {
  m_list.Reverse();
  m_list.ResolveLinkedRuns(m_runs);
}
