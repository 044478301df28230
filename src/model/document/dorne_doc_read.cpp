#include "model/document/dorne_doc.h"

#include "app/message_text.h"
#include "model/annotation/annotation_archive.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_title_texts.h"
#include "model/element/dev.h"
#include "model/document/doc_observer.h"
#include "model/run/run.h"
#include "model/run/run_factory.h"
#include "model/run/run_held_boxes.h"
#include "model/document/scoped_flag.h"
#include "geometry/box.h"
#include "geometry/parallel_chunks.h"
#include "platform/archive.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int kMsgVersionTooOld = 31465;
constexpr int kMsgVersionTooNew = 31466;
constexpr int kMsgNotALayout = 8092;
// Format numbers fit in a word, as the version word does; four bytes of text do not.
constexpr std::uint32_t kMaxFormatNumber = 0xFFFF;
constexpr int kOldestVersion = 200;
constexpr int kSubVersionSince = 511;
constexpr int kTotalsPageSince = 490;
constexpr int kDocumentListSince = 491;
constexpr int kViewAnglesSince = 512;
constexpr int kMaxToolMode = 15;
constexpr int kAllFaces = 63;
// The fewest bytes a run takes in the file: its code, properties, names, flags, element
// counts, bill of materials and annotation count.
constexpr std::uint64_t kMinRunBytes = 20;
// Fewer boxes than this to a piece are projected faster on one thread than the threads start.
constexpr std::size_t kBoxesPerProjectionPiece = 2048;
// As many elements (most hold one to three boxes): a piece is never smaller than before.
constexpr std::size_t kElementsPerProjectionPiece = 2048;

// project(i) for every i below count, in pieces of at least `least` on worker threads.
template <class Project>
void ProjectPieces(std::size_t count, std::size_t least, Project&& project) {
  CParallelChunks::Run(count, CParallelChunks::ChunkCount(count, least),
                       [&project](std::size_t, std::size_t from, std::size_t to) {
                         for (std::size_t i = from; i < to; ++i) project(i);
                       });
}

std::string VersionText(long long version) {
  char text[48];
  std::snprintf(text, sizeof text, "%lld.%lld", version / 100, version % 100);
  return text;
}

// The file's format number beside the one this program writes, so that the two numbers
// shown are of one kind.
[[noreturn]] void RefuseVersion(int message, long long version, std::size_t offset) {
  const std::string text =
      FormatMessageTextSS(message, VersionText(version), VersionText(CDorneDoc::kFileSubVersion));
  throw CDocVersionError(message, text, offset);
}

[[noreturn]] void RefuseNonLayout() {
  throw CDocVersionError(kMsgNotALayout, LookupText(kMsgNotALayout), 0);
}

[[noreturn]] void Damaged(const CArchiveReader& archive, const std::string& what) {
  throw CArchiveError("damaged layout document: " + what, archive.Position());
}

// Every box the runs hold, in the document's order; none when some box is in a scene,
// which only the caller's thread may refile.
std::optional<std::vector<CBox*>> UnlistedBoxesOfRuns(const std::vector<CRun*>& runs) {
  std::vector<CBox*> boxes;
  bool allUnlisted = true;
  for (const CRun* run : runs) {
    VisitBoxesHeldByRun(*run, [&](CBox& box) {
      allUnlisted = allUnlisted && !box.IsListed();
      boxes.push_back(&box);
    });
    if (!allUnlisted) return std::nullopt;
  }
  return boxes;
}

// Every element that holds boxes of the runs, found without reading one.
std::vector<const CDev*> ElementsHoldingBoxes(const std::vector<CRun*>& runs) {
  std::vector<const CDev*> elements;
  std::size_t count = 0;
  for (const CRun* run : runs)
    count += run->GetDevices().size() + run->GetLengthRecords().size() + 1;
  elements.reserve(count);
  for (const CRun* run : runs)
    VisitElementsHoldingBoxes(*run,
                              [&elements](const CDev& element) { elements.push_back(&element); });
  return elements;
}

}  // namespace

void CDorneDoc::Serialize(CArchiveReader& archive) {
  // A scene put off is made now: runs read on other threads ask the scene about their
  // boxes.
  m_projection.GetDisplayList().Settle();
  const CBOMTitleTexts titles;
  const CBOMTitleTexts::CUse titlesInUse(&titles);
  ReadVersion(archive);
  const CScopedFlag reading(m_reading);
  CArchiveSession session(m_annotationArchive);
  m_annotationArchive =
      std::make_unique<CAnnotationArchive>(m_annotations, m_runList, m_fileVersion);
  ReadHead(archive);
  ReadRunsAndTail(archive);
  m_annotationArchive->FinishLoad();
  ComputeTotalsAfterReading();
  Notify(EDocNotice::kLoaded);
}

void CDorneDoc::ReadVersion(CArchiveReader& archive) {
  const int version = archive.ReadWord();
  if (version < kOldestVersion) RefuseVersion(kMsgVersionTooOld, version, 0);
  if (version > kFileVersion) {
    // A later format still carries its format number next; any other file (a text named
    // ".run") is no layout document at all, whatever its first bytes read as.
    if (archive.Remaining() < 4 || archive.ReadDword() > kMaxFormatNumber) RefuseNonLayout();
    RefuseVersion(kMsgVersionTooNew, version, 0);
  }
  m_fileVersion = version;
  m_subVersion = 0;
  if (version < kSubVersionSince) return;
  const std::uint32_t sub = archive.ReadDword();
  if (sub > static_cast<std::uint32_t>(kFileSubVersion)) RefuseVersion(kMsgVersionTooNew, sub, 2);
  m_subVersion = static_cast<int>(sub);
  if (sub > 1) {
    m_fileVersion = static_cast<int>(sub);
    m_subVersion = 1;
  }
}

void CDorneDoc::ReadHead(CArchiveReader& archive) {
  m_props.Serialize(archive);
  SetLengthUnit(archive.ReadLong());
  for (std::int32_t& value : m_viewCentre) value = archive.ReadLong();
  for (std::int32_t& value : m_viewSize) value = archive.ReadLong();
  for (float& value : m_viewScale) value = archive.ReadFloat();
  m_toolMode = archive.ReadWord();
  if (m_toolMode > kMaxToolMode) Damaged(archive, "tool mode " + std::to_string(m_toolMode));
  for (float& value : m_workArea) value = archive.ReadFloat();
  archive.Skip(8);  // the cursor's window position, recomputed on writing
  m_freeFaceMask = archive.ReadWord();
  if (m_freeFaceMask > kAllFaces)
    Damaged(archive, "free-face mask " + std::to_string(m_freeFaceMask));
  m_pending = archive.ReadByte() != 0;
  m_printScale = archive.ReadFloat();
  m_rate = archive.ReadFloat();
  CBOMGrid::MarkEveryBillStale();  // the bills of runs already here show prices at the rate
  m_cursor.Serialize(archive);
  m_nextRunName = archive.ReadString();
}

void CDorneDoc::ReadRunsAndTail(CArchiveReader& archive) {
  const std::uint32_t count = archive.ReadDword();
  archive.RequireCount(count, kMinRunBytes, "runs");
  // Room for them all at once: the arrays do not move while runs are read on other threads.
  m_runs.reserve(m_runs.size() + count);
  m_runList.reserve(m_runList.size() + count);
  m_runsReadAside = 0;
  if (ShouldReadRunsAside(count)) {
    ReadRunsAsideAndTail(archive, count);
    return;
  }
  ReadRuns(archive, 0, count);
  ReadTail(archive);
}

CRun& CDorneDoc::AddRunToRead(const std::string& code) {
  // Made without the document, so that the next run name stays as read.
  std::unique_ptr<CRun> run =
      CRunFactory::Instance().CreateForCatalog(CRunFactory::CatalogOfFileCode(code), nullptr);
  CRun& added = *run;
  AddRun(std::move(run));
  return added;
}

void CDorneDoc::ReadRuns(CArchiveReader& archive, std::uint32_t from, std::uint32_t count) {
  for (std::uint32_t i = from; i < count; ++i) {
    CRun& run = AddRunToRead(archive.ReadString());
    run.Serialize(archive);
    // Box colours are not stored: the elements take them again from their kinds and types,
    // each run as soon as it is read, while its elements are still at hand in the cache.
    run.UpdateElementColors(0);
  }
}

void CDorneDoc::ReadTail(CArchiveReader& archive) {
  const std::uint32_t current = archive.ReadDword();
  // Every index outside the run array is damage, not only those past its end.
  if (current >= m_runList.size()) Damaged(archive, "current run " + std::to_string(current));
  SetCurrentRun(m_runList[current]);
  if (m_fileVersion >= kTotalsPageSince) {
    m_totalsPageShown = archive.ReadDword() != 0;
    for (std::int32_t& value : m_totalsPageRect) value = archive.ReadLong();
    m_annotationArchive->ReadTotalsList(archive);
  }
  if (m_fileVersion >= kDocumentListSince) m_annotationArchive->ReadDocumentList(archive);
  if (m_fileVersion >= kViewAnglesSince) {
    std::array<std::int32_t, 3> angles{};
    for (std::int32_t& angle : angles) angle = archive.ReadLong();
    m_projection.SetViewAngles(angles[0], angles[1], angles[2], false, false);
  }
  m_reading = false;
  ProjectBoxesOfReadFile();
}

// The boxes were read before the angles were known. A box's projection is its own work,
// so the boxes are cut into pieces projected on worker threads, whatever runs they belong
// to: one run of many elements is as much work as many small runs. With an empty scene
// the pieces are cut by elements, whose boxes are first met on the thread that projects
// them, not on this one beforehand. A box already in a scene is refiled as it is
// projected, so with any such box everything goes the one-thread way.
void CDorneDoc::ProjectBoxesOfReadFile() {
  if (m_projection.GetDisplayList().BoxCount() == 0) {
    const std::vector<const CDev*> elements = ElementsHoldingBoxes(m_runList);
    ProjectPieces(elements.size(), kElementsPerProjectionPiece, [&](std::size_t i) {
      VisitBoxesOfElement(*elements[i], [this](CBox& box) { m_projection.ProjectBox(box); });
    });
  } else if (const std::optional<std::vector<CBox*>> unlisted = UnlistedBoxesOfRuns(m_runList)) {
    const std::vector<CBox*>& boxes = *unlisted;
    ProjectPieces(boxes.size(), kBoxesPerProjectionPiece,
                  [&](std::size_t i) { m_projection.ProjectBox(*boxes[i]); });
  } else {
    ProjectAllBoxes();
    return;
  }
  for (CExtraBox& extra : m_extraBoxes) m_projection.ProjectBox(*extra.box);
}
