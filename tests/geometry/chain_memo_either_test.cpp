// Whether either of two elements lies behind the other, asked of the memo at once, gives
// the answer of the two walks made one after the other, whatever shape the links take and
// however many questions the subject was asked before.

#include "fake_element.h"
#include "geometry/chain_memo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace {

using CElements = std::vector<std::unique_ptr<CFakeElement>>;

CElements MakeElements(int count) {
  CElements elements;
  for (int i = 0; i < count; ++i) elements.push_back(std::make_unique<CFakeElement>());
  return elements;
}

// One-way link: from's neighbour at the face is to.
void Point(CElements& elements, int from, int face, int to) {
  elements[static_cast<std::size_t>(from)]->neighbours[static_cast<std::size_t>(face)] =
      elements[static_cast<std::size_t>(to)].get();
}

// A chain 0 → 1 → … linked both ways along faces 4 (forward) and 0 (back).
void Straight(CElements& elements, int from, int to) {
  for (int k = from; k < to; ++k) {
    Point(elements, k, 4, k + 1);
    Point(elements, k + 1, 0, k);
  }
}

struct EitherCase {
  const char* guards;
  int count;
  std::function<void(CElements&)> link;
};

TEST(ChainMemoEitherTest, AnswersEqualBothWalksOneAfterTheOther) {
  const EitherCase rows[] = {
      {"a straight chain: the one in front meets the other", 40,
       [](CElements& e) { Straight(e, 0, 39); }},
      {"two chains apart: neither meets", 40,
       [](CElements& e) {
         Straight(e, 0, 19);
         Straight(e, 20, 39);
       }},
      {"links one way only: only one walk can meet", 30,
       [](CElements& e) {
         for (int k = 0; k < 29; ++k) Point(e, k + 1, 0, k);
       }},
      {"a ring: both walks meet, neither ends", 12,
       [](CElements& e) {
         for (int k = 0; k < 12; ++k) Point(e, k, 0, (k + 1) % 12);
       }},
      {"a tail into a ring", 16,
       [](CElements& e) {
         for (int k = 0; k < 15; ++k) Point(e, k, 0, k + 1);
         Point(e, 15, 0, 10);
       }},
      {"an element linked to itself", 3, [](CElements& e) { Point(e, 1, 0, 1); }},
      {"a branch: a side chain meets the trunk behind it only", 30,
       [](CElements& e) {
         Straight(e, 0, 19);
         Point(e, 20, 0, 10);  // the side chain starts at trunk element 10
         for (int k = 20; k < 29; ++k) Point(e, k + 1, 0, k);
       }},
      {"random links in every direction", 50,
       [](CElements& e) {
         std::mt19937 random(7);
         for (int i = 0; i < 50; ++i) {
           for (int face = 0; face < 6; ++face) {
             if (random() % 100 < 80) Point(e, i, face, static_cast<int>(random() % 50));
           }
         }
       }},
  };
  for (const EitherCase& row : rows) {
    SCOPED_TRACE(row.guards);
    CElements elements = MakeElements(row.count);
    row.link(elements);
    CChainMemo memo;
    int met = 0;
    // Each subject is asked about every other element, so that its questions go past the
    // plain ones into those the memo answers, with directions that are none as well.
    for (int a = 0; a < row.count; ++a) {
      const CFakeElement& subject = *elements[static_cast<std::size_t>(a)];
      memo.SetSubject(a % 5 == 4 ? nullptr : &subject);
      for (int b = 0; b < row.count; ++b) {
        const CFakeElement& other = *elements[static_cast<std::size_t>(b)];
        for (const auto& [da, db] : {std::pair{0, 0}, std::pair{0, 4}, std::pair{4, 0},
                                     std::pair{-1, 0}, std::pair{0, 6}}) {
          const bool fresh = subject.MeetsToward(da, &other) || other.MeetsToward(db, &subject);
          ASSERT_EQ(memo.MeetsEither(subject, da, other, db), fresh)
              << a << " toward " << da << ", " << b << " toward " << db;
          met += fresh ? 1 : 0;
        }
      }
    }
    EXPECT_GT(met, 0) << "some pair lies on one chain";
  }
}

}  // namespace
