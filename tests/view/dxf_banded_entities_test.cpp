// Entities shared out among bands, hidden on threads of their own or not, must end in
// exactly the entities and file order of one CDxfEntityList given the same steps, however
// many bands there are and however the threads run.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "view/dxf_banded_entities.h"

namespace {

// A step of a drawing: an entity to append, or a figure to hide under from a start.
struct DrawingStep {
  CDxfEntity entity;
  std::vector<CPoint> fill;
  std::uint64_t start = 0;
};

// Figures and fills at random over an area of 10,000 units a side and somewhat beyond,
// some lines long enough to cross every band, some texts, some fills sparing what came
// before an exclusion's start.
std::vector<DrawingStep> RandomDrawing(std::mt19937& random, int steps, int largest) {
  std::uniform_int_distribution<int> coordinate(-1500, 11500), size(0, largest);
  std::vector<DrawingStep> drawing;
  std::uint64_t appended = 0, start = 0;
  for (int i = 0; i < steps; ++i) {
    const int what = static_cast<int>(random() % 20);
    const CPoint p{coordinate(random), coordinate(random)};
    DrawingStep step;
    if (what < 11) {
      const CPoint q =
          what == 0   ? CPoint{coordinate(random), coordinate(random)}  // long
          : what == 1 ? CPoint{p.x, p.y + size(random)}                 // upright
                      : CPoint{p.x + size(random) - largest / 2, p.y + size(random) - largest / 2};
      step.entity = {DxfEntityKind::Line, p, q, i % 7, 0, {}};
    } else if (what < 13) {
      step.entity = {
          DxfEntityKind::Text,    p, {p.x + size(random), p.y + size(random) / 4}, i % 5, i % 3,
          "T" + std::to_string(i)};
    } else if (what == 13) {
      start = appended;
      continue;
    } else {
      const int w = 2 * size(random) + 1, h = 2 * size(random) + 1;
      step.fill = what % 2
                      ? std::vector<CPoint>{p, {p.x + w, p.y}, {p.x + w, p.y + h}, {p.x, p.y + h}}
                      : std::vector<CPoint>{p, {p.x + w, p.y + h / 3}, {p.x + w / 2, p.y + h}};
      step.start = what == 19 ? start : 0;
      drawing.push_back(std::move(step));
      continue;
    }
    ++appended;
    drawing.push_back(std::move(step));
  }
  return drawing;
}

template <typename List>
void Draw(List& list, const std::vector<DrawingStep>& drawing, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to && i < drawing.size(); ++i) {
    if (drawing[i].fill.empty()) {
      list.Append(drawing[i].entity);
    } else {
      list.HideUnder(drawing[i].fill, drawing[i].start);
    }
  }
}

const CPoint kLow{-1, -1};
const CPoint kHigh{10001, 10001};

// The bands, on how many worker threads (none: the caller's), and after how many
// entities appended one list splits into them (0 at once; the drawings here append some
// 1,000 to 2,000). More bands than workers: a band is taken by whichever thread is free.
struct BandsRow {
  int bands;
  int workers;
  std::uint64_t splitAt;
};
const BandsRow kBandsRows[] = {{1, 0, 0},       {2, 0, 0},  {5, 0, 700}, {1, 1, 0},
                               {2, 2, 1},       {3, 3, 0},  {4, 4, 300}, {8, 8, 0},
                               {3, 3, 1000000}, {12, 3, 0}, {7, 1, 300}, {9, 2, 1000000}};

TEST(DxfBandedEntities, BandsEndInWhatOneListDoes) {
  std::mt19937 random(6508);
  for (int round = 0; round < 12; ++round) {
    const int largest = round % 3 == 0 ? 4000 : round % 3 == 1 ? 600 : 80;
    const std::vector<DrawingStep> drawing = RandomDrawing(random, 3000, largest);
    CDxfEntityList one(kLow, kHigh);
    Draw(one, drawing, 0, drawing.size());
    const std::vector<CDxfEntity> expected = one.InOrder();
    ASSERT_GT(expected.size(), 50u) << round;
    for (const BandsRow& row : kBandsRows) {
      CDxfBandedEntities bands(kLow, kHigh, row.bands, row.workers, row.splitAt);
      Draw(bands, drawing, 0, drawing.size());
      EXPECT_EQ(bands.AppendedCount(), one.AppendedCount()) << round << " " << row.bands;
      EXPECT_EQ(bands.Size(), expected.size()) << round << " " << row.bands;
      ASSERT_EQ(bands.InOrder(), expected)
          << round << " " << row.bands << " " << row.workers << " " << row.splitAt;
    }
  }
}

// The fills did hide: drawings where hiding changed nothing would not test the bands.
TEST(DxfBandedEntities, TheRandomDrawingsCutAndRemove) {
  std::mt19937 random(6508);
  for (int largest : {4000, 600, 80}) {
    const std::vector<DrawingStep> drawing = RandomDrawing(random, 3000, largest);
    CDxfEntityList one(kLow, kHigh);
    std::size_t changedByHiding = 0;
    for (std::size_t i = 0; i < drawing.size(); ++i) {
      const std::size_t before = one.Size();
      Draw(one, drawing, i, i + 1);
      changedByHiding += !drawing[i].fill.empty() && one.Size() != before;
    }
    EXPECT_GT(changedByHiding, 30u) << largest;
  }
}

// Reading between steps waits for the workers and lets the drawing go on, before and
// after the split: every reading is the one list's at the same step. Run many times
// over, so that threads that took the steps out of order or read a band before its
// worker was through would show.
TEST(DxfBandedEntities, ReadingsBetweenStepsAreThoseOfOneListEveryTime) {
  std::mt19937 random(21);
  const std::vector<DrawingStep> drawing = RandomDrawing(random, 2400, 600);
  const std::size_t pauses[] = {0, 1, 7, 300, 511, 512, 513, 1500, 2400};
  std::vector<std::vector<CDxfEntity>> expected;
  CDxfEntityList one(kLow, kHigh);
  for (std::size_t i = 1; i < std::size(pauses); ++i) {
    Draw(one, drawing, pauses[i - 1], pauses[i]);
    expected.push_back(one.InOrder());
  }
  for (int run = 0; run < 20; ++run) {
    const int bands = 2 + run % 5 * 3;
    CDxfBandedEntities banded(kLow, kHigh, bands, 1 + run % 4,
                              static_cast<std::uint64_t>(run % 3) * 400);
    for (std::size_t i = 1; i < std::size(pauses); ++i) {
      Draw(banded, drawing, pauses[i - 1], pauses[i]);
      ASSERT_EQ(banded.InOrder(), expected[i - 1]) << run << " " << pauses[i];
    }
  }
}

// Edge cases: nothing drawn, fills over nothing, figures far beyond the area (they fall
// into the outer bands), a point-like line and a fill over every band at once.
TEST(DxfBandedEntities, EdgeCasesEndInWhatOneListDoes) {
  const CDxfEntity far{DxfEntityKind::Line, {-900000, 5}, {-899000, 5}, 1, 0, {}};
  const CDxfEntity beyond{DxfEntityKind::Text, {2000000, 40}, {2000100, 60}, 2, 1, "B"};
  const CDxfEntity across{DxfEntityKind::Line, {-5000, 5000}, {15000, 5010}, 3, 0, {}};
  const CDxfEntity point{DxfEntityKind::Line, {5000, 5000}, {5000, 5000}, 4, 0, {}};
  const std::vector<CPoint> wide{{-3000, 4000}, {13000, 4000}, {13000, 4990}, {-3000, 4990}};
  const std::vector<CPoint> tall{{4000, -3000}, {6000, -3000}, {6000, 13000}};
  const std::vector<CPoint> farFill{{-950000, 0}, {-850000, 0}, {-850000, 10}};
  const std::vector<std::vector<DrawingStep>> cases = {
      {},
      {{{}, wide, 0}, {{}, tall, 0}},
      {{far, {}, 0}, {beyond, {}, 0}, {across, {}, 0}, {point, {}, 0}},
      {{far, {}, 0}, {across, {}, 0}, {point, {}, 0}, {{}, tall, 0}, {{}, farFill, 0}},
      {{across, {}, 0}, {{}, tall, 0}, {across, {}, 0}, {{}, tall, 1}, {beyond, {}, 0}},
  };
  for (std::size_t c = 0; c < cases.size(); ++c) {
    CDxfEntityList one(kLow, kHigh);
    Draw(one, cases[c], 0, cases[c].size());
    for (const BandsRow& row : kBandsRows) {
      CDxfBandedEntities bands(kLow, kHigh, row.bands, row.workers, row.splitAt);
      Draw(bands, cases[c], 0, cases[c].size());
      EXPECT_EQ(bands.InOrder(), one.InOrder())
          << c << " " << row.bands << " " << row.workers << " " << row.splitAt;
    }
  }
}

}  // namespace
