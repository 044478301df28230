#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Splits a total length into standard piece lengths: how many pieces of each available
// length make up the total exactly, or, when no exact combination exists, the
// combination that leaves the smallest remainder still long enough (at least the
// minimum remainder) to be made as a piece of its own.
//
// The answer is the one an exhaustive search gives when it tries the most pieces of the
// largest length first, then of the next smaller, and keeps the first exact combination
// (or, without one, the first combination with the smallest acceptable remainder). It
// is computed from tables of the smallest sum in each residue class modulo the smallest
// length, so the time grows with the number of lengths times the smallest length and
// not with the total.
class CLengthSolver {
 public:
  // Lengths of 1,048,576 or more, and of 0 or less, are never used.
  static constexpr std::int32_t kLengthLimit = 1048576;
  // Beyond this many pieces the combination is not spelled out (see below).
  static constexpr std::int64_t kMaxPieces = 1 << 20;
  // Beyond this many table cells (lengths used times the smallest length) the solver
  // gives up rather than take hundreds of megabytes.
  static constexpr std::int64_t kMaxTableCells = std::int64_t{1} << 23;

  CLengthSolver() = default;
  virtual ~CLengthSolver() = default;

  // `lengths`: the caller's lengths, read up to the first 0 entry or the end. Appends to
  // `result` one character per piece, "1" plus the piece's position in `lengths` (a
  // value given more than once takes its last position), grouped by length, largest
  // first, and returns the remainder (0 for an exact combination). Returns the total
  // and leaves `result` alone when no acceptable combination exists, when the total is
  // negative, or when the answer would exceed kMaxPieces pieces or kMaxTableCells.
  std::int32_t SolveLengthCombination(std::int32_t total, std::span<const std::int32_t> lengths,
                                      std::int32_t minRemainder, std::string& result);

  // The distinct lengths of the last solve, ascending.
  const std::vector<std::int32_t>& GetLengths() const { return m_lengths; }

 private:
  // Smallest representable sum per residue modulo the smallest length, for the first
  // 1..n lengths; kNone where no sum up to the total exists.
  using Table = std::vector<std::uint32_t>;

  // The sum of the pieces to use: the total when it can be made exactly, else the
  // largest sum that leaves an acceptable remainder; -1 when there is none.
  std::int64_t ChooseSum(std::int32_t total);
  void BuildTables(std::int64_t total);
  std::int64_t LargestReachableSum(std::int64_t total) const;
  // Appends to `counts` (largest length first) the counts of the lexicographically
  // greatest combination of lengths 0..k that makes `remaining` exactly.
  void SolveLengthStep(std::int64_t remaining, int k, std::vector<std::int64_t>& counts) const;
  bool Reachable(std::int64_t sum, std::size_t prefix) const;

  std::vector<std::int32_t> m_lengths;
  std::int32_t m_minRemainder = 0;
  std::vector<std::int32_t> m_used;  // the lengths up to the total, during a solve
  std::vector<Table> m_tables;       // m_tables[j]: with m_used[0..j]
};
