#pragma once

#include "model/element/pointer_set.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class CArchiveWriter;
class CDev;
class CRun;

// Writes element records (the form of CDev::Serialize), nesting the records of the
// neighbours beyond each element with an explicit stack, so that a long run cannot
// exhaust the call stack. A tap-off unit stores the chain index of the element it is
// attached to; the run's chain order behind those indexes is built once per writer, so
// one writer serves a whole run record.
class CElementRecordWriter {
 public:
  // The run (may be null) gives default references, the current element and the chain
  // order; it must not change while the writer is in use.
  CElementRecordWriter(CArchiveWriter& archive, const CRun* run) : m_archive(archive), m_run(run) {}

  // The record of the element with the records of its neighbours nested in it: those of
  // the chain's kinds (0 to 11) beyond its back face, or none at all when `alone`.
  void Write(const CDev& root, bool alone = false);
  // The run's first element, when the caller has looked it up already (it may be null).
  void SetChainStart(const CDev* start) {
    m_chainStart = start;
    m_chainStartKnown = true;
  }

 private:
  void WriteHead(const CDev& element);
  void WriteBoxes(const CDev& element);
  void WriteTail(const CDev& element);
  int ChainIndex(const CDev* element);
  // The run's kind text (the generic reference) of a kind and variant, looked up once per
  // writer: the run does not change while it writes.
  const std::string& KindText(int kind, int variant);

  struct Frame {
    const CDev* element;
    int face;
  };

  CArchiveWriter& m_archive;
  const CRun* m_run;
  const CDev* m_chainStart = nullptr;
  bool m_chainStartKnown = false;
  // The chain order is indexed in two parts: the chain's own elements, which tap-off units
  // are attached to, at once; the devices kept outside the chain, which follow them in
  // the order, only when a unit is attached to one.
  bool m_chainIndexBuilt = false;
  bool m_outsideIndexBuilt = false;
  int m_chainLength = 0;
  std::unordered_map<const CDev*, int> m_chainIndex;
  std::unordered_map<const CDev*, int> m_outsideIndex;
  CPointerSet m_written;  // the records nested in the one being written
  std::vector<Frame> m_stack;
  std::unordered_map<std::uint64_t, std::string> m_kindTexts;  // by kind and variant
};
