#include "view/annotation_dialog_rules.h"

#include "model/annotation/annotation.h"
#include "model/document/dorne_doc.h"

namespace annotation_dialog {

namespace {

constexpr std::uint32_t kLeft = 0x010;
constexpr std::uint32_t kRight = 0x020;
constexpr std::uint32_t kModeBits = 0x0C0;
constexpr int kModeShift = 6;

}  // namespace

int AlignmentEntry(std::uint32_t flags) {
  if ((flags & kLeft) != 0) return 0;
  return (flags & kRight) != 0 ? 2 : 1;
}

std::uint32_t WithAlignment(std::uint32_t flags, int entry) {
  flags &= ~(kLeft | kRight);
  if (entry == 0) flags |= kLeft;
  if (entry == 2) flags |= kRight;
  return flags;
}

std::uint32_t WithMeasuringMode(std::uint32_t flags, int mode) {
  const auto bits = static_cast<std::uint32_t>(mode < 0 || mode > 3 ? 0 : mode) << kModeShift;
  return (flags & ~kModeBits) | bits;
}

void ApplyRunChoice(CAnnotation& annotation, bool withRun, const CDorneDoc* document) {
  if (!withRun) {
    annotation.SetFlags(annotation.GetFlags() & ~CAnnotation::kFlagWithRun);
    return;
  }
  annotation.SetFlags(annotation.GetFlags() | CAnnotation::kFlagWithRun);
  annotation.SetLinkedRun(nullptr);
  if (document != nullptr && document->GetBomPage() > 0)
    annotation.SetLinkedRun(document->GetCurrentRun());
}

bool AttachChoiceEnabled(const CAnnotation& annotation, const CDev* selected) {
  return (annotation.GetFlags() & CAnnotation::kFlagAttached) != 0 || selected != nullptr;
}

void ApplyAttachChoice(CAnnotation& annotation, bool attached, CDev* selected) {
  constexpr std::uint32_t kBoth = CAnnotation::kFlagAttached | CAnnotation::kFlagUserAttached;
  constexpr std::int32_t kOffElement = 500;
  const bool isAttached = (annotation.GetFlags() & CAnnotation::kFlagAttached) != 0;
  if (!attached && isAttached) {
    annotation.SetFlags(annotation.GetFlags() & ~kBoth);
    annotation.SetOwnerDocument();
    annotation.SetOffset(0, 0);
  } else if (attached && !isAttached && selected != nullptr) {
    annotation.SetFlags(annotation.GetFlags() | kBoth);
    annotation.SetOwnerElement(selected);
    annotation.SetOffset(0, kOffElement);
  }
}

std::uint32_t WithOpaqueSwitch(std::uint32_t opaque, bool on) {
  return (opaque & ~0xFFu) | (on ? 1u : 0u);
}

}  // namespace annotation_dialog
