#pragma once

#include "model/run_test_support.h"
#include "range_test_support.h"
#include "ranges/qd/part_builder_qd.h"
#include "ranges/qd/run_qd.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

// A reference without the blanks behind it.
inline std::string Trimmed(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// QD runs on the sample catalogue, laid out by a small turtle: "S3000" a straight length
// of 3000 mm ahead, "L1"/"L5" (flat) or "L2"/"L3" (edgewise) an elbow turning to that
// face, "E" the last end.
class QDRunTest : public RangeTest {
 protected:
  void TearDown() override {
    m_builder.reset();
    m_run.reset();
    RangeTest::TearDown();
  }

  void MakeRun(const char* variant, const char* rating) {
    m_run = std::make_unique<CRunQD>(variant, nullptr);
    m_run->SetProp("Calibre", rating);
  }

  std::vector<CDev*> Lay(const std::vector<std::string>& steps, int endVariant = 0) {
    CChainBuilder chain(*m_run);
    CDev* at = chain.Start(4);
    at->SetCalibre(m_run->GetPropText("Calibre"));
    std::vector<CDev*> elements{at};
    int face = 4;
    for (const std::string& step : steps) {
      const int number = std::stoi(step.substr(1).empty() ? "0" : step.substr(1));
      if (step[0] == 'S') {
        at = chain.Add(at, face, CDev::kInLine, number);
      } else if (step[0] == 'L') {
        at = chain.Add(at, face, CDev::kElbow, 0);
        face = number;
      } else {
        at = chain.Add(at, face, CDev::kEnd, 0);
        at->SetVariantBoth(endVariant);
        m_run->GetBOM().RemoveRefQuantity(at->GetReference(), 1);
        at->SetReference(m_run->GetKindText(CDev::kEnd, endVariant));
        m_run->GetBOM().AddRefQuantity(at->GetReference(), 1);
      }
      at->SetCalibre(m_run->GetPropText("Calibre"));
      elements.push_back(at);
    }
    return elements;
  }

  // What the generic rebuild leaves for the builder: the straights in the length
  // records. Then one build.
  CPartBuilderQD& Build() {
    for (CDev* device : m_run->GetDevices()) {
      if (device->GetKind() == CDev::kInLine && device->GetVariant() == 0)
        m_run->AddLengthToBOM(device->GetCalibre(), device->GetBookedLength(), 0);
    }
    m_builder = std::make_unique<CPartBuilderQD>(*m_run);
    m_builder->Build(1);
    return *m_builder;
  }

  // The bill of materials: one line per reference with its quantity.
  std::string Bill() const {
    std::ostringstream out;
    const CBOMGrid& bom = m_run->GetBOM();
    for (int row = 1; row < bom.GetLineCount(); ++row) {
      out << bom.GetLineFieldText(row, CBOMGrid::kKindReference).value_or("?") << " x"
          << bom.GetLineQuantity(row) << "\n";
    }
    return out.str();
  }

  std::unique_ptr<CRunQD> m_run;
  std::unique_ptr<CPartBuilderQD> m_builder;
};
