#include "model/annotation/annotation_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "model/annotation/annotation_label.h"
#include "model/element/dev.h"

namespace {

// What the list must hold after an element dies: every annotation it owns goes and,
// with dimensions, every distance label that ends at it.
bool DiesWith(const CAnnotation& item, const CDev* element, bool withDimensions) {
  if (item.GetOwnerElement() == element) return true;
  if (!withDimensions || item.GetKind() != CAnnotation::kDistance || !item.IsLabel()) return false;
  const auto& label = static_cast<const CAnnotationLabel&>(item);
  return label.GetEnd(0) == element || label.GetEnd(1) == element;
}

struct MentionCase {
  const char* name;
  int elements;
  int annotations;
  int steps;
};

// Annotations come and go at random, elements die at random: the list must find every
// annotation that names a dying element however many objects it has counted, so that
// none is kept past its element (its pointer would dangle).
TEST(AnnotationListTest, ADyingElementTakesEveryAnnotationThatNamesIt) {
  const std::vector<MentionCase> cases = {
      {"a few elements", 5, 20, 40},
      {"more objects than the first table holds", 300, 900, 600},
      {"thousands, many leaving", 3000, 6000, 5000},
  };
  for (const MentionCase& row : cases) {
    SCOPED_TRACE(row.name);
    std::mt19937 random(static_cast<unsigned>(row.elements));
    std::vector<std::unique_ptr<CDev>> elements;
    for (int i = 0; i < row.elements; ++i) elements.push_back(std::make_unique<CDev>());
    auto anyElement = [&]() {
      return elements[std::uniform_int_distribution<std::size_t>(0, elements.size() - 1)(random)]
          .get();
    };
    CAnnotationList list;
    std::vector<const CAnnotation*> expected;
    auto append = [&]() {
      std::unique_ptr<CAnnotation> item;
      if (std::uniform_int_distribution<int>(0, 3)(random) == 0) {
        auto label = std::make_unique<CAnnotationLabel>(CAnnotation::kDistance);
        label->SetEnd(0, anyElement());
        label->SetEnd(1, anyElement());
        item = std::move(label);
      } else {
        item = std::make_unique<CAnnotation>(CAnnotation::kDimension);
        item->SetOwnerElement(anyElement());
      }
      expected.push_back(&list.Append(std::move(item)));
    };
    for (int i = 0; i < row.annotations; ++i) append();
    for (int step = 0; step < row.steps; ++step) {
      const int what = std::uniform_int_distribution<int>(0, 2)(random);
      if (what == 0) {
        append();
      } else if (what == 1 && !expected.empty()) {
        const std::size_t at =
            std::uniform_int_distribution<std::size_t>(0, expected.size() - 1)(random);
        EXPECT_NE(list.Remove(expected[at]), nullptr);
        expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at));
      } else {
        const CDev* dying = anyElement();
        const bool withDimensions = std::uniform_int_distribution<int>(0, 1)(random) == 1;
        std::erase_if(expected, [&](const CAnnotation* item) {
          return DiesWith(*item, dying, withDimensions);
        });
        list.RemoveElementAnnotations(*dying, withDimensions);
      }
      ASSERT_EQ(list.Size(), expected.size()) << "step " << step;
    }
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(list.At(i), expected[i]);
  }
}

// Swapped lists take their counts with them: each finds the annotations it now holds.
TEST(AnnotationListTest, SwappedListsFindTheirOwnAnnotations) {
  CDev first;
  CDev second;
  CAnnotationList a;
  CAnnotationList b;
  auto owned = [](CDev& element) {
    auto item = std::make_unique<CAnnotation>(CAnnotation::kDimension);
    item->SetOwnerElement(&element);
    return item;
  };
  a.Append(owned(first));
  b.Append(owned(second));
  b.Append(owned(second));
  a.Swap(b);
  a.RemoveElementAnnotations(second, false);
  b.RemoveElementAnnotations(first, false);
  EXPECT_EQ(a.Size(), 0u);
  EXPECT_EQ(b.Size(), 0u);
}

}  // namespace
