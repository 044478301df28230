#include "qp_test_support.h"

#include "ranges/qp/qp_step_parts.h"

namespace {

// The step pass on booked references (ratings in amperes): the "D" families by their
// length code, the QPC step line at its four ratings, its own 250 A elbows and 800 A
// riser piece, the legs with their drawing names and the riser's far distance, and the
// two properties.
TEST(QPStepPartTest, TheStepPassRewritesReferencesAndGivesTheDrawingProperties) {
  struct Row {
    const char* reference;
    const char* expected;
    bool named;
    const char* pos1;
    const char* cf;
  };
  const Row rows[] = {
      {"QPA400DZCG4A a=900,b=1200,c=450,x=a300", "QPA400DZCG4A A=900,B=1200,C=450,Xa=300,Ya=600",
       true, "900", "300"},
      {"QPA400DZCG4A a=400,x=a450", "QPA400DZCG4A A=400,Xa=450", true, "400", "450"},
      {"QPA400DMBK4A a=500,x=c20", "QPA400DMBK4A A=500,Xc=20", true, "500", "20"},
      {"QPA1000DLE40B a=300,b=250,w=45", "QPA1000DLE40B A=300,B=250,w=45", true, "300", "0"},
      {"QPA99DLC40A a=700", "QPA99DLC40A A=700", true, "700", "0"},
      {"QPC250DLC40A a=700,b=3000", "QPC250DLC4A A=700,B=3000", true, "700", "0"},
      {"QPC250DLE40A", "QPC250DLE4A", true, "", "0"},
      {"QPC250DLF40A  a=350", "QPC250DLF4A  A=350", true, "350", "0"},
      {"QPC400DLC40A a=700", "QPC400DLC40A A=700", true, "700", "0"},
      {"QPC630DTC40 a=350", "QPC630DTC40 A=350", true, "350", "0"},
      {"QPC800ET4AF x=1200,x=700", "QPC800CM4AF x=1200,x=700", false, "", ""},
      {"QPC1000DLC40A a=700", "QPC1000DLC40A a=700", false, "", ""},
      {"QPC500DLC40A a=700", "QPC500DLC40A a=700", false, "", ""},
      {"QPC250DLC40AM a=700", "QPC250DLC40AM A=700", true, "700", "0"},
      {"QPA400ET4A a=700", "QPA400ET4A a=700", false, "", ""},
      {"QPA400ED420", "QPA400ED420", false, "", ""},
      {"QPA40D", "QPA40D", false, "", ""},
      {"", "", false, "", ""},
  };
  for (const Row& row : rows) {
    const CStepPart part = MakeStepPart(row.reference);
    EXPECT_EQ(part.reference, row.expected) << row.reference;
    EXPECT_EQ(part.named, row.named) << row.reference;
    EXPECT_EQ(part.pos1, row.pos1) << row.reference;
    EXPECT_EQ(part.cf, row.cf) << row.reference;
  }
}

// Through the second pass: in step mode a "D" family part takes its drawing properties
// with its renamed legs; outside step mode, or of another family, it takes none.
TEST_F(QPRunTest, TheSecondPassSetsTheStepPropertiesOfDFamilyParts) {
  struct Row {
    const char* step;
    const char* reference;
    const char* pos1;
    const char* cf;
  };
  const Row rows[] = {
      {"1", "QPA40DZCG4A", "900", "300"},
      {"0", "QPA40DZCG4A", "", ""},
      {"1", "QPA40ET4AF0", "", ""},
  };
  for (const Row& row : rows) {
    const CDev* elbow = FinishedElbow(row.step, row.reference, "a=900,b=1200,x=a300");
    ASSERT_NE(elbow, nullptr);
    EXPECT_EQ(elbow->GetPropValue("POS1"), row.pos1) << row.step << " " << row.reference;
    EXPECT_EQ(elbow->GetPropValue("CF"), row.cf) << row.step << " " << row.reference;
  }
}

}  // namespace
