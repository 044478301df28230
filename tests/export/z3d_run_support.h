#pragma once

#include "export/z3d_export.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "ranges/range_test_support.h"
#include "z3d_grammar_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One element laid on from the one before, toward a face (4 ahead, 0 back, 1 and 5 the
// sides, 2 up, 3 down).
struct CZ3dStep {
  int face;
  int kind;
  std::uint32_t style;  // variant in the low byte, the other style fields above it
  std::int32_t length;
  std::string reference;
};

// A run laid out element by element, and its 3D exchange file.
class Z3dRunTest : public RangeTest {
 protected:
  // Cases that set up again in a loop: the run of the last case goes before the range
  // tables it leases are reset, not after.
  void SetUp() override {
    m_run.reset();
    RangeTest::SetUp();
  }
  CDev* Append(CDev* from, const CZ3dStep& step) {
    CDev* element = m_run->NewElement();
    element->SetKind(step.kind);
    element->SetStyle(step.style);
    element->SetActive(1);
    element->SetDirection(step.face);
    element->SetDrawnLength(step.length);
    // An empty reference stands for the range's default text of the kind: no name.
    element->SetReference(step.reference.empty()
                              ? m_run->GetKindText(step.kind, static_cast<int>(step.style & 0xFF))
                              : step.reference);
    if (from != nullptr) {
      element->SetNeighbour(CBoxOwner::OppositeDirection(step.face), from);
      from->SetNeighbour(step.face, element);
    }
    m_run->AddDevice(element);
    return element;
  }
  // Lays the steps one after the other; the first is the run's start.
  std::vector<CDev*> Lay(const std::vector<CZ3dStep>& steps) {
    std::vector<CDev*> elements;
    for (const CZ3dStep& step : steps)
      elements.push_back(Append(elements.empty() ? nullptr : elements.back(), step));
    m_run->SetCurrentElement(elements.front());
    return elements;
  }
  // The device lines of the run's file, after the grammar check.
  std::vector<std::string> Devices() {
    const std::string bytes = Z3dFileBytes(WriteZ3dText(*m_run));
    for (const std::string& fault : CheckZ3dGrammar(bytes)) ADD_FAILURE() << fault;
    m_bytes = bytes;
    return Z3dDeviceLines(bytes);
  }
  void TearDown() override {
    m_run.reset();
    RangeTest::TearDown();
  }
  std::unique_ptr<CRun> m_run;
  std::string m_bytes;
};
