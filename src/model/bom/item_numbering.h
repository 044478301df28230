#pragma once

#include <atomic>

// Whether bills of materials number their lines: one switch for every grid of the
// program, on at start. The part builder turns it off while it rebuilds and on again
// afterwards. Tests call Reset. Atomic: a design is also read and rebuilt on a worker
// thread (an undo step's, ahead of the undo).
class CItemNumbering {
 public:
  static CItemNumbering& Instance();

  // On, as at start.
  void Reset() { m_on = true; }

  bool IsOn() const { return m_on; }
  void Set(bool on) { m_on = on; }
  void Toggle() {
    bool on = m_on.load();
    while (!m_on.compare_exchange_weak(on, !on)) {}
  }

 private:
  CItemNumbering() = default;

  std::atomic<bool> m_on = true;
};
