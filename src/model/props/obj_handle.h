#pragma once

#include <memory>

class CObjWithProp;

// A handle to a model object that outlives it: Get() gives the object while it exists
// and null once it has been destroyed. Queued work (a refresh of the property window
// that runs after the current command) holds one of these instead of a raw pointer.
class CObjHandle {
 public:
  CObjHandle() = default;

  CObjWithProp* Get() const { return m_cell ? *m_cell : nullptr; }
  bool IsAlive() const { return Get() != nullptr; }

 private:
  friend class CObjWithProp;
  explicit CObjHandle(std::shared_ptr<CObjWithProp*> cell) : m_cell(std::move(cell)) {}

  std::shared_ptr<CObjWithProp*> m_cell;
};
