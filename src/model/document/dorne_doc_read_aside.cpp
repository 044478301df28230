// Reading the runs of a large file on several threads.
//
// The thread that reads the file passes each run's record with a skimmer that knows its
// form only, keeps its bytes and hands them to the readers; the runs are made and read from
// their bytes on worker threads meanwhile, each into its own run, with what the reading gives
// the document kept apart by run. Once every run is read, the document takes that over in
// the file's order, so that it holds what a reading one run after the other gives.
//
// Where anything goes otherwise (a run's record that the skimmer cannot pass, a run whose
// reading asks what only a reading in place can answer, a run whose reading fails or does not
// end where the skimmer put its end), the runs from the first such run on are dropped and the
// stream is read again from that run on, one run after the other: a damaged file fails as it
// always did, at the same byte and with the same message.

#include "model/document/dorne_doc.h"

#include "model/bom/bom_title_texts.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"
#include "model/run/run_factory.h"
#include "model/run/run_read_pipeline.h"
#include "model/run/run_record_skim.h"
#include "platform/archive.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace {

// Below this many runs a file is read faster on one thread than the threads start.
constexpr std::uint32_t kMinRunsReadAside = 32;
// The bytes of runs waiting to be read, as a share of the file: bounds what an opening
// holds beside the document it makes.
constexpr std::size_t kQueuedShareOfFile = 40;
// Room for a few batches to every reader, so that none waits on the bound.
constexpr std::size_t kMinQueuedBytes = 512 << 10;
// Runs of a few kilobytes each go to the readers a few at a time: each hand-over takes the
// lock the readers share and may wake one, which costs the feeding thread about as much
// as skimming a run.
constexpr std::size_t kBatchBytes = 32 << 10;

// The run that a record of that code is read into, made as a reading in place makes it.
std::unique_ptr<CRun> RunOfFileCode(const std::string& code, CRunDocument* document) {
  std::unique_ptr<CRun> run =
      CRunFactory::Instance().CreateForCatalog(CRunFactory::CatalogOfFileCode(code), nullptr);
  run->SetDocument(document);
  return run;
}

}  // namespace

bool CDorneDoc::ShouldReadRunsAside(std::uint32_t count) const {
  // Older files are brought up to date as they are read, which is left to the one thread.
  return m_readAgain && count >= kMinRunsReadAside && m_fileVersion == kFileSubVersion &&
         std::thread::hardware_concurrency() > 1;
}

bool CDorneDoc::ReadRunAside(CRunReadAside& run) {
  try {
    // Filling a range's tables is the feeding thread's work: a run that would need it
    // fails here and is read again in place.
    const CRangeTableCache::CFillRefusal refusal;
    const CRunReadSink::CScope scope(run.sink);
    // The reader takes the bytes over: they go with it once the run is read.
    CArchiveReader archive(std::move(run.bytes), run.offset);
    const std::string code = archive.ReadString();
    if (run.run == nullptr) {
      run.made = RunOfFileCode(code, this);
      run.run = run.made.get();
    }
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
  CRunReadPipeline pipeline(
      std::max(fileSize / kQueuedShareOfFile, kMinQueuedBytes),
      [this, titles = CBOMTitleTexts::InUse()](CRunReadAside& run) {
        const CBOMTitleTexts::CUse titlesInUse(titles);
        return ReadRunAside(run);
      },
      kBatchBytes);
  CRunRecordSkimmer skimmer(m_fileVersion);
  std::set<std::string> codes;
  // Where the run whose record the skimmer could not pass begins.
  std::size_t stoppedAt = 0;
  std::uint32_t skimmed = 0;
  std::size_t lastSize = 0;
  for (; skimmed < count && !pipeline.Failed(); ++skimmed) {
    std::vector<std::uint8_t> bytes;
    // Runs of one file are much alike: room for as much as the last one took spares copies.
    bytes.reserve(lastSize + lastSize / 8);
    const std::size_t offset = archive.Position();
    archive.StartCopy(bytes);
    // The run of a range not met yet is made here: it takes that range's tables, filling
    // them, while no run is being read. The readers make the others, each as it reads it:
    // making a run takes longer than skimming it, and this thread skims them all.
    std::unique_ptr<CRun> run;
    bool passed = false;
    try {
      const std::string code = archive.ReadString();
      if (codes.insert(code).second) {
        pipeline.WaitUntilIdle();
        run = RunOfFileCode(code, this);
      }
      skimmer.SkipRun(archive);
      passed = true;
    } catch (const std::exception&) {
      passed = false;  // the reading in place meets it again, and fails as it must
    }
    archive.StopCopy();
    if (!passed) {
      stoppedAt = offset;
      break;
    }
    lastSize = bytes.size();
    auto aside = std::make_unique<CRunReadAside>(std::move(run), m_fileVersion);
    aside->bytes = std::move(bytes);
    aside->offset = offset;
    pipeline.Push(std::move(aside));
  }
  pipeline.WaitUntilIdle();

  std::deque<std::unique_ptr<CRunReadAside>>& runs = pipeline.Runs();
  const std::size_t first = pipeline.FirstUnread();
  // A document read into keeps the runs it had; the runs read come after them, in the
  // file's order.
  for (std::size_t i = 0; i < first; ++i) {
    CRunReadAside& run = *runs[i];
    m_runList.push_back(run.run);
    m_runs.push_back(std::move(run.made));
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
  for (std::size_t i = first; i < runs.size(); ++i) {
    runs[i]->sink.AnnotationList().Clear();
    runs[i]->made.reset();
  }
  const std::size_t restAt = first < runs.size() ? runs[first]->offset : stoppedAt;
  const bool readAgain = m_readAgain(restAt, [&](CArchiveReader& rest) {
    ReadRuns(rest, static_cast<std::uint32_t>(first), count);
    ReadTail(rest);
  });
  if (!readAgain) throw CArchiveError("the file could not be read again", restAt);
}
