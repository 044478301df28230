#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

// The answers of the length solver already given during one build: a long run repeats
// the same stretch between units many times over, and each solve builds tables that
// grow with the smallest piece length.
class CLengthSplitMemo {
 public:
  struct CAnswer {
    std::int32_t remainder = 0;
    std::string pieces;
  };
  // Bounds the memory a build with many different stretches may take.
  static constexpr std::size_t kMaxAnswers = 4096;

  const CAnswer* Find(std::int32_t total, const std::vector<std::int32_t>& lengths,
                      std::int32_t minRemainder) const {
    const auto it = m_answers.find(Key{total, minRemainder, lengths});
    return it == m_answers.end() ? nullptr : &it->second;
  }
  void Store(std::int32_t total, const std::vector<std::int32_t>& lengths,
             std::int32_t minRemainder, CAnswer answer) {
    if (m_answers.size() >= kMaxAnswers) m_answers.clear();
    m_answers.insert_or_assign(Key{total, minRemainder, lengths}, std::move(answer));
  }

 private:
  using Key = std::tuple<std::int32_t, std::int32_t, std::vector<std::int32_t>>;
  std::map<Key, CAnswer> m_answers;
};
