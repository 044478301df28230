#include "model/document/check_message_table.h"

void CCheckMessageTable::Reset(bool all) {
  if (all) {
    m_records.fill(CCheckMessage{});
    m_index = 0;
    return;
  }
  if (m_index >= kSize) return;
  const int state = Record(m_index).state;
  if (state == 12 || state == 13 || state == 14 || state == 16) Record(m_index) = CCheckMessage{};
}

bool CCheckMessageTable::HasErrors() const {
  const int state = m_records[0].state;
  return state != CCheckMessage::kEmpty && state != CCheckMessage::kYields;
}

bool CCheckMessageTable::RepeatsEarlier(int index) const {
  const CCheckMessage& current = At(index);
  for (int i = 0; i < index; ++i) {
    if (At(i).element == current.element && At(i).state == current.state) return true;
  }
  return false;
}

void CCheckMessageTable::Advance() {
  if (m_index >= kSize) return;
  CCheckMessage& current = Record(m_index);
  // An empty record is not closed: the next message still lands in it. A state-11
  // record that was opened ahead of it moves down into its place.
  if (current.state == CCheckMessage::kEmpty) {
    if (m_index < kSize - 1 && Record(m_index + 1).state == 11) {
      current = std::move(Record(m_index + 1));
      Record(m_index + 1) = CCheckMessage{};
    }
    return;
  }
  if (current.state < 7 && m_index >= 1 && RepeatsEarlier(m_index)) {
    current = CCheckMessage{};
    return;
  }
  if (current.state != CCheckMessage::kYields) {
    while (m_index >= 1 && Record(m_index - 1).state == CCheckMessage::kYields) {
      Record(m_index - 1) = std::move(Record(m_index));
      Record(m_index) = CCheckMessage{};
      --m_index;
    }
  }
  ++m_index;
}

int CCheckMessageTable::Admit(const CDev* element, int state) {
  if (element == nullptr || m_index >= kSize) return -1;
  const int current = Record(m_index).state;
  if (state == 17) return current == 13 ? 13 : -1;
  if (state >= 0 && state <= 6) {
    if (current < 7) Advance();
    return m_index >= kSize ? -1 : state;
  }
  if (state == 11) {
    if (m_index >= kSize - 1) return -1;
    ++m_index;
    return state;
  }
  if (state == CCheckMessage::kYields) return state;
  if (state < 0 || state > CCheckMessage::kYields) return -1;
  return current < state ? -1 : state;
}

void CCheckMessageTable::Store(int admittedState, int givenState, CCheckMessage message) {
  message.state = admittedState;
  if (admittedState == 13) m_remembered = message;
  Record(m_index) = std::move(message);
  if (givenState == 11) --m_index;
}
