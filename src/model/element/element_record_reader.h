#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CArchiveReader;
class CDev;
class CRun;
class CRunRangeRules;

// Reads element records (the form of CDev::Serialize) and the records nested in
// them with an explicit stack; each nested neighbour is linked both ways and added to
// the run's device list after its whole subtree. Throws CArchiveError on damage.
//
// A tap-off unit's stored index is a position in the run's chain order (what the writer
// stores), which a load can only resolve once the whole chain and every record outside
// it are in place: the units wait until AttachTapOffUnits.
class CElementRecordReader {
 public:
  // What a record may hold nested in it.
  enum class Nesting {
    kAny,    // any neighbours of any kind
    kChain,  // the run's chain: neighbours of the chain's kinds only (0 to 11)
    kNone,   // records outside the chain: no neighbours at all
  };

  // The run (may be null: then no neighbours) owns the elements made for neighbours.
  CElementRecordReader(CArchiveReader& archive, CRun* run);

  void Read(CDev& root, Nesting nesting);
  // Attaches every tap-off unit read so far to the element at its stored index in the
  // run's chain order as it stands now; an index outside it is damage.
  void AttachTapOffUnits();

 private:
  void ReadHead(CDev& element, int linkFace, Nesting nesting);
  void ApplyStyleProperty(CDev& element);
  void UpgradeLegacy(CDev& element);
  void ReadCalibre(CDev& element);
  void ReadPosition(CDev& element);
  void ReadPlacement(CDev& element, int linkFace);
  void ReadBoxes(CDev& element);
  void ReadTail(CDev& element);
  [[noreturn]] void Damaged(const std::string& what) const;
  // The next text of the stream, in room kept for every record's texts.
  const std::string& ReadText();

  CArchiveReader& m_archive;
  CRun* m_run;
  int m_version;
  // Units with their stored index, and where in the stream it was read.
  struct PendingUnit {
    CDev* unit;
    std::int32_t index;
    std::size_t offset;
  };
  std::vector<PendingUnit> m_pendingUnits;

 public:
  // A record still open while its neighbours are read, and its next face.
  struct Frame {
    CDev* element;
    int face;
  };

 private:
  // The records still open, kept for every record of the run: a chain nests each element
  // in the one before it, hundreds deep.
  std::vector<Frame> m_stack;
  std::string m_text;
  // The run's range rules and catalogue, found at the first element that needs them.
  const CRunRangeRules* m_rules = nullptr;
  std::string m_catalogue;
};
