#include "model/document/dorne_doc_test_support.h"

#include "support/golden_file.h"

void DorneDocTestBase::SetUp() {
  RunTestBase::SetUp();
  m_tables = MakeTestTables();
  CRunFactory::Instance().Reset();
  auto ranged = [this](std::string_view, CRunDocument* document) {
    auto run = std::make_unique<CRun>(document);
    run->AttachRangeTables(m_tables);
    return run;
  };
  CRunFactory::Instance().Register("QP", ranged);
  CRunFactory::Instance().Register("QD", ranged);
}

void DorneDocTestBase::TearDown() {
  CRunFactory::Instance().Reset();
  RunTestBase::TearDown();
}

std::unique_ptr<CDorneDoc> DorneDocTestBase::NewDocument(CDocEnvironment environment) const {
  return std::make_unique<CDorneDoc>(std::move(environment));
}

CRun& DorneDocTestBase::AddRun(CDorneDoc& document, const std::string& code) const {
  std::unique_ptr<CRun> made = CRunFactory::Instance().CreateForCatalog(code, &document);
  CRun& run = *made;
  document.AddRun(std::move(made));
  run.SetRotationFlag(16);
  run.SetProp("Calibre", "63");
  document.SetCurrentRun(&run);
  return run;
}

std::vector<CDev*> DorneDocTestBase::BuildChain(CRun& run) const {
  CChainBuilder builder(run);
  std::vector<CDev*> made;
  CDev* last = builder.Start(4);
  made.push_back(last);
  for (int kind = CDev::kStraight; kind <= CDev::kBend; ++kind) {
    last = builder.Add(last, 4, kind, 100 * kind);
    last->MakeBox(CDev::kBodySlot)->SetPlacement(last->GetPosition(), 10, 20, 30 + kind);
    made.push_back(last);
  }
  CDev* branch = builder.Add(made[3], 1, CDev::kStraight, 700);
  made.push_back(branch);
  made.push_back(builder.Loose(CDev::kAccessory, "ACC-1"));
  run.GetBOM().AddRefQuantity("ACC-1", 1);  // as the accessory dialog books it
  made.push_back(builder.Loose(CDev::kTapOff, "UNIT-0", made[1]));
  run.AddLengthToBOM("63", 1300, 0);
  run.AddLengthToBOM("63", 700, 1);
  run.SetCurrentElement(made.back());
  return made;
}

std::unique_ptr<CDorneDoc> DorneDocTestBase::RichDocument() const {
  return Load(ReadGoldenBytes("model/rich_document.run"));
}

std::vector<std::uint8_t> DorneDocTestBase::Save(CDorneDoc& document) {
  CArchiveWriter writer;
  document.Serialize(writer);
  return writer.TakeBytes();
}

std::unique_ptr<CDorneDoc> DorneDocTestBase::Load(const std::vector<std::uint8_t>& bytes) const {
  auto document = NewDocument();
  CArchiveReader reader(bytes);
  document->Serialize(reader);
  return document;
}
