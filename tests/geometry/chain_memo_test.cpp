// Walks along element links answered from memory give the answers of walks made afresh,
// whatever shape the links take: straight chains, rings, tails that run into a ring, links
// onto an element itself, links that go one way only, many elements linking to one, and
// random links in every direction, asked in random order about changing subjects.

#include "fake_element.h"
#include "geometry/chain_memo.h"
#include "geometry/neighbour_walk.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <random>
#include <set>
#include <vector>

namespace {

class CLinkedElements {
 public:
  explicit CLinkedElements(int count) {
    for (int i = 0; i < count; ++i) m_elements.push_back(std::make_unique<CFakeElement>());
  }
  CFakeElement& operator[](int i) { return *m_elements[static_cast<std::size_t>(i)]; }
  int Size() const { return static_cast<int>(m_elements.size()); }
  // One-way link: from's neighbour at the face is to (or none for -1).
  void Point(int from, int face, int to) {
    (*this)[from].neighbours[static_cast<std::size_t>(face)] = to < 0 ? nullptr : &(*this)[to];
  }

 private:
  std::vector<std::unique_ptr<CFakeElement>> m_elements;
};

// Every element reachable from start in one step or more, followed link by link.
std::set<const CBoxOwner*> Reachable(const CBoxOwner& start, int direction) {
  std::set<const CBoxOwner*> seen;
  for (const CBoxOwner* x = start.GetNeighbour(direction); x != nullptr && seen.insert(x).second;
       x = x->GetNeighbour(direction)) {}
  return seen;
}

// Asks the memo about every start, direction and target, in random order, with the subject
// changing now and then, and compares each answer with a walk made afresh.
int ExpectMemoAnswersFresh(CLinkedElements& elements, std::mt19937& random, int questions) {
  CChainMemo memo;
  const int n = elements.Size();
  int met = 0;
  const CBoxOwner* subject = nullptr;
  for (int q = 0; q < questions; ++q) {
    // A subject is asked many questions, as a box of a crowded place is.
    if (random() % 200 == 0) {
      subject = random() % 8 == 0 ? nullptr : &elements[static_cast<int>(random() % n)];
      memo.SetSubject(subject);
    }
    // Most questions are about the subject, as the comparer asks them.
    const CBoxOwner& start = subject != nullptr && random() % 3 == 0
                                 ? *subject
                                 : elements[static_cast<int>(random() % n)];
    const CBoxOwner* target = subject != nullptr && random() % 2 == 0
                                  ? subject
                                  : &elements[static_cast<int>(random() % n)];
    const int direction = static_cast<int>(random() % 8) - 1;  // -1 and 6 are no direction
    const bool fresh = start.MeetsToward(direction, target);
    EXPECT_EQ(memo.Meets(start, direction, target), fresh)
        << "question " << q << " direction " << direction;
    met += fresh ? 1 : 0;
  }
  EXPECT_FALSE(memo.Meets(elements[0], 1, nullptr));
  return met;
}

struct ShapeCase {
  const char* name;
  int tail;   // elements before the ring (or the whole chain when ring is 0)
  int ring;   // elements in the ring the tail runs into
  bool both;  // linked both ways, as a sound design is
};

// Printed field by field: the padding between them holds no value to print.
void PrintTo(const ShapeCase& c, std::ostream* os) {
  *os << c.name << ": tail " << c.tail << ", ring " << c.ring << (c.both ? ", both ways" : "");
}

class ChainMemoShapeTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ChainMemoShapeTest, AWalkMeetsEveryElementItCanReachAndTheMemoAgrees) {
  const ShapeCase c = GetParam();
  CLinkedElements elements(c.tail + c.ring + 2);  // two more, left alone
  const int last = c.tail + c.ring - 1;
  for (int i = 0; i < last; ++i) {
    elements.Point(i, 1, i + 1);
    if (c.both) elements.Point(i + 1, 3, i);
  }
  if (c.ring > 0) elements.Point(last, 1, c.tail);
  for (int i = 0; i < elements.Size(); ++i) {
    for (int direction : {1, 3}) {
      std::set<const CBoxOwner*> walked;
      CNeighbourWalk walk(&elements[i], direction);
      while (const CBoxOwner* next = walk.Next()) walked.insert(next);
      EXPECT_TRUE(walk.Ended());
      EXPECT_EQ(walked, Reachable(elements[i], direction))
          << "from " << i << " toward " << direction;
    }
  }
  std::mt19937 random(static_cast<unsigned>(c.tail * 31 + c.ring));
  ExpectMemoAnswersFresh(elements, random, 3000);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ChainMemoShapeTest,
    ::testing::Values(ShapeCase{"lone", 1, 0, true}, ShapeCase{"straight", 12, 0, true},
                      ShapeCase{"one way", 9, 0, false}, ShapeCase{"self link", 0, 1, false},
                      ShapeCase{"pair ring", 0, 2, false}, ShapeCase{"ring", 0, 7, false},
                      ShapeCase{"tail into self link", 3, 1, false},
                      ShapeCase{"short tail, long ring", 2, 9, false},
                      ShapeCase{"long tail, short ring", 9, 2, false},
                      ShapeCase{"equal tail and ring", 5, 5, true},
                      ShapeCase{"tail into a long ring", 1, 16, true}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& ch : name) {
        if (ch == ' ' || ch == ',') ch = '_';
      }
      return name;
    });

struct RandomCase {
  unsigned seed;
  int elements;
  int linkPercent;  // of the faces that carry a link
};

class ChainMemoRandomTest : public ::testing::TestWithParam<RandomCase> {};

TEST_P(ChainMemoRandomTest, AnswersEqualFreshWalks) {
  const RandomCase c = GetParam();
  std::mt19937 random(c.seed);
  CLinkedElements elements(c.elements);
  for (int i = 0; i < c.elements; ++i) {
    for (int face = 0; face < 6; ++face) {
      if (static_cast<int>(random() % 100) < c.linkPercent)
        elements.Point(i, face, static_cast<int>(random() % c.elements));
    }
  }
  const int met = ExpectMemoAnswersFresh(elements, random, 20000);
  EXPECT_GT(met, 100) << "the links join the elements into chains";
}

INSTANTIATE_TEST_SUITE_P(Links, ChainMemoRandomTest,
                         ::testing::Values(RandomCase{1, 8, 50}, RandomCase{2, 30, 90},
                                           RandomCase{3, 60, 70}, RandomCase{4, 200, 95},
                                           RandomCase{5, 12, 100}));

// Runs laid side by side, some joined one to the next, the subject moving along them as
// an insertion of run after run does.
TEST(ChainMemoTest, ParallelRunsAskedBoxByBox) {
  const int runs = 6, length = 25;
  CLinkedElements elements(runs * length);
  for (int r = 0; r < runs; ++r) {
    for (int k = 0; k + 1 < length; ++k) {
      CFakeElement::Link(elements[r * length + k], 4, elements[r * length + k + 1]);
    }
    if (r % 2 == 1) CFakeElement::Link(elements[r * length - 1], 4, elements[r * length]);
  }
  CChainMemo memo;
  int met = 0;
  for (int s = 0; s < elements.Size(); ++s) {
    memo.SetSubject(&elements[s]);
    for (int o = 0; o < elements.Size(); ++o) {
      for (const auto& [start, target] : {std::pair{s, o}, std::pair{o, s}}) {
        const bool fresh = elements[start].MeetsToward(0, &elements[target]);
        ASSERT_EQ(memo.Meets(elements[start], 0, &elements[target]), fresh)
            << start << " toward " << target;
        met += fresh ? 1 : 0;
      }
    }
  }
  EXPECT_GT(met, 1000);
}

// A memory of many hundred elements is forgotten whole when the subject changes: the
// questions about the next subject, at the other end of the run, are answered afresh.
TEST(ChainMemoTest, ALongRunRememberedThenAskedAboutItsOtherEnd) {
  const int length = 700;
  CLinkedElements elements(length);
  for (int k = 0; k + 1 < length; ++k) CFakeElement::Link(elements[k], 4, elements[k + 1]);
  CChainMemo memo;
  int met = 0;
  for (const int subject : {length - 1, 0, length / 2, length - 1}) {
    memo.SetSubject(&elements[subject]);
    for (int k = 0; k < length; k += 3) {
      for (const auto& [start, target] : {std::pair{k, subject}, std::pair{subject, k}}) {
        for (const int direction : {0, 4}) {
          const bool fresh = elements[start].MeetsToward(direction, &elements[target]);
          ASSERT_EQ(memo.Meets(elements[start], direction, &elements[target]), fresh)
              << start << " toward " << target << " subject " << subject;
          met += fresh ? 1 : 0;
        }
      }
    }
  }
  EXPECT_GT(met, 500);
}

// A link changed between two subjects' questions is seen after a reset.
TEST(ChainMemoTest, AResetSeesLinksChanged) {
  CLinkedElements elements(4);
  for (int i = 0; i < 3; ++i) CFakeElement::Link(elements[i], 4, elements[i + 1]);
  CChainMemo memo;
  memo.SetSubject(&elements[0]);
  // Asked over and over, as a subject of many comparisons is.
  for (int i = 0; i < 40; ++i) {
    EXPECT_TRUE(memo.Meets(elements[3], 0, &elements[0]));
    EXPECT_TRUE(memo.Meets(elements[0], 4, &elements[3]));
  }
  elements.Point(1, 4, -1);
  elements.Point(2, 0, -1);
  memo.Reset();
  memo.SetSubject(&elements[0]);
  for (int i = 0; i < 40; ++i) {
    EXPECT_FALSE(memo.Meets(elements[3], 0, &elements[0]));
    EXPECT_FALSE(memo.Meets(elements[0], 4, &elements[3]));
    EXPECT_TRUE(memo.Meets(elements[0], 4, &elements[1]));
  }
}

}  // namespace
