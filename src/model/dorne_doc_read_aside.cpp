// Reading the runs of a large file on several threads.
//
// The thread that reads the file passes each run's record with a skimmer that knows its
// form only, keeps its bytes and hands them to the readers; the runs are read from their
// bytes on worker threads meanwhile, each into its own run, with what the reading gives
// the document kept apart by run. Once every run is read, the document takes that over in
// the file's order, so that it holds what a reading one run after the other gives.
//
// Where anything goes otherwise (a run's record that the skimmer cannot pass, a run whose
// reading asks what only a reading in place can answer, a run whose reading fails or does not end
// where the skimmer put its end), the runs from the first such run on are dropped and read again
// one after the other, from their kept bytes and then from the file: a damaged file fails
// as it always did, at the same byte and with the same message.

#include "model/dorne_doc.h"

#include "model/range_rules.h"
#include "model/run.h"
#include "model/run_read_pipeline.h"
#include "model/run_record_skim.h"
#include "platform/archive.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <stdexcept>

namespace {

// Below this many runs a file is read faster on one thread than the threads start.
constexpr std::uint32_t kMinRunsReadAside = 32;
// The bytes of runs kept waiting to be read, as a share of the file: bounds what an
// opening holds beside the document it makes.
constexpr std::size_t kHeldShareOfFile = 20;
constexpr std::size_t kMinHeldBytes = 256 << 10;

// The stream from the first run to read again on: the bytes kept of those runs, then what
// the file has left.
class CKeptThenRest {
 public:
  CKeptThenRest(std::vector<const std::vector<std::uint8_t>*> kept, CArchiveReader& rest)
      : m_kept(std::move(kept)), m_rest(rest) {}

  std::size_t Size() const {
    std::size_t size = m_rest.Remaining();
    for (const std::vector<std::uint8_t>* bytes : m_kept) size += bytes->size();
    return size;
  }

  std::size_t Give(std::uint8_t* buffer, std::size_t count) {
    std::size_t given = 0;
    while (given < count && m_piece < m_kept.size()) {
      const std::vector<std::uint8_t>& bytes = *m_kept[m_piece];
      const std::size_t part = std::min(count - given, bytes.size() - m_at);
      std::memcpy(buffer + given, bytes.data() + m_at, part);
      given += part;
      m_at += part;
      if (m_at == bytes.size()) {
        ++m_piece;
        m_at = 0;
      }
    }
    const std::size_t part = std::min(count - given, m_rest.Remaining());
    if (part != 0) {
      std::memcpy(buffer + given, m_rest.Take(part), part);
      given += part;
    }
    return given;
  }

 private:
  std::vector<const std::vector<std::uint8_t>*> m_kept;
  CArchiveReader& m_rest;
  std::size_t m_piece = 0;
  std::size_t m_at = 0;
};

}  // namespace

bool CDorneDoc::ShouldReadRunsAside(std::uint32_t count) const {
  // Older files are brought up to date as they are read, which is left to the one thread.
  return m_mayReadRunsAside && count >= kMinRunsReadAside && m_fileVersion == kFileSubVersion &&
         std::thread::hardware_concurrency() > 1;
}

bool CDorneDoc::ReadRunAside(CRunReadAside& run) {
  try {
    // Filling a range's tables is the feeding thread's work: a run that would need it
    // fails here and is read again in place.
    const CRangeTableCache::CFillRefusal refusal;
    const CRunReadSink::CScope scope(run.sink);
    std::size_t at = 0;
    CArchiveReader archive(
        run.bytes.size(),
        [&run, &at](std::uint8_t* buffer, std::size_t count) {
          const std::size_t part = std::min(count, run.bytes.size() - at);
          std::memcpy(buffer, run.bytes.data() + at, part);
          at += part;
          return part;
        },
        run.offset);
    archive.SkipString();  // the code, which made the run
    run.run->Serialize(archive);
    if (!archive.AtEnd()) return false;
    run.run->UpdateElementColors(0);
    return true;
  } catch (...) {
    return false;  // read again in place, where it fails as it must
  }
}

void CDorneDoc::ReadRunsAsideAndTail(CArchiveReader& archive, std::uint32_t count) {
  const std::size_t fileSize = archive.Position() + archive.Remaining();
  // A document read into keeps the runs it had; the runs read come after them.
  const std::size_t runsBefore = m_runList.size();
  CRunReadPipeline pipeline(std::max(fileSize / kHeldShareOfFile, kMinHeldBytes),
                            [this](CRunReadAside& run) { return ReadRunAside(run); });
  CRunRecordSkimmer skimmer(m_fileVersion);
  std::set<std::string> codes;
  // The bytes of a run whose record the skimmer could not pass, where they begin.
  std::vector<std::uint8_t> stopped;
  std::size_t stoppedAt = 0;
  std::uint32_t skimmed = 0;
  std::size_t lastSize = 0;
  for (; skimmed < count && !pipeline.Failed(); ++skimmed) {
    std::vector<std::uint8_t> bytes;
    // Runs of one file are much alike: room for as much as the last one took spares copies.
    bytes.reserve(lastSize + lastSize / 8);
    const std::size_t offset = archive.Position();
    archive.StartCopy(bytes);
    CRun* run = nullptr;
    bool passed = false;
    try {
      const std::string code = archive.ReadString();
      // A run of a range not met yet takes that range's tables, filling them: no run is
      // being read meanwhile.
      if (codes.insert(code).second) pipeline.WaitUntilIdle();
      run = &AddRunToRead(code);
      skimmer.SkipRun(archive);
      passed = true;
    } catch (const std::exception&) {
      passed = false;  // the reading in place meets it again, and fails as it must
    }
    archive.StopCopy();
    if (!passed) {
      stopped = std::move(bytes);
      stoppedAt = offset;
      break;
    }
    lastSize = bytes.size();
    auto aside = std::make_unique<CRunReadAside>(*run, m_fileVersion);
    aside->bytes = std::move(bytes);
    aside->offset = offset;
    pipeline.Push(std::move(aside));
  }
  pipeline.WaitUntilIdle();

  std::deque<std::unique_ptr<CRunReadAside>>& runs = pipeline.Runs();
  const std::size_t first = pipeline.FirstUnread();
  for (std::size_t i = 0; i < first; ++i) {
    CRunReadAside& run = *runs[i];
    m_annotations.AppendAllOf(run.sink.AnnotationList());
    for (const CRunReadSink::CEquipment& equipment : run.sink.Equipment())
      AddEquipmentBox(*equipment.element, equipment.values);
    if (run.sink.TotalsStale()) m_staleTotals.insert(run.run);
  }
  m_runsReadAside = first;
  if (first == count) {
    ReadTail(archive);
    return;
  }
  // From the first run not read on: dropped, and read again one after the other.
  std::vector<const std::vector<std::uint8_t>*> kept;
  for (std::size_t i = first; i < runs.size(); ++i) {
    runs[i]->sink.AnnotationList().Clear();
    kept.push_back(&runs[i]->bytes);
  }
  kept.push_back(&stopped);
  const std::size_t restAt = first < runs.size() ? runs[first]->offset : stoppedAt;
  m_runList.resize(runsBefore + first);
  m_runs.resize(runsBefore + first);
  CKeptThenRest source(std::move(kept), archive);
  CArchiveReader rest(
      source.Size(),
      [&source](std::uint8_t* buffer, std::size_t count) { return source.Give(buffer, count); },
      restAt);
  ReadRuns(rest, static_cast<std::uint32_t>(first), count);
  ReadTail(rest);
}
