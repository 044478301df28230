#include "model/element/box_slots.h"

#include <array>
#include <new>
#include <utility>

CBoxSlots::~CBoxSlots() {
  if (HoldsArray()) delete[] m_store.many;
  else m_store.one.~unique_ptr();
}

const std::unique_ptr<CBox>& CBoxSlots::operator[](std::size_t slot) const {
  static const std::unique_ptr<CBox> kEmpty;
  const int number = slot < kSlotCount ? static_cast<int>(slot) : -1;
  return IsFilled(number) ? Data()[IndexOf(number)] : kEmpty;
}

int CBoxSlots::SlotOf(const CBox& box) const {
  // The filled slots in order, each at the next place of the store: no count of bits
  // for each slot, as asking slot by slot would make.
  const std::unique_ptr<CBox>* held = Data();
  for (std::uint32_t rest = m_filled; rest != 0; rest &= rest - 1u, ++held) {
    if (held->get() == &box) return std::countr_zero(rest);
  }
  return kSlotCount;
}

std::unique_ptr<CBox> CBoxSlots::Put(int slot, std::unique_ptr<CBox> box) {
  if (slot < 0 || slot >= kSlotCount) return box;
  if (IsFilled(slot)) {
    std::unique_ptr<CBox> old = std::exchange(Data()[IndexOf(slot)], std::move(box));
    if (!Data()[IndexOf(slot)]) Resize(slot, false);
    return old;
  }
  if (!box) return nullptr;
  if (m_filled == 0) {
    // The first box of an element (every element read from a file) needs no array.
    m_store.one = std::move(box);
    m_filled = 1u << slot;
    return nullptr;
  }
  Resize(slot, true);
  Data()[IndexOf(slot)] = std::move(box);
  return nullptr;
}

void CBoxSlots::DropArray() {
  if (!HoldsArray()) return;
  delete[] m_store.many;
  new (&m_store.one) std::unique_ptr<CBox>();
}

// Makes room for the slot, or drops its (empty) place, keeping the others in order.
void CBoxSlots::Resize(int slot, bool fill) {
  const std::uint32_t before = m_filled;
  const std::uint32_t after = fill ? before | (1u << slot) : before & ~(1u << slot);
  std::array<std::unique_ptr<CBox>, kSlotCount> held;
  for (std::size_t i = 0; i < Count(); ++i) held[i] = std::move(Data()[i]);
  DropArray();
  m_filled = after;
  if (HoldsArray()) {
    m_store.one.~unique_ptr();
    m_store.many = new std::unique_ptr<CBox>[Count()];
  }
  std::size_t from = 0, to = 0;
  for (int each = 0; each < kSlotCount; ++each) {
    const bool was = (before >> each & 1u) != 0, is = (after >> each & 1u) != 0;
    if (was && is) Data()[to] = std::move(held[from]);
    from += was ? 1 : 0;
    to += is ? 1 : 0;
  }
}
