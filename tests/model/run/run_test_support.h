#pragma once

#include "platform/archive.h"
#include "geometry/box.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/props/dimension.h"
#include "model/element/element_iterator.h"
#include "model/element/element_selection.h"
#include "model/bom/item_numbering.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "model/run/run_environment.h"
#include "model/run/run_factory.h"
#include "support/archive_bytes.h"

#include <gtest/gtest.h>
#include <algorithm>

#include <memory>
#include <string>
#include <vector>

// A layout document that records what runs and elements ask of it.
class CFakeRunDocument : public CRunDocument {
 public:
  void SetModified() override { ++modified; }
  int GetFileVersion() const override { return version; }
  const CDimension& GetUnits() const override { return units; }
  float GetSalesCoefficient() const override { return coefficient; }
  void SetSalesCoefficient(float value) override { coefficient = value; }
  std::string GetNextRunName() const override { return nextName; }
  void SetNextRunName(std::string name) override { nextName = std::move(name); }
  int GetRunCount() const override { return static_cast<int>(runs.size()); }
  CRun* GetRunAt(int index) const override { return runs.at(static_cast<std::size_t>(index)); }
  int SetCurrentRun(CRun* run) override {
    current = run;
    return 0;
  }
  CElementSelection& GetSelection() override { return selection; }
  void ReplaceRun(CRun& oldRun, CRun& newRun) override {
    for (CRun*& run : runs) {
      if (run == &oldRun) run = &newRun;
    }
    current = &newRun;
  }
  void UpdateRunPageTitle(CRun&) override { ++pageTitles; }
  void RecomputeTotals(int, int) override { ++totals; }
  void PlaceRunMarker(CRun&) override { ++markerPlacements; }
  void RebuildScene() override { ++sceneRebuilds; }
  void UpdateAllViews() override {}
  C3DProjection* GetProjection() const override { return nullptr; }
  std::vector<const CBox*> GetExtraBoxes() const override {
    std::vector<const CBox*> boxes;
    for (const auto& box : extraBoxes) boxes.push_back(box.get());
    return boxes;
  }
  std::optional<std::array<std::int32_t, 6>> GetEquipmentValues(const CDev&) const override {
    return equipment;
  }
  void AddEquipmentBox(CDev& element, const std::array<std::int32_t, 6>& values) override {
    equipment = values;
    extraBoxes.push_back(std::make_unique<CBox>(&element));
  }
  CBox* FindEquipmentBox(const CDev&, int& index) override {
    index = static_cast<int>(extraBoxes.size()) - 1;
    return extraBoxes.empty() ? nullptr : extraBoxes.back().get();
  }
  void SetEquipmentValues(const CDev&, const std::array<std::int32_t, 6>& values) override {
    equipment = values;
  }
  // One element per test: every extra box is its own.
  void RemoveExtraBoxes(const CDev&, bool keepLast) override {
    extraBoxes.erase(extraBoxes.begin(),
                     keepLast && !extraBoxes.empty() ? extraBoxes.end() - 1 : extraBoxes.end());
    if (!keepLast) equipment.reset();
  }
  CBox& InsertExtraBox(CDev& element, int index) override {
    auto at = extraBoxes.begin() +
              std::clamp<std::ptrdiff_t>(index, 0, static_cast<std::ptrdiff_t>(extraBoxes.size()));
    return **extraBoxes.insert(at, std::make_unique<CBox>(&element));
  }
  void OnElementDestroyed(CDev&) override {}
  void OnRunDestroyed(CRun&) override {}
  void RetargetRunAnnotations(CRun&, CRun&) override { ++retargets; }
  void SerializeRunAnnotations(CArchiveWriter& archive, const CRun&) const override {
    archive.WriteDword(0);
  }
  void SerializeRunAnnotations(CArchiveReader& archive, CRun&) override { archive.ReadDword(); }
  void SerializeElementAnnotations(CArchiveWriter& archive, const CDev&) const override {
    archive.WriteDword(0);
  }
  void SerializeElementAnnotations(CArchiveReader& archive, CDev&) override { archive.ReadDword(); }

  int modified = 0;
  int version = 10000;
  CDimension units = CDimension::Metric();
  float coefficient = 1.0f;
  std::string nextName = "A";
  std::vector<CRun*> runs;
  CRun* current = nullptr;
  int pageTitles = 0;
  int markerPlacements = 0;
  int sceneRebuilds = 0;
  int totals = 0;
  int retargets = 0;
  std::optional<std::array<std::int32_t, 6>> equipment;
  std::vector<std::unique_ptr<CBox>> extraBoxes;
  CElementSelection selection;
};

// Every run test starts from a clean process-wide state.
class RunTestBase : public ::testing::Test {
 protected:
  void SetUp() override { ResetRunState(); }
  void TearDown() override { ResetRunState(); }

  static void ResetRunState() {
    CRunEnvironment::Instance().Reset();
    CRangeTableCache::Instance().Reset();
    CRunFactory::Instance().Reset();
    CItemNumbering::Instance().Reset();
  }
};

// A small range for the tests: a code table with default texts, ratings and references.
inline CRangeTables MakeTestTables() {
  CRangeTables tables;
  const std::string accessory = "????????????ACC1??????", support = "??????????????????SUP?";
  tables.codes = {{{"0", "0", "END-0", ""}},      {{"0", "1", "END-1", ""}},
                  {{"1", "0", "STR-0", ""}},      {{"1", "1", "STR-1", ""}},
                  {{"2", "0", "ELB-0", ""}},      {{"3", "0", "TEE-0", ""}},
                  {{"7", "0", "UNIT-0", ""}},     {{"8", "105", "FEED-5", ""}},
                  {{"64", "0", "JNT-0", ""}},     {{"80", "0", accessory, accessory}},
                  {{"80", "1", support, support}}};
  tables.ratings = {
      {"25", "25 A/25 A"}, {"40", "40 A/40 A"}, {"63", "63 A/63 A"}, {"100", "100 A/100 A"}};
  tables.neutrals = {{"5", "N5"}, {"6", "N6"}};
  tables.references = {{"63", {300, 200, 40, 0, 0}}, {"3", {100, 90, 10, 0, 0}}};
  return tables;
}

// Runs of the test range in a recording document, and their stored records.
class RunRecordTestBase : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    m_tables = MakeTestTables();
  }

  std::unique_ptr<CRun> NewRun() {
    auto run = std::make_unique<CRun>(&m_document);
    run->AttachRangeTables(m_tables);
    return run;
  }
  static std::vector<std::uint8_t> Write(const CRun& run) { return WrittenBytes(run); }
  // A new run read from the whole of the bytes; throws what reading throws.
  std::unique_ptr<CRun> Read(const std::vector<std::uint8_t>& bytes) {
    auto run = NewRun();
    ReadBytes(*run, bytes);
    return run;
  }

  CFakeRunDocument m_document;
  CRangeTables m_tables;
};

// Builds a chain element by element the way the placement tools leave it.
class CChainBuilder {
 public:
  explicit CChainBuilder(CRun& run) : m_run(run) {}

  CDev* Start(int direction = 4) {
    CDev* start = m_run.NewElement();
    start->SetKind(CDev::kEnd);
    start->SetActive(1);
    start->SetDirection(direction);
    start->SetReference(m_run.GetKindText(CDev::kEnd, 0));
    m_run.AddDevice(start);
    m_run.SetCurrentElement(start);
    return start;
  }

  // A new element at a face of `from`, pointing away from it.
  CDev* Add(CDev* from, int face, int kind, std::int32_t length, std::string reference = {}) {
    CDev* element = m_run.NewElement();
    element->SetKind(kind);
    element->SetActive(1);
    element->SetDirection(face);
    element->SetBookedLength(length);
    element->SetDrawnLength(length);
    element->SetReference(reference.empty() ? m_run.GetKindText(kind, 0) : reference);
    element->SetNeighbour(CBoxOwner::OppositeDirection(face), from);
    from->SetNeighbour(face, element);
    from->SetFreeFace(face, 0);
    element->SetFreeFace(CBoxOwner::OppositeDirection(face), 0);
    m_run.AddDevice(element);
    return element;
  }

  // An active element outside the chain (an accessory, a unit), attached to `to` if given.
  CDev* Loose(int kind, const std::string& reference, CDev* to = nullptr) {
    CDev* element = m_run.NewElement();
    element->SetKind(kind);
    element->SetActive(1);
    element->SetReference(reference);
    if (to != nullptr) element->SetAttached(to);
    m_run.AddDevice(element);
    return element;
  }

 private:
  CRun& m_run;
};

// The quantity of the bill-of-materials line of a reference; -1 when it has no line.
inline std::int64_t LineQuantity(const CRun& run, std::string_view reference) {
  const int row = run.GetBOM().FindLine(reference);
  if (row < 0) return -1;
  const auto text = run.GetBOM().GetLineFieldText(row, 1);
  return text ? std::stoll(*text) : -1;
}

// The elements of the run in the order its walk gives them.
inline std::vector<CDev*> WalkRun(const CRun& run, bool ownDirectionFirst = false) {
  std::vector<CDev*> order;
  CElementIterator walk = run.IterateElements(ownDirectionFirst);
  for (CDev* element = walk.Next(); element != nullptr; element = walk.Next())
    order.push_back(element);
  return order;
}
