#pragma once

#include <array>
#include <cstdint>

class CAnnotation;
class CDev;
class CDorneDoc;

// What the annotation dialogs change, without the windows.
namespace annotation_dialog {

// The alignment list: 0 left (flag 0x010, also when 0x020 is set too), 1 centred, 2 right.
int AlignmentEntry(std::uint32_t flags);
std::uint32_t WithAlignment(std::uint32_t flags, int entry);

// The measuring modes of a user dimension in the order of the dialog's radio buttons:
// distance, X, Y, Z (modes 0, 1, 2, 3; the buttons stand distance, Z, X, Y).
std::uint32_t WithMeasuringMode(std::uint32_t flags, int mode);

// The picture scales offered, in percent.
inline constexpr std::array<int, 10> kPictureScales{25, 33, 50, 66, 75, 100, 125, 150, 175, 200};

// "Shown only with the current run": set, the annotation is linked to the run whose page
// the bill of materials shows (none on the totals page); cleared, it is shown always.
void ApplyRunChoice(CAnnotation& annotation, bool withRun, const CDorneDoc* document);

// "Attached to the selected element" (flag 0x400), a box the dialog keeps hidden: it can
// be changed only while the text is attached or an element is selected. Cleared on an
// attached text, the text becomes free (owner the document, offset 0, 0); set on a free
// text with an element selected, it goes onto that element, 500 units off it.
bool AttachChoiceEnabled(const CAnnotation& annotation, const CDev* selected);
void ApplyAttachChoice(CAnnotation& annotation, bool attached, CDev* selected);

// The low byte of a user dimension's opaque word is the switch; the bytes above it name
// the boxes of its ends and are kept.
std::uint32_t WithOpaqueSwitch(std::uint32_t opaque, bool on);

}  // namespace annotation_dialog
