#pragma once

#include "model/annotation/annotation_archive.h"
#include "model/annotation/annotation_list.h"

#include <vector>

class CArchiveReader;
class CRun;

// Passes the record of a run in a layout document without making anything of it, so that
// where the next run begins is known before this one is read: the runs of a large file
// can then be read on several threads at once. It knows the record's form only; reading
// the run checks everything, and a run read from where this skimmer put its start must
// end where it put its end.
class CRunRecordSkimmer {
 public:
  explicit CRunRecordSkimmer(int fileVersion);

  // Passes one run's record after its code. Throws CArchiveError where the record cannot
  // be passed.
  void SkipRun(CArchiveReader& archive);

 private:
  // One element record with the records nested in it.
  void SkipElement(CArchiveReader& archive);
  // An element's own fields and boxes, up to the records nested at its faces.
  void SkipHead(CArchiveReader& archive) const;

  int m_version;
  CAnnotationList m_noAnnotations;
  std::vector<CRun*> m_noRuns;
  CAnnotationArchive m_annotations;
  // The next face of every record open, the innermost last.
  std::vector<int> m_openFaces;
};
