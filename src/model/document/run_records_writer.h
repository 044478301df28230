#pragma once

#include "platform/archive.h"

#include <atomic>
#include <cstddef>
#include <exception>
#include <vector>

class CRun;

// Writes the records of a design's runs in order, each after its catalogue's file code,
// in pieces of consecutive runs spread over the processor's threads: the first piece
// straight into the stream, each other into a stream of its own, joined in run order, so
// the bytes are those of one pass over the runs. A large design's save and undo snapshot
// then cost a share of the runs each.
//
// Writing a run reads that run, its elements and its bill and, through the document, only
// what stays still while the document is written (the annotation lists, indexed before the
// runs are written, the view's projection, the equipment values). The runs must be ready
// to be written (their joint options noted) before the call.
class CRunRecordsWriter {
 public:
  // pieces: how many pieces to cut the runs into; 0 lets the size of the design choose
  // (one piece, on the calling thread, below some thousands of elements).
  CRunRecordsWriter(const std::vector<CRun*>& runs, std::size_t pieces);

  // The records into the stream; expectedBytes (the last such writing's size, or 0) sizes
  // the pieces' streams. What writing a run throws goes on, that of the first run in
  // order, once every piece has ended; the stream then holds part of the records.
  void Write(CArchiveWriter& archive, std::size_t expectedBytes) const;

 private:
  struct CPiece {
    CArchiveWriter bytes;  // but the first piece's, written into the stream
    std::atomic<bool> done = false;
    std::exception_ptr error;
  };
  // One writing's pieces, handed out in order, and how far they are joined.
  struct CRound {
    CRound(std::size_t count, std::size_t expected) : pieces(count), expectedBytes(expected) {}
    std::vector<CPiece> pieces;
    std::size_t expectedBytes;
    std::atomic<std::size_t> next = 1;  // the first piece is the calling thread's
    std::size_t joined = 1;
  };
  void WritePiece(CArchiveWriter& archive, std::size_t piece) const;
  // Writes the next piece not taken yet; false when every piece is taken.
  bool WriteNextPiece(CRound& round) const;
  static void JoinDonePieces(CRound& round, CArchiveWriter& archive);
  void WriteAndJoin(CRound& round, CArchiveWriter& archive) const;

  const std::vector<CRun*>& m_runs;
  std::vector<std::size_t> m_firstRuns;  // of each piece, ascending, the first one 0
  std::vector<std::size_t> m_weights;    // of each piece, out of m_totalWeight
  std::size_t m_totalWeight = 0;
};
