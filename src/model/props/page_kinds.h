#pragma once

// The property pages that model objects ask the property window to show, named by
// identifier: the core lists pages, the window side builds them. An object's page list
// (CObjWithProp::GetPages) holds these identifiers in tab order.
//
// Identifiers below kPageRangeFirst are the pages shared by every range; each range
// numbers its own pages from kPageRangeFirst + 100 x its range number on.
enum PageKind : int {
  kPageNone = 0,
  // The two pages of every run.
  kPageRunComment = 1,
  kPageRunRating = 2,
  // The seven common element pages, in the order of a run's element-page slots 0..6.
  kPageLength = 10,
  kPagePosition = 11,
  kPageCharacteristics = 12,
  kPageElbow = 13,
  kPageElementName = 14,
  kPageFeedUnit = 15,
  kPagePhaseOrder = 16,
  // The option check page (a run's option access: ask, set, clear).
  kPageOptionCheck = 20,
  kPageRangeFirst = 1000,
};

// Number of element-page slots of a run.
inline constexpr int kElementPageSlots = 16;

// Element-page slots that the generic lookups use.
enum ElementPageSlot : int {
  kSlotLength = 0,
  kSlotPosition = 1,
  kSlotCharacteristics = 2,
  kSlotElbow = 3,
  kSlotElementName = 4,
  kSlotFeedUnit = 5,
  kSlotPhaseOrder = 6,
};
