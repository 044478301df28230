#include "dorne_doc_test_support.h"

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

void DorneDocTestBase::Annotate(CDorneDoc& document, const std::vector<CDev*>& first,
                                const std::vector<CDev*>& second) {
  CAnnotationList& list = document.Annotations();
  for (int kind = CAnnotation::kBranch; kind <= CAnnotation::kPosition; ++kind) {
    auto mark = std::make_unique<CAnnotation>(kind);
    mark->SetOwnerElement(first[static_cast<std::size_t>(kind + 1)]);
    mark->SetText("element " + std::to_string(kind));
    mark->SetOffset(kind, -kind);
    mark->SetLabelPoint(C3DPoint(1, 2, 3));
    list.Append(std::move(mark));
  }
  auto attached = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
  attached->SetOwnerElement(first[2]);
  attached->SetFlags(CAnnotation::kFlagAttached | CAnnotation::kFlagUserAttached);
  attached->SetText("attached text");
  attached->SetFontText("Liberation Sans,12,700");
  list.Append(std::move(attached));
  CRun* run = first[0]->GetRun();
  for (int kind = CAnnotation::kBom; kind <= CAnnotation::kSection; ++kind) {
    auto label = std::make_unique<CAnnotation>(kind);
    label->SetOwnerRun(run);
    label->SetOffset(0, 500 + kind);
    list.Append(std::move(label));
  }
  auto totals = std::make_unique<CAnnotation>(CAnnotation::kBom);
  totals->SetOwnerTotalsPage();
  totals->SetText("totals");
  list.Append(std::move(totals));
  for (int kind = CAnnotation::kText; kind <= CAnnotation::kTitleBlock; ++kind) {
    auto label = std::make_unique<CAnnotationLabel>(kind);
    label->SetOwnerDocument();
    label->SetText("label " + std::to_string(kind) + " é");
    label->SetOpaque(static_cast<std::uint32_t>(kind & 1));
    label->SetFontColor(0x102030u + static_cast<std::uint32_t>(kind));
    list.Append(std::move(label));
  }
  auto shownWithRun = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
  shownWithRun->SetOwnerDocument();
  shownWithRun->SetFlags(CAnnotation::kFlagWithRun);
  shownWithRun->SetLinkedRun(second[0]->GetRun());
  list.Append(std::move(shownWithRun));
  auto distance = std::make_unique<CAnnotationLabel>(CAnnotation::kDistance);
  distance->SetOwnerDocument();
  distance->SetEnd(0, first[4]);
  distance->SetEnd(1, second[6]);
  distance->SetDimensionCodes({16, 3, 16, 5});
  distance->SetPoint(2, C3DPoint(-5, 6, -7));
  list.Append(std::move(distance));
}

std::unique_ptr<CDorneDoc> DorneDocTestBase::RichDocument() const {
  auto document = NewDocument();
  document->GetProps().SetPropValue("Name", "Workshop 3");
  document->GetProps().SetPropValue("Client", "Ms Durand");
  std::vector<std::vector<CDev*>> chains;
  for (const char* code : {"QPC", "Qpc", "QDA", "", "ZZZ"}) {
    CRun& run = AddRun(*document, code);
    chains.push_back(BuildChain(run));
  }
  Annotate(*document, chains[0], chains[2]);
  document->SetCurrentRun(document->GetRunAt(1));
  document->SetViewCentre(120, -80);
  document->SetTotalsPageRect({1, 2, 300, 400});
  document->Projection().SetViewAngles(300, 20, 10, false, false);
  return document;
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
