#pragma once

#include <cstdint>
#include <memory>

class CBox;

// The rules by which the display list orders its boxes.
class CDepthOrderRules {
 public:
  // Node flag of a box's second display node.
  static constexpr std::uint32_t kSecondNode = 2;

  virtual ~CDepthOrderRules() = default;

  // Called once for each box as it gets a new display node, before it is compared.
  virtual void PrepareInsert(CBox& box) = 0;
  // Positive when a lies in front of b (b is painted first), negative when b lies in
  // front, 0 when they do not affect each other. flagsA and flagsB are node flags: only
  // their kSecondNode bit has a meaning. Contract the display list relies on for its speed: the
  // answer is 0 for two different boxes whose projected window bounds do not overlap strictly in x
  // and in y, or of which one has a non-finite projection.
  virtual int CompareDepth(const CBox& a, const CBox& b, std::uint32_t flagsA,
                           std::uint32_t flagsB) = 0;

  // CompareDepth with the boxes' attribute words given instead of read from the boxes, as
  // they stand at that point of an insertion order; it changes nothing shared, so that
  // comparers of one set of rules can work on several threads at once.
  class CConcurrentComparer {
   public:
    virtual ~CConcurrentComparer() = default;
    // PrepareInsert, touching nothing shared but the box and the boxes of its owner.
    virtual void PrepareInsert(CBox& box) = 0;
    virtual int CompareDepth(const CBox& a, std::uint32_t wordA, const CBox& b, std::uint32_t wordB,
                             std::uint32_t flagsA, std::uint32_t flagsB) = 0;
  };
  // Whether every comparison with a third box answers alike for a and b, so that the list
  // may keep the one beside the other instead of comparing both (a stack of identical
  // boxes). None do unless the rules say so.
  virtual bool AnswerAlike(const CBox&, const CBox&) const { return false; }

  // A comparer for re-sorting the whole list at once, or none when the rules cannot answer
  // from given words (the list then inserts the boxes again one by one). Rules that give
  // one promise that PrepareInsert reads and changes no box but the one inserted and the
  // boxes its owner holds in slots 0 to CBoxOwner::kBodySlot (which it owns), so that the
  // boxes of different owners may be prepared on different threads.
  virtual std::unique_ptr<CConcurrentComparer> MakeConcurrentComparer() const { return nullptr; }
};
