#pragma once

#include "model/bom/bom_grid.h"
#include "model/run/run_test_support.h"
#include "range_test_support.h"
#include "ranges/qw/part_builder_qw.h"
#include "ranges/qw/run_qw.h"

#include <memory>
#include <string>
#include <vector>

// QW runs on the sample catalogue, laid out by steps: "S3000" a straight length of
// 3000 mm ahead, "L1" an elbow turning to face 1 (faces 1 and 5 flat, 2 and 3
// edgewise), "E" the last end.
class QWRunTest : public RangeTest {
 protected:
  void TearDown() override {
    m_builder.reset();
    m_run.reset();
    RangeTest::TearDown();
  }
  CRunQW& MakeRun(const char* variant, const char* rating) {
    m_builder.reset();
    m_run = std::make_unique<CRunQW>(variant, nullptr);
    m_run->SetProp("Calibre", rating);
    return *m_run;
  }
  std::vector<CDev*> Lay(const std::vector<std::string>& steps, int startVariant = 0,
                         int endVariant = 0) {
    CChainBuilder chain(*m_run);
    std::vector<CDev*> elements{chain.Start(4)};
    SetVariant(*elements.front(), startVariant);
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
        SetVariant(*at, endVariant);
      }
      elements.push_back(at);
    }
    for (CDev* element : elements) element->SetCalibre(m_run->GetPropText("Calibre"));
    return elements;
  }
  void SetVariant(CDev& element, int variant) {
    element.SetVariantBoth(variant);
    m_run->GetBOM().RemoveRefQuantity(element.GetReference(), 1);
    element.SetReference(m_run->GetKindText(element.GetKind(), variant));
    m_run->GetBOM().AddRefQuantity(element.GetReference(), 1);
  }
  // The straights booked in the length records, as the generic rebuild leaves them,
  // then one build.
  CPartBuilderQW& Build() {
    for (CDev* device : m_run->GetDevices()) {
      if (device->GetKind() == CDev::kInLine)
        m_run->AddLengthToBOM(device->GetCalibre(), device->GetBookedLength(), 0);
    }
    m_builder = std::make_unique<CPartBuilderQW>(*m_run);
    m_builder->Build(1);
    return *m_builder;
  }

  std::unique_ptr<CRunQW> m_run;
  std::unique_ptr<CPartBuilderQW> m_builder;
};

inline std::string TrimmedQW(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}
