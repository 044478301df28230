#pragma once

// Raises a flag for a scope and lowers it however the scope is left: the state a reading or
// a rebuild tells its callees of must not outlive it when a damaged record throws.
class CScopedFlag {
 public:
  explicit CScopedFlag(bool& flag, bool raised = true) : m_flag(flag) { m_flag = raised; }
  ~CScopedFlag() { m_flag = false; }
  CScopedFlag(const CScopedFlag&) = delete;
  CScopedFlag& operator=(const CScopedFlag&) = delete;

 private:
  bool& m_flag;
};
