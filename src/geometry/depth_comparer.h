#pragma once

#include "geometry/chain_memo.h"
#include "geometry/window_segment.h"

#include <array>
#include <cstdint>

class C3DProjection;
class CBox;
class CViewRotation;

// Which of two listed boxes lies in front for the projection's view: positive when a
// does (b is painted first), negative when b does, 0 when they do not affect each other
// (only the sign counts). flagsA and flagsB are their display-node flags; two nodes of one
// box put the second node in front. Boxes whose window bounds do not overlap strictly, or
// of which one has a non-finite projection, never affect each other. Joints between
// boxes of one element or of neighbouring elements are decided by the faces the viewer
// sees; parts of one end element by their kind codes; everything else by where their
// visible edges cross on screen and by the depth under their face centres.
int CompareDepth(const C3DProjection& projection, const CBox& a, const CBox& b,
                 std::uint32_t flagsA, std::uint32_t flagsB);

// CompareDepth for one insertion into the display list, where the first box stays the
// same over many comparisons: its screen edges are worked out once. Forget() must be
// called whenever that box's projection or face nibbles, or any element's links, may have
// changed.
class CDepthComparer {
 public:
  explicit CDepthComparer(const C3DProjection& projection) : m_projection(projection) {}

  int Compare(const CBox& a, const CBox& b, std::uint32_t flagsA, std::uint32_t flagsB);
  // The same with the boxes' attribute words given rather than read from them: the face
  // nibbles they had, or will have, at that point of an insertion order. The visible bits
  // must be the boxes' own (the face hit test reads them), which holds once a box has been
  // prepared for the projection, since later insertions only close faces. Reads nothing
  // but the boxes and their owners, so that comparers on several threads may share them.
  int Compare(const CBox& a, std::uint32_t wordA, const CBox& b, std::uint32_t wordB,
              std::uint32_t flagsA, std::uint32_t flagsB);
  void Forget() {
    m_edgesOf = nullptr;
    m_firstCentresKnown = false;
    m_likeFor = nullptr;
    m_chains.Reset();
  }

 private:
  // Everything the comparison by geometry reads of the second box. Boxes alike in all of
  // it get the same answer from one first box: in a stack of runs laid on one another a
  // new box meets many such boxes, and compares with one of them only.
  struct Likeness {
    std::array<C3DPoint, 8> projected;
    std::array<C3DPoint, 8> corners;  // which give the face normals too
    C3DPoint origin;
    std::array<std::int32_t, 3> extents{};
    std::uint32_t word = 0;
    std::uint32_t attributes = 0;
    const CViewRotation* rotation = nullptr;  // CBox::ExactRotation
    bool hitBlocked = false;

    void Take(const CBox& box, std::uint32_t boxWord);
    bool Matches(const CBox& box, std::uint32_t boxWord) const;
  };
  struct Remembered {
    Likeness second;
    int answer = 0;
  };
  static constexpr std::size_t kRemembered = 4;

  int CompareGeometry(const CBox& a, const CBox& b);
  const Remembered* Recall(const CBox& a, const CBox& b);
  void Remember(const CBox& b, int answer);

  // A window edge of an open face with the depths at its ends.
  struct Edge {
    CWindowSegment segment;
    double depthA = 0.0;
    double depthB = 0.0;

    double DepthAt(CPoint c) const;
  };
  using Edges = std::array<Edge, 12>;
  // The edges of a box's open faces, and the window area they can meet anything in, with
  // the box's window corners.
  struct EdgeSet {
    Edges edges;
    std::array<CPoint, 8> window;
    int count = 0;
    std::int32_t minX = 0;
    std::int32_t maxX = -1;
    double lowY = 0.0;
    double highY = -1.0;

    bool MayMeet(const CWindowSegment& s) const {
      return maxX >= s.minX && s.maxX >= minX && highY >= s.lowY && s.highY >= lowY;
    }
  };

  static void OpenEdges(const CBox& box, std::uint32_t attributes, EdgeSet& set);
  // The projected centres of a box's open faces, in face order.
  struct FaceCentres {
    std::array<C3DPoint, 6> rotated;
    int count = 0;
  };
  void OpenFaceCentres(const CBox& box, std::uint32_t attributes, FaceCentres& centres) const;
  bool CompareEdgeCrossings(const CBox& a, const CBox& b, bool stopAtFirst);
  // secondWindow: the window corners of the second box.
  void CompareFaceCentres(const CBox& first, std::uint32_t firstWord, const CBox& second,
                          const std::array<CPoint, 8>& secondWindow, double sign);
  void Offer(double d);
  int CompareSeparated(const CBox& a, const CBox& b, double separation, int sign);

  const C3DProjection& m_projection;
  const CBox* m_edgesOf = nullptr;  // the box whose edges m_first holds, with this word
  std::uint32_t m_edgesWord = 0;
  std::uint32_t m_wordA = 0;  // the words of the comparison under way
  std::uint32_t m_wordB = 0;
  EdgeSet m_first;
  EdgeSet m_second;
  // The face centres of the box m_first holds the edges of, once asked for.
  FaceCentres m_firstCentres;
  bool m_firstCentresKnown = false;
  std::array<int, 12> m_secondNear{};
  double m_best = 0.0;
  int m_magnitude = 2;
  // While the sign is known: the sign, and how large an answer of the other sign may
  // be before the full comparison is needed after all.
  int m_expectedSign = 0;
  double m_tolerated = 0.0;
  bool m_conflict = false;
  // Answers by geometry for the first box m_likeFor with the word and attributes it had.
  const CBox* m_likeFor = nullptr;
  std::uint32_t m_likeWord = 0;
  std::uint32_t m_likeAttributes = 0;
  std::array<Remembered, kRemembered> m_remembered;
  std::size_t m_rememberedCount = 0;
  std::size_t m_nextRemembered = 0;
  // Walks along the chains of the first box's element, for the chain rule.
  CChainMemo m_chains;
};
