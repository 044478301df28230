#include "model/document/run_records_writer.h"

#include "geometry/parallel_chunks.h"
#include "model/run/run.h"
#include "model/run/run_factory.h"
#include "platform/archive.h"

#include <algorithm>
#include <atomic>
#include <exception>

namespace {

// Below this many elements a design is written sooner on one thread than the pieces are
// handed out and joined.
constexpr std::size_t kMinElementsApart = 10000;
// Pieces to every thread: runs of very different sizes still end near one another.
constexpr std::size_t kPiecesPerThread = 2;

std::size_t WeightOf(const CRun& run) {
  return 1 + run.GetDevices().size() + run.GetLengthRecords().size();
}

}  // namespace

CRunRecordsWriter::CRunRecordsWriter(const std::vector<CRun*>& runs, std::size_t pieces)
    : m_runs(runs) {
  std::vector<std::size_t> weights;
  weights.reserve(runs.size());
  for (const CRun* run : runs) {
    weights.push_back(WeightOf(*run));
    m_totalWeight += weights.back();
  }
  if (pieces == 0) {
    const std::size_t threads = CParallelChunks::WorkerCount() + 1;
    pieces = m_totalWeight < kMinElementsApart ? 1 : threads * kPiecesPerThread;
  }
  pieces = std::clamp<std::size_t>(pieces, 1, std::max<std::size_t>(runs.size(), 1));
  // Each piece ends once the runs so far weigh their share of the whole.
  std::size_t weight = 0;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const std::size_t due = m_totalWeight * m_firstRuns.size() / pieces;
    if (m_firstRuns.empty() || (weight >= due && m_firstRuns.back() != i)) {
      m_firstRuns.push_back(i);
      m_weights.push_back(0);
    }
    weight += weights[i];
    m_weights.back() += weights[i];
  }
  if (m_firstRuns.empty()) {
    m_firstRuns.push_back(0);
    m_weights.push_back(0);
  }
}

void CRunRecordsWriter::WritePiece(CArchiveWriter& archive, std::size_t piece) const {
  const std::size_t end = piece + 1 < m_firstRuns.size() ? m_firstRuns[piece + 1] : m_runs.size();
  for (std::size_t i = m_firstRuns[piece]; i < end; ++i) {
    const CRun& run = *m_runs[i];
    archive.WriteString(CRunFactory::FileCodeOf(run.GetPropText("Catalog")));
    run.Serialize(archive);
  }
}

bool CRunRecordsWriter::WriteNextPiece(CRound& round) const {
  const std::size_t piece = round.next.fetch_add(1, std::memory_order_relaxed);
  if (piece >= round.pieces.size()) return false;
  CPiece& own = round.pieces[piece];
  // A throw on a worker would end the program: it is kept and thrown by the caller instead.
  try {
    const std::size_t share = round.expectedBytes / m_totalWeight * m_weights[piece];
    own.bytes.Reserve(share + share / 8);
    WritePiece(own.bytes, piece);
  } catch (...) {
    own.error = std::current_exception();
  }
  own.done.store(true, std::memory_order_release);
  own.done.notify_one();
  return true;
}

void CRunRecordsWriter::JoinDonePieces(CRound& round, CArchiveWriter& archive) {
  for (; round.joined < round.pieces.size(); ++round.joined) {
    CPiece& piece = round.pieces[round.joined];
    if (!piece.done.load(std::memory_order_acquire)) return;
    archive.Append(piece.bytes);
    piece.bytes = CArchiveWriter();
  }
}

// The calling thread writes the first piece into the stream, then takes pieces as the other
// threads do; between two it joins the pieces done, in order, so that most of the copying
// happens while other pieces are still being written.
void CRunRecordsWriter::WriteAndJoin(CRound& round, CArchiveWriter& archive) const {
  try {
    WritePiece(archive, 0);
  } catch (...) {
    round.pieces[0].error = std::current_exception();
  }
  do JoinDonePieces(round, archive);
  while (WriteNextPiece(round));
  // Every piece is taken: those not done are being written on threads that wait on none.
  while (round.joined < round.pieces.size()) {
    round.pieces[round.joined].done.wait(false, std::memory_order_acquire);
    JoinDonePieces(round, archive);
  }
}

void CRunRecordsWriter::Write(CArchiveWriter& archive, std::size_t expectedBytes) const {
  const std::size_t pieces = m_firstRuns.size();
  if (pieces == 1) return WritePiece(archive, 0);
  CRound round(pieces, expectedBytes);
  const std::size_t threads = std::min(pieces, CParallelChunks::WorkerCount() + 1);
  CParallelChunks::Run(threads, threads, [&](std::size_t chunk, std::size_t, std::size_t) {
    if (chunk == 0) return WriteAndJoin(round, archive);  // on the calling thread
    while (WriteNextPiece(round)) {}
  });
  for (const CPiece& piece : round.pieces) {
    if (piece.error) std::rethrow_exception(piece.error);
  }
}
