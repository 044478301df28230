#include "model/builder/length_solver.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

struct Entry {
  std::int32_t value;
  int position;
};

// The distinct usable lengths, ascending, each with its last position in the caller's
// array (entries after the first 0 are not read).
std::vector<Entry> DistinctLengths(std::span<const std::int32_t> lengths) {
  std::vector<Entry> entries;
  for (std::size_t i = 0; i < lengths.size() && lengths[i] != 0; ++i) {
    if (lengths[i] > 0 && lengths[i] < CLengthSolver::kLengthLimit)
      entries.push_back({lengths[i], static_cast<int>(i)});
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return a.value < b.value; });
  std::vector<Entry> distinct;
  for (const Entry& entry : entries) {
    if (!distinct.empty() && distinct.back().value == entry.value) distinct.back() = entry;
    else distinct.push_back(entry);
  }
  return distinct;
}

// Adds one length to a table of smallest sums per residue (round-robin over the cycles
// that the length makes among the residues); sums above `total` count as none.
void AddLength(std::vector<std::uint32_t>& table, std::int64_t length, std::int64_t total) {
  const std::int64_t modulus = static_cast<std::int64_t>(table.size());
  const std::int64_t cycles = std::gcd(length % modulus, modulus);
  const std::int64_t cycleLength = modulus / cycles;
  for (std::int64_t start = 0; start < cycles; ++start) {
    // Begin the walk at the smallest entry of the cycle: nothing can improve it.
    std::int64_t best = start;
    for (std::int64_t i = 0, r = start; i < cycleLength; ++i, r = (r + length) % modulus)
      if (table[r] < table[best]) best = r;
    if (table[best] == kNone) continue;
    for (std::int64_t i = 1, r = best; i < cycleLength; ++i) {
      const std::int64_t next = (r + length) % modulus;
      if (table[r] != kNone && table[r] + length <= total)
        table[next] =
            std::min<std::uint32_t>(table[next], static_cast<std::uint32_t>(table[r] + length));
      r = next;
    }
  }
}

}  // namespace

void CLengthSolver::BuildTables(std::int64_t total) {
  const auto modulus = static_cast<std::size_t>(m_used.front());
  m_tables.clear();
  Table table(modulus, kNone);
  table[0] = 0;
  for (std::int32_t length : m_used) {
    if (length != m_used.front()) AddLength(table, length, total);
    m_tables.push_back(table);
  }
}

bool CLengthSolver::Reachable(std::int64_t sum, std::size_t prefix) const {
  const Table& table = m_tables[prefix - 1];
  const std::uint32_t least = table[static_cast<std::size_t>(sum % m_used.front())];
  return least != kNone && least <= sum;
}

std::int64_t CLengthSolver::LargestReachableSum(std::int64_t limit) const {
  const Table& table = m_tables.back();
  const std::int64_t modulus = m_used.front();
  std::int64_t largest = -1;
  for (std::int64_t residue = 0; residue < modulus; ++residue) {
    if (table[residue] == kNone || table[residue] > limit) continue;
    largest = std::max(largest, limit - ((limit - residue) % modulus));
  }
  return largest;
}

void CLengthSolver::SolveLengthStep(std::int64_t remaining, int k,
                                    std::vector<std::int64_t>& counts) const {
  const std::int64_t length = m_used[k];
  const std::int64_t most = remaining / length;
  if (k == 0) {
    counts.push_back(most);  // the caller made sure that the rest divides exactly
    return;
  }
  // The largest count c that leaves a rest the lengths below can make. Counts that are
  // a period apart leave rests of one residue; per residue the smallest step back that
  // reaches its table entry is computed instead of tried one by one.
  const std::int64_t modulus = m_used.front();
  const Table& below = m_tables[k - 1];
  const std::int64_t period = modulus / std::gcd(length % modulus, modulus);
  std::int64_t bestCount = -1;
  for (std::int64_t back = 0; back < period && back <= most; ++back) {
    const std::int64_t rest = remaining - (most - back) * length;
    const std::uint32_t least = below[static_cast<std::size_t>(rest % modulus)];
    if (least == kNone) continue;
    const std::int64_t shortBy = std::max<std::int64_t>(0, least - rest);
    const std::int64_t periods = (shortBy + period * length - 1) / (period * length);
    const std::int64_t count = most - back - periods * period;
    if (count >= 0) bestCount = std::max(bestCount, count);
  }
  // A reachable `remaining` always has a count (at worst 0) that works.
  counts.push_back(bestCount);
  SolveLengthStep(remaining - bestCount * length, k - 1, counts);
}

std::int64_t CLengthSolver::ChooseSum(std::int32_t total) {
  if (static_cast<std::int64_t>(m_used.size()) * m_used.front() > kMaxTableCells) return -1;
  BuildTables(total);
  if (Reachable(total, m_used.size())) return total;
  const std::int64_t limit = std::min<std::int64_t>(total, std::int64_t{total} - m_minRemainder);
  return limit < 0 ? -1 : LargestReachableSum(limit);
}

std::int32_t CLengthSolver::SolveLengthCombination(std::int32_t total,
                                                   std::span<const std::int32_t> lengths,
                                                   std::int32_t minRemainder, std::string& result) {
  m_minRemainder = minRemainder;
  std::vector<Entry> distinct = DistinctLengths(lengths);
  m_lengths.clear();
  for (const Entry& entry : distinct) m_lengths.push_back(entry.value);
  if (total <= 0) return total;  // a negative length has no sensible combination
  // Lengths longer than the total can take no piece.
  while (!distinct.empty() && distinct.back().value > total) distinct.pop_back();
  if (distinct.empty()) return total;
  m_used.assign(m_lengths.begin(),
                m_lengths.begin() + static_cast<std::ptrdiff_t>(distinct.size()));
  const std::int64_t sum = ChooseSum(total);
  std::vector<std::int64_t> counts;
  if (sum > 0) SolveLengthStep(sum, static_cast<int>(m_used.size()) - 1, counts);
  m_tables.clear();
  const std::int64_t pieces = std::accumulate(counts.begin(), counts.end(), std::int64_t{0});
  if (sum <= 0 || pieces > kMaxPieces) return total;
  // counts[i] belongs to distinct[size - 1 - i]: largest length first.
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const int position = distinct[distinct.size() - 1 - i].position;
    result.append(static_cast<std::size_t>(counts[i]), static_cast<char>('1' + position));
  }
  return static_cast<std::int32_t>(total - sum);
}
