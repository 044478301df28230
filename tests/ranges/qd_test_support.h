#pragma once

#include "model/run/run_test_support.h"
#include "range_test_support.h"
#include "ranges/qd/part_builder_qd.h"
#include "ranges/qd/run_qd.h"

#include <memory>
#include <string>
#include <vector>

inline std::string Trimmed(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// QD runs on the sample catalogue, laid out by steps: "S3000" a straight length of
// 3000 mm ahead, "L1" an elbow turning to face 1 (faces 1 and 5 flat, 2 and 3
// edgewise), "E" the last end.
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
    std::vector<CDev*> elements{chain.Start(4)};
    int face = 4;
    for (const std::string& step : steps) {
      const int number = step.size() > 1 ? std::stoi(step.substr(1)) : 0;
      CDev* at = elements.back();
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
      elements.push_back(at);
    }
    for (CDev* element : elements) element->SetCalibre(m_run->GetPropText("Calibre"));
    return elements;
  }
  // The straights booked in the length records, as the generic rebuild leaves them,
  // then one build.
  CPartBuilderQD& Build() {
    for (CDev* device : m_run->GetDevices()) {
      if (device->GetKind() == CDev::kInLine)
        m_run->AddLengthToBOM(device->GetCalibre(), device->GetBookedLength(), 0);
    }
    m_builder = std::make_unique<CPartBuilderQD>(*m_run);
    m_builder->Build(1);
    return *m_builder;
  }

  std::unique_ptr<CRunQD> m_run;
  std::unique_ptr<CPartBuilderQD> m_builder;
};
