#pragma once

#include "model/props/obj_handle.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class CDev;
class CDimension;
class CObjWithProp;
class CRunDocument;

// Why an apply changed nothing: the message number to show with its limit (0: a beep
// alone), and the page's field to select again.
struct CPageRefusal {
  int message = 0;
  std::string limit;
  int field = 0;
  // The second place of a message that names a range.
  std::string limit2;
  // A text made whole by the page, shown instead of the message.
  std::string text;
};

enum class EApplyResult { kUnchanged, kApplied, kRefused };

struct CApplyOutcome {
  EApplyResult result = EApplyResult::kUnchanged;
  CPageRefusal refusal;
};

// The rules of one property page, without a window: the values the page shows, loaded
// from its object; the checks of what the user typed; and the one way an edit reaches
// the model (compare, undo step, write, rebuild, refresh of every view). The window
// side puts a thin widget over it; tests drive it directly.
//
// The object is held by handle: a page whose object has been destroyed loads and
// applies nothing.
class CPropPage {
 public:
  // The undo step of an edit made on an element's page.
  static constexpr int kActionElementEdit = 17520;

  virtual ~CPropPage() = default;

  // The page identifier (page_kinds.h) and the message number of its caption.
  virtual int GetPageKind() const = 0;
  virtual int GetCaptionMessage() const = 0;

  // Set by whoever lists the page, before it is shown: the object and the page word.
  void SetObject(CObjWithProp* object, int variant = 0);
  CObjWithProp* GetObject() const { return m_object.Get(); }
  int GetVariant() const { return m_variant; }

  // Set at the end of a load, cleared when an apply starts; the window applies the page
  // on deactivation, tab change and close only while it is set.
  bool IsLoaded() const { return m_loaded; }
  // The page's values from the object; false (nothing loaded) without a live object.
  bool Load();
  // The page's values into the object where they differ from what was loaded; refused
  // values leave the object untouched and the values as they were loaded.
  CApplyOutcome Apply();

 protected:
  virtual void DoLoad() = 0;
  virtual CApplyOutcome DoApply() = 0;

  // The document of the object (an element's or run's), or null.
  CRunDocument* GetDocument() const;
  // The object as an element; null for a run or a destroyed object.
  CDev* GetElement() const;
  // The document's length unit, or the metric unit without a document.
  const CDimension& Units() const;
  // A typed length in whole internal units; nothing for a text that is not a length or
  // a value beyond what a length field holds.
  std::optional<std::int64_t> ParseLength(const std::string& text) const;
  std::string FormatScaled(std::int64_t length) const;
  std::string FormatLength(std::int64_t length) const;

  // The one road of an edit: the undo step of the action, the write, the modified
  // flag, then every view refreshed (and the totals recomputed when asked).
  void Edit(int action, const std::function<void()>& write, bool totals = false);

  static CApplyOutcome Applied() { return {EApplyResult::kApplied, {}}; }
  static CApplyOutcome Unchanged() { return {}; }
  static CApplyOutcome Refused(int message = 0, std::string limit = {}, int field = 0) {
    return {EApplyResult::kRefused, {message, std::move(limit), field, {}, {}}};
  }
  static CApplyOutcome RefusedRange(int message, std::string low, std::string high, int field) {
    return {EApplyResult::kRefused, {message, std::move(low), field, std::move(high), {}}};
  }

 private:
  CObjHandle m_object;
  int m_variant = 0;
  bool m_loaded = false;
};

// The element takes the reference, and one quantity of the run's bill of materials moves
// from its old reference to the new one (the element's record holds it already).
void MoveOneQuantity(CDev& element, const std::string& reference);

// A whole number read from a stored text with bounds: the leading digits (an optional
// sign first) when they fall inside min..max, else the fallback.
std::int64_t ReadBoundedInt(std::string_view text, std::int64_t min, std::int64_t max,
                            std::int64_t fallback);
