// The totals after the change of one run: that run's record is worked out anew and the
// others' are kept, and the result is always that of a whole computation.

#include "model/document/dorne_doc_test_support.h"

#include "model/bom/bom_grid.h"
#include "model/document/doc_observer.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr std::array<const char*, 4> kTotalsFields = {"PrixT", "PrixV", "PoidsT", "TPoseT"};

class CTotalsNotices : public CDocObserver {
 public:
  void OnDocNotice(EDocNotice notice, CRun*) override {
    if (notice == EDocNotice::kTotalsChanged) ++changed;
  }
  int changed = 0;
};

class DorneDocTotalsTest : public DorneDocTestBase {
 protected:
  void SetUp() override {
    DorneDocTestBase::SetUp();
    m_document = NewDocument();
    for (int n = 0; n < 3; ++n) {
      CRun& run = AddRun(*m_document, "QD");
      BuildChain(run);
      PriceEveryLine(run, 100.0 * (n + 1));
    }
    m_document->ComputeRunTotals(false);
  }

  // Every line of the run gets values of its own in the four totalled fields.
  static void PriceEveryLine(CRun& run, double base) {
    const CBOMGrid& bom = run.GetBOM();
    for (int row = 1; row < bom.GetLineCount(); ++row) {
      const std::string reference = bom.GetLine(row)->reference;
      for (std::size_t i = 0; i < kTotalsFields.size(); ++i)
        run.SetDevicePropByRef(reference, kTotalsFields[i], std::to_string(base + row * 1.25 + i));
    }
  }

  CRun& Run(int n) const { return *m_document->GetRunAt(n); }

  std::vector<CDorneDoc::CTotals> Totals() const {
    std::vector<CDorneDoc::CTotals> totals;
    for (int n = 0; n < m_document->GetTotalsCount(); ++n)
      totals.push_back(*m_document->GetTotals(n));
    return totals;
  }

  // The totals as they stand, then compared with a whole computation.
  void ExpectWholeComputation(const std::string& what) {
    const std::vector<CDorneDoc::CTotals> kept = Totals();
    m_document->ComputeRunTotals(false);
    EXPECT_EQ(kept, Totals()) << what;
  }

  std::unique_ptr<CDorneDoc> m_document;
};

TEST_F(DorneDocTotalsTest, EachEditLeavesTheTotalsOfAWholeComputation) {
  const struct {
    const char* edit;
    std::function<void()> apply;
    bool totalsMove;  // the edit changes the document's totals
  } rows[] = {
      {"a price of the run changed, its totals recomputed",
       [this] {
         Run(1).SetDevicePropByRef(Run(1).GetBOM().GetLine(1)->reference, "PrixT", "2500");
         m_document->RecomputeRunTotals(Run(1));
       },
       true},
      {"a line of another run's bill removed, the first run's totals recomputed",
       [this] {
         CBOMGrid& bom = Run(2).GetBOM();
         bom.RemoveRefQuantity(bom.GetLine(1)->reference, bom.GetLine(1)->quantity);
         m_document->RecomputeRunTotals(Run(0));
       },
       true},
      {"the sales coefficient changed",
       [this] {
         m_document->SetSalesCoefficient(1.75f);
         m_document->RecomputeRunTotals(Run(0));
       },
       true},
      {"a converted total typed",
       [this] {
         m_document->SetConvertedTotal(2, 12345.0);
         m_document->RecomputeRunTotals(Run(0));
       },
       false},
      {"the runs' kept totals taken, another run's totals recomputed",
       [this] {
         Run(0).SetKeptTotals({1.0, 2.0, 3.0, 4.0, 0.0});
         m_document->ComputeRunTotals(true);
         m_document->RecomputeRunTotals(Run(1));
       },
       false},
      {"a price changed in two runs, both recomputed under one hold",
       [this] {
         const CSceneHold hold(m_document.get());
         for (int n : {0, 2}) {
           Run(n).SetDevicePropByRef(Run(n).GetBOM().GetLine(2)->reference, "PoidsT", "77.5");
           m_document->RecomputeRunTotals(Run(n));
         }
       },
       true},
      {"a run removed, the first run's totals recomputed",
       [this] {
         m_document->RemoveRun(&Run(1));
         m_document->RecomputeRunTotals(Run(0));
       },
       true},
  };
  for (const auto& row : rows) {
    const std::vector<CDorneDoc::CTotals> before = Totals();
    row.apply();
    if (row.totalsMove) {
      EXPECT_NE(before[0], Totals()[0]) << row.edit;
    }
    ExpectWholeComputation(row.edit);
  }
}

TEST_F(DorneDocTotalsTest, AHeldSceneRecomputesOnceWhenReleased) {
  CTotalsNotices notices;
  m_document->AddObserver(&notices);
  const std::vector<CDorneDoc::CTotals> before = Totals();
  {
    const CSceneHold hold(m_document.get());
    Run(1).SetDevicePropByRef(Run(1).GetBOM().GetLine(1)->reference, "PrixV", "900");
    m_document->RecomputeRunTotals(Run(1));
    m_document->RecomputeRunTotals(Run(1));
    EXPECT_EQ(Totals(), before);
    EXPECT_EQ(notices.changed, 0);
  }
  EXPECT_EQ(notices.changed, 1);
  EXPECT_NE(Totals()[2], before[2]);
  EXPECT_EQ(Totals()[1], before[1]);
  m_document->RecomputeRunTotals(Run(0));
  EXPECT_EQ(notices.changed, 2);
  m_document->RemoveObserver(&notices);
  ExpectWholeComputation("after the hold");
}

TEST_F(DorneDocTotalsTest, TotalsReadFromTheFileAreWorkedOutWholeOnce) {
  std::unique_ptr<CDorneDoc> loaded = Load(Save(*m_document));
  m_document = std::move(loaded);
  // A price changed without a recomputation: the file's records no longer hold.
  Run(2).SetDevicePropByRef(Run(2).GetBOM().GetLine(1)->reference, "PrixT", "4321");
  const std::vector<CDorneDoc::CTotals> read = Totals();
  m_document->RecomputeRunTotals(Run(0));
  EXPECT_NE(Totals()[3], read[3]);
  ExpectWholeComputation("after reading");
}

}  // namespace
