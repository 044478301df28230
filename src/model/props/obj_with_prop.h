#pragma once

#include "model/props/obj_handle.h"
#include "model/props/prop.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CArchiveReader;
class CArchiveWriter;

// Base of every model object that the user edits: an owned list of named text
// properties in insertion order, never two with the same name and never one with an
// empty value; plus what the property window asks of the object it shows.
class CObjWithProp {
 public:
  // The fewest bytes a stored property takes (two empty texts).
  static constexpr std::uint64_t kMinStoredPropBytes = 2;
  // Navigation buttons of the property window, the "how" of GoToObject.
  enum { kGoPrevious = 1, kGoNext = 2, kGoPreviousSameName = 3, kGoNextSameName = 4 };

  CObjWithProp();
  // Copies the properties; the copy is a new object with its own handle.
  CObjWithProp(const CObjWithProp& other);
  CObjWithProp& operator=(const CObjWithProp& other);
  virtual ~CObjWithProp();

  // Stored form: a 16-bit count N, then N name/value pairs (see CProp). Loading
  // stores each pair through SetPropValue, so an empty value is dropped and a repeated
  // name keeps the first one's position with the later value. Loading throws
  // CArchiveError on a damaged stream and then leaves the list unchanged; writing
  // throws std::length_error for more than 65535 properties.
  virtual void Serialize(CArchiveWriter& archive) const;
  virtual void Serialize(CArchiveReader& archive);

  // Targets of the property window's navigation buttons; null when there is none.
  virtual CObjWithProp* GetNextObject() const;
  virtual CObjWithProp* GetPrevObject() const;
  virtual CObjWithProp* GetNextSameName() const;
  virtual CObjWithProp* GetPrevSameName() const;
  // Shows the target in the property window; `how` is one of kGo*, unused here.
  virtual void GoToObject(CObjWithProp* target, int how);
  // The property pages that show this object, by page identifier, in tab order; the
  // window side builds the pages. None in the base.
  virtual std::vector<int> GetPages() const;
  int GetPageCount() const { return static_cast<int>(GetPages().size()); }
  // The page word that the lister of the page gives it for this object (a page's
  // variant: for example the length limits of a special element); 0 unless a range says.
  virtual int GetPageWord(int page) const;

  // The value of the property of that exact name (case-sensitive), empty when absent.
  std::string GetPropValue(std::string_view name) const;
  bool HasProp(std::string_view name) const { return FindProp(name) != nullptr; }
  const CProp* FindProp(std::string_view name) const;
  // A non-empty value replaces the value of the property of that name or appends a new
  // property; an empty value removes it. True when the list changed.
  bool SetPropValue(std::string_view name, std::string_view value);
  // The value at a one-based position, empty for 0 or past the end.
  std::string GetPropAt(int index) const;
  // Replace-or-remove at a one-based position; false for a bad index.
  bool SetPropAt(int index, std::string_view value);
  // The zero-based position of that very object in the list, -1 when absent.
  int IndexOfProp(const CProp* prop) const;
  // Takes the property. Its name already present: its value goes through SetPropValue
  // (the list keeps one property per name). Result: the property's position, or -1
  // when nothing is in the list afterwards (null or empty value).
  int AddProp(std::unique_ptr<CProp> prop);
  const std::vector<std::unique_ptr<CProp>>& GetPropArray() const { return Props(); }
  // Removes every property whose name begins with "HBv2_" (per-line price data).
  void RemoveHBv2Props();

  // Tells the property window about this object: kPropMsgRefresh is queued as
  // kPropMsgShowObject with a handle to this object; other messages are delivered at
  // once. 1 when the window exists, else 0 and nothing happens.
  int NotifyPropDialog(int message);
  // Whether this object may show itself in the property window at all (see
  // CRunDocument::ShowsProperties); NotifyPropDialog does nothing and gives 0 otherwise.
  virtual bool ReachesPropWindow() const { return true; }

  // A handle that turns null when this object is destroyed.
  CObjHandle GetHandle() const;

 protected:
  // Called before any change of the property list (and after a copy replaced it).
  virtual void OnPropsEdited() {}

 private:
  using PropList = std::vector<std::unique_ptr<CProp>>;

  int FindIndex(std::string_view name) const;
  void StorePairs(std::vector<CProp>& pairs);
  const PropList& Props() const;
  PropList& EditProps();

  // Made by the first property stored: most elements of a document carry none, and a
  // document holds tens of thousands of them.
  std::unique_ptr<PropList> m_props;
  // Made by the first GetHandle: most objects never hand one out.
  mutable std::unique_ptr<std::shared_ptr<CObjWithProp*>> m_self;
};
