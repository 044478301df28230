#pragma once

#include <string>
#include <vector>

class CObjWithProp;
class CRun;

// What the property window decides without a window: where it opens, which tab it
// opens on, and the summary it shows for a run whose catalogue it does not know.
namespace prop_window {

inline constexpr const char* kSection = "Dialog Property";
inline constexpr const char* kKeyLeft = "Left";
inline constexpr const char* kKeyTop = "Top";
inline constexpr const char* kKeyPinned = "StayVisible";
// Window title and the line above the run summary.
inline constexpr int kMsgTitle = 31481;
inline constexpr int kMsgUnknownCatalogue = 30165;

// A saved edge folded onto the screen: always within 0..size-1, whatever was stored
// (negative values included); 0 for a screen without size.
int FoldOntoScreen(long long value, int size);
// A saved edge of a window of the given size folded onto the screen, then brought back
// so that the whole window shows (its near edge first when it is larger than the
// screen).
int PlaceOnScreen(long long value, int windowSize, int screenSize);

// The tab an object opens on: the one whose trimmed caption equals the trimmed caption
// of the tab shown last, else the run's second page (a run) or its first; always a
// valid index for a non-empty list, 0 for an empty one.
int OpeningTab(bool isRun, const std::vector<std::string>& captions,
               const std::string& lastCaption);

// The run an object belongs to: the run itself, an element's owner run; null otherwise.
CRun* OwnerRun(CObjWithProp* object);

// "CATALOG - rating label - neutral label" of the run (see the window's summary).
std::string RunSummary(const CRun& run);

}  // namespace prop_window
