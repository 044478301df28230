#include "platform/archive.h"
#include "model/element/dev.h"
#include "model/element/element_record_reader.h"
#include "model/element/element_record_writer.h"

void CDev::Serialize(CArchiveWriter& archive) const {
  CElementRecordWriter(archive, m_run).Write(*this);
}

void CDev::Serialize(CArchiveReader& archive) {
  CElementRecordReader reader(archive, m_run);
  reader.Read(*this, CElementRecordReader::Nesting::kAny);
  reader.AttachTapOffUnits();
}
