#pragma once

// Whether bills of materials number their lines: one switch for every grid of the
// program, on at start. The part builder turns it off while it rebuilds and on again
// afterwards. Tests call Reset.
class CItemNumbering {
 public:
  static CItemNumbering& Instance();

  // On, as at start.
  void Reset() { m_on = true; }

  bool IsOn() const { return m_on; }
  void Set(bool on) { m_on = on; }
  void Toggle() { m_on = !m_on; }

 private:
  CItemNumbering() = default;

  bool m_on = true;
};
