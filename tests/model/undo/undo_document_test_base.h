#pragma once

#include "model/document/dorne_doc_test_support.h"

#include "geometry/3d_point.h"
#include "model/run/run.h"
#include "model/undo/undo_files.h"
#include "support/temp_folder.h"

#include <memory>

// A design of three runs far apart, so that one run's rebuild can take its boxes out
// alone, with an undo folder of its own and the snapshot files' bookkeeping reset around
// each test.
class UndoDocumentTestBase : public DorneDocTestBase {
 protected:
  explicit UndoDocumentTestBase(const char* folder) : m_folder(folder) {}

  void SetUp() override {
    DorneDocTestBase::SetUp();
    CUndoFiles::ResetForTests();
  }
  void TearDown() override {
    CUndoFiles::ResetForTests();
    DorneDocTestBase::TearDown();
  }

  std::unique_ptr<CDorneDoc> ThreeRunsApart() {
    CDocEnvironment environment;
    environment.settingsFolder = m_folder.Folder();
    auto document = NewDocument(environment);
    for (const char* code : {"QDA", "QPC", "QDA"}) {
      CRun& run = AddRun(*document, code);
      BuildChain(run);
      const C3DPoint offset(0, 200000.0 * static_cast<double>(document->GetRunCount()), 0);
      run.GetFirstElement()->Translate(offset, true);
    }
    document->SetViewAngles(30, 45, 10);
    document->RebuildScene();
    return document;
  }

  CTempFolder m_folder;
};
