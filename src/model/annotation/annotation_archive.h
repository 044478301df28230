#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

class CAnnotation;
class CAnnotationLabel;
class CAnnotationList;
class CArchiveReader;
class CArchiveWriter;
class CDev;
class CRun;

// The annotation lists of the design file, for one save or one load of a document:
// the list inside each element record, the list of each run and of the totals page, and
// the document's own list. Each list is a 32-bit count and the records; a store writes
// the matching annotations from the last of the list to the first.
//
// A loaded list comes in the reverse of the stored order; FinishLoad turns the list round
// so that saving it again gives the same bytes, and links annotations to their runs.
class CAnnotationArchive {
 public:
  // runs: the document's run array; on load it fills as the runs are read.
  CAnnotationArchive(CAnnotationList& list, const std::vector<CRun*>& runs, int fileVersion);

  // Indexes the lists to be written. Once it is done, the element and run lists of a
  // design may be written from several threads at once, those of a run from one.
  void PrepareForWriting() { IndexForWriting(); }
  void WriteElementList(CArchiveWriter& archive, const CDev& element);
  void WriteRunList(CArchiveWriter& archive, const CRun& run);
  void WriteTotalsList(CArchiveWriter& archive);
  void WriteDocumentList(CArchiveWriter& archive);

  // Readers throw CArchiveError on damage; lists that the file version does not have
  // read nothing.
  void ReadElementList(CArchiveReader& archive, CDev& element);
  void ReadRunList(CArchiveReader& archive, CRun& run);
  void ReadTotalsList(CArchiveReader& archive);
  void ReadDocumentList(CArchiveReader& archive);
  void FinishLoad();
  // Passes an element's list (withLabels) or a run's as the readers above read it,
  // keeping nothing.
  void SkipList(CArchiveReader& archive, bool withLabels);

 private:
  using Matches = std::vector<const CAnnotation*>;

  void IndexForWriting();
  void WriteBase(CArchiveWriter& archive, const CAnnotation& annotation);
  void WriteDimensionEnds(CArchiveWriter& archive, const CAnnotationLabel& label);
  void ReadDimensionEnds(CArchiveReader& archive, CAnnotationLabel& label);
  std::uint32_t ReadCount(CArchiveReader& archive, int sinceVersion);
  int RunIndex(const CRun* run) const;
  int ChainIndex(const CDev& element);
  CDev* ElementAt(std::uint32_t run, std::uint32_t index);

  CAnnotationList& m_list;
  const std::vector<CRun*>& m_runs;
  int m_version;
  bool m_indexed = false;
  bool m_elementOwners = false;  // whether any annotation belongs to an element
  std::unordered_map<const void*, Matches> m_byOwner;
  Matches m_totals;
  Matches m_document;
  std::unordered_map<const CRun*, std::vector<CDev*>> m_chains;
  std::unordered_map<const CDev*, int> m_chainIndex;
};
