#pragma once

#include "model/annotation/annotation_label.h"
#include "model/document/dorne_doc.h"
#include "model/run/run_factory.h"
#include "model/run/run_test_support.h"

#include <memory>
#include <string>
#include <vector>

// Layout documents for the tests: range runs get the small test tables, and documents
// carry runs, elements, bills of materials, properties and annotations of every kind.
class DorneDocTestBase : public RunTestBase {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<CDorneDoc> NewDocument(CDocEnvironment environment = CDocEnvironment()) const;
  // A run of that catalogue code with a placed start, made current.
  CRun& AddRun(CDorneDoc& document, const std::string& code) const;
  // A chain of every element kind (0..11) with an accessory, a tap-off unit and length
  // records; the elements in creation order.
  std::vector<CDev*> BuildChain(CRun& run) const;
  // The document of tests/data/model/rich_document.run: runs of five codes (two ranges,
  // their renamed codes, generic and unknown), each with the chain above, and annotations
  // of every kind in every list of the file.
  std::unique_ptr<CDorneDoc> RichDocument() const;

  static std::vector<std::uint8_t> Save(CDorneDoc& document);
  // A fresh document read from the bytes; throws what reading throws.
  std::unique_ptr<CDorneDoc> Load(const std::vector<std::uint8_t>& bytes) const;

  CRangeTables m_tables;
};
