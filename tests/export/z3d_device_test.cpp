#include "export/z3d_export.h"

#include "model/dev.h"
#include "ranges/qd/run_qd.h"
#include "ranges/range_test_support.h"
#include "z3d_grammar_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class Z3dDeviceTest : public RangeTest {
 protected:
  CDev* Append(CDev* from, int face, int kind, int variant, std::int32_t length) {
    CDev* element = m_run->NewElement();
    element->SetKind(kind);
    element->SetStyle(static_cast<std::uint32_t>(variant));
    element->SetActive(1);
    element->SetDirection(face);
    element->SetDrawnLength(length);
    element->SetReference("QDA06X" + std::to_string(kind));
    if (from != nullptr) {
      element->SetNeighbour(CBoxOwner::OppositeDirection(face), from);
      from->SetNeighbour(face, element);
    }
    m_run->AddDevice(element);
    return element;
  }
  void SetUp() override {
    RangeTest::SetUp();
    m_run = std::make_unique<CRunQD>("A", nullptr);
  }
  void TearDown() override {
    m_run.reset();
    RangeTest::TearDown();
  }
  std::unique_ptr<CRunQD> m_run;
};

// A feed ended by a joint, a left and a right elbow with a straight between them, a joint, an end.
TEST_F(Z3dDeviceTest, TwoElbowsTurningBackGiveOneDeviceAtTheJoint) {
  m_run->SetProp("Calibre", "06");
  CDev* at = Append(nullptr, 4, CDev::kEnd, 1, 0);
  m_run->SetCurrentElement(at);
  at = Append(at, 4, CDev::kInLine, 0, 1500);
  at = Append(at, 4, CDev::kJoint, 0, 0);
  at = Append(at, 4, CDev::kElbow, 0, 300);
  at = Append(at, 1, CDev::kInLine, 0, 1000);
  at = Append(at, 1, CDev::kElbow, 0, 300);
  at = Append(at, 4, CDev::kInLine, 0, 2000);
  at = Append(at, 4, CDev::kJoint, 0, 0);
  at = Append(at, 4, CDev::kInLine, 0, 500);
  Append(at, 4, CDev::kEnd, 0, 0);
  const std::string bytes = Z3dFileBytes(WriteZ3dText(*m_run));
  for (const std::string& fault : CheckZ3dGrammar(bytes)) ADD_FAILURE() << fault;
  const std::vector<std::string> devices = Z3dDeviceLines(bytes);
  ASSERT_EQ(devices.size(), 3u) << bytes;
  // The feed (device 7) is carried from the start to the first cut, at the first joint;
  // the pair takes the first elbow's own length back to that joint, the stretch on to the
  // second elbow and the one beyond it.
  EXPECT_EQ(devices[0], "070000/00200@@001500/00214@$QDA06X9");
  EXPECT_EQ(devices[1], "230100/00200@@000300/00201@@001000/00202@@002000/00214@$QDA06X9");
  EXPECT_EQ(devices[2], "#00#");
}

}  // namespace
