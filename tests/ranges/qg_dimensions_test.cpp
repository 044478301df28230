#include "qg_test_support.h"
#include "ranges/qg/part_builder_qg.h"

namespace {

struct DimensionCase {
  const char* neutral;
  int variant;
  int sub;
  std::uint32_t extraStyle;
  const char* entrax;
  const char* capot;
  char mode;
  const char* text;
};

// Rating 10: a 130 x 130 housing, whose second bar entry (used by these shapes) is
// 100 x 10 mm, drawn 150 mm long.
TEST_F(QGRunTest, MadeToMeasureTextsOfSpecialShapes) {
  const DimensionCase cases[] = {
      {"4", 2, 2, 0, "200/200/200", "", 'A', "p=200,q=200,r=200,u=150,v=100"},
      {"3", 2, 2, 0, "200/200/200", "", 'A', "p=200,q=200,u=150,v=100"},
      {"4", 6, 2, 0, "200/200/200", "", 'A', "m=2,p=200,q=200,r=200,u=150,v=100"},
      {"4", 6, 2, 0x2000, "200/200/200", "", 'A', "m=1,p=200,q=200,r=200,u=150,v=100"},
      {"4", 2, 2, 0, "200/200/200", "23/100/0/0/0/0/0", 'C',
       "a=115,b=115,c=450,d=450,x=800,y=130,m=100"},
      {"4", 2, 2, 0, "200/200/200", "23/90/0/0/0/0/0", 'C',
       "a=115,b=115,c=450,d=450,x=800,y=130,m=90 !!!"},
      {"4", 2, 2, 0, "200/200/200", "25/120/0/0/0/0/500:left", 'C',
       "a=115,b=115,c=450,d=450,x=800,y=130,m=120,n=500"},
      {"4", 2, 2, 0, "200/200/200", "22/0/400/400/0/0/0", 'C',
       "a=400,b=400,c=450,d=450,x=800,y=130 !!!"},
      {"4", 2, 2, 0, "400/400/400", "23/100/0/0/0/0/0", 'C', "SP"},
      {"4", 2, 2, 0, "2000000000/2000000000/2000000000", "23/100/0/0/0/0/0", 'C', "SP"},
      {"4", 2, 2, 0, "2000000000/2000000000/2000000000", "", 'A',
       "p=2000000000,q=2000000000,r=2000000000,u=150,v=100"},
      // A bars shape outside 1..3 spans no height: the sides keep their 50 mm margin.
      {"4", 2, 4, 0, "200/200/200", "23/100/0/0/0/0/0", 'C',
       "a=50,b=50,c=450,d=450,x=800,y=0,m=100 !!!"},
      {"4", 2, 2, 0, "200/200/200", "21/1/2", 'C', ""},
      {"4", 2, 2, 0, "200/200/200", "99999999999999999999/1/2/3/4/5/6", 'C', ""},
      {"4", 2, 0, 0, "", "", 'A', "p/q/r=T30034"},
      {"5", 2, 0, 0, "", "", 'A', "p/q/r/s=T30034"},
      {"3", 2, 0, 0, "", "", 'A', "p/q=T30034"},
      {"4", 2, 0, 0, "", "23/100/0/0/0/0/0", 'C', "a/b=T30034"},
      {"4", 0, 0, 0, "200/200/200", "", 'A', ""},
  };
  for (const DimensionCase& c : cases) {
    CRunQG& run = MakeRun("A", "10", c.neutral);
    CPartBuilderQG builder(run);
    CDev element = MakeStraight(CDev::kEnd, c.variant, c.sub, c.entrax);
    element.SetStyle(element.GetStyle() | c.extraStyle);
    element.SetPropValue("CAPOT", c.capot);
    EXPECT_EQ(builder.FormatPartDimensions(element, c.mode), c.text)
        << c.variant << "/" << c.sub << " " << c.entrax << " " << c.capot;
  }
}

}  // namespace
