#pragma once

#include <array>
#include <cstdint>
#include <string>

class CDev;

// One design-check record: the element concerned, its check state (0..19, 18 empty)
// and the two texts and numbers shown for it.
struct CCheckMessage {
  static constexpr int kEmpty = 18;
  static constexpr int kYields = 19;

  CDev* element = nullptr;  // not owned
  int state = kEmpty;
  std::string problem;
  std::string solution;
  std::int32_t value1 = 0;
  std::int32_t value2 = 0;
};

// The ten design-check records of a part builder and their admission and priority
// rules. A lower state outranks a higher one; states below 7 are notices that may stand
// several in a row; state 11 opens a record of its own; state 19 yields its place. The
// texts are composed by the builder (part_builder_messages.cpp); this class decides
// where a message lands.
class CCheckMessageTable {
 public:
  static constexpr int kSize = 10;

  CCheckMessageTable() { Reset(true); }

  // With all, every record becomes empty and the index 0; otherwise only the current
  // record, when it holds a pending length or reference check (12, 13, 14 or 16).
  void Reset(bool all);
  // Closes the current record and moves the index on (merging and dropping repeats).
  void Advance();
  // True when the first record holds a state other than empty and yielding.
  bool HasErrors() const;

  // The admission rules, before any text is made. Returns the state to record (17
  // becomes 13 over a state-13 record) or -1 when the message is dropped; may advance
  // the index (notices after notices, state 11).
  int Admit(const CDev* element, int state);
  // Writes the record at the current index; a state-11 message then moves the index
  // back so that the next message lands in the same record.
  void Store(int admittedState, int givenState, CCheckMessage message);

  int GetIndex() const { return m_index; }
  const CCheckMessage& At(int index) const { return m_records.at(static_cast<std::size_t>(index)); }
  const CCheckMessage* Current() const { return m_index < kSize ? &At(m_index) : nullptr; }
  // The last state-13 message, which a later state 12 or 17 completes.
  const CCheckMessage& GetRemembered() const { return m_remembered; }

 private:
  CCheckMessage& Record(int index) { return m_records[static_cast<std::size_t>(index)]; }
  bool RepeatsEarlier(int index) const;

  std::array<CCheckMessage, kSize> m_records{};
  int m_index = 0;
  CCheckMessage m_remembered;
};
