#pragma once

#include "geometry/3d_point.h"
#include "geometry/pointer_map.h"
#include "model/bom/bom_kept_record.h"
#include "model/element/element_selection.h"
#include "model/run/kind_text_cache.h"
#include "model/props/obj_with_prop.h"
#include "model/props/page_kinds.h"
#include "model/run/range_rules.h"
#include "model/run/run_ref_index.h"

#include <array>
#include <atomic>
#include <map>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CBOMGrid;
class CBookingBatch;
class CRefQuantityBatch;
class CDeviceRemovalBatch;
class CDev;
class CPartBuilder;
class CElementIterator;
class CElementRecordReader;
class CRunDocument;
class CRunRangeRules;
class CSceneHold;
class CWaitCursorGuard;
struct CBitmapDesc;
namespace tvr::platform {
class CDbfTable;
}

// Box sizes of an element (GetHousingDims).
struct CHousingDims {
  std::int32_t length = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t length2 = 0;
  std::int32_t width2 = 0;
  std::int32_t height2 = 0;
  C3DPoint offset;
};

// A further box of an element's shape (GetElementGeometry): extents along the element
// and across it, an offset in the same frame, and a colour preset by the caller.
struct CElementGeometry {
  std::array<std::int32_t, 3> extents{};
  C3DPoint offset;
  std::uint32_t colour = 0;
};

// A remembered joint option of a run (UpdatePJPRecords): counted from an element of
// kinds 0 to 6 along one of its faces, the joint that is the count-th active joint of
// the variant index carries the option bits.
struct CPJPRecord {
  CDev* element = nullptr;
  int face = 0;
  int variantIndex = 0;
  int count = 0;
  int optionBits = 0;
};

// Quotation figures of a run (GetQuotationStats).
struct CQuotationStats {
  std::int64_t specialStraight = 0;  // 1 when an element has a variant index of 3 or more
  std::int64_t bookedLength = 0;
  std::int64_t junctions = 0;  // elements of kinds 2 to 6
  std::int64_t pathDevices = 0;
  std::int64_t unused = 0;
};

// One busbar run: a tree of elements from one start element, its catalogue, rating and
// options as properties, its length records and its own bill of materials. CRun is the
// generic run and the base of the range runs, which override its virtual operations
// (see range_rules.h for how they hold the shared range tables).
//
// Ownership: the run owns every element made for it (NewElement, AdoptElement), in or
// out of its lists, and destroys them with itself or through DeleteElement. The device
// list and the length-record list only order them.
class CRun : public CObjWithProp {
 public:
  static constexpr std::uint32_t kArchivedFlagsMask = 0xFFF;

  // doc: the owning document (not owned), or null.
  explicit CRun(CRunDocument* document = nullptr);
  ~CRun() override;
  CRun(const CRun&) = delete;
  CRun& operator=(const CRun&) = delete;

  CRunDocument* GetDocument() const { return m_document; }
  // The element selection of the run's document, or the run's own without a document.
  CElementSelection& Selection();
  const CElementSelection& Selection() const;
  void SetDocument(CRunDocument* document) {
    m_document = document;
    MarkBillStale();  // the document's sales rate is in the bill's prices
  }

  // "Name", "Comment", "Catalog" and "Calibre" from their fields, any other name from
  // the property list; nothing when absent.
  std::optional<std::string> GetProp(std::string_view name) const;
  // The text of GetProp, empty when absent.
  std::string GetPropText(std::string_view name) const;
  // True when something was stored. Marks the document modified first.
  bool SetProp(std::string_view name, std::string_view value);
  // Written directly by the catalogue loaders.
  void SetCatalog(std::string catalog) { m_catalog = std::move(catalog); }

  // The next name after a run name: A..Z, AA..ZZ, AAA...
  static std::string AdvanceRunName(std::string_view name);

  // The rules of the run's range, by its "Catalog" (run_factory.h).
  const CRunRangeRules& GetRangeRules() const;

  // Takes over the old run whose catalogue the user changed (see run_takeover.cpp).
  int TakeOverRun(CRun& oldRun);
  // 1 when the catalogue is empty, or offered and with a known rating and neutral.
  int IsCatalogueKnown() const;

  // Fields.
  CBOMGrid& GetBOM() { return *m_bom; }
  const CBOMGrid& GetBOM() const { return *m_bom; }
  // Replaces the bill of materials (its source becomes this run).
  void SetBOM(std::unique_ptr<CBOMGrid> bom);
  // What the bill shows of the elements changed: their fields, or which of them carry
  // a reference (and so which is the first of it).
  void MarkBillStale();
  CDev* GetCurrentElement() const { return m_current; }
  void SetCurrentElement(CDev* element) { m_current = element; }
  std::uint32_t GetFlagsWord() const { return m_flags; }
  void SetFlagsWord(std::uint32_t flags) { m_flags = flags; }
  CDev* GetStartMarker() const { return m_startMarker; }
  // The marker must be an element of this run (or null); the old one is deleted.
  void SetStartMarker(CDev* marker);
  int GetChangedFlag() const { return m_changed; }
  void SetChangedFlag(int changed) { m_changed = changed; }
  int GetRotation() const { return m_rotation; }
  void SetRotationFlag(int rotation) { m_rotation = rotation; }
  int GetRangeLoaded() const { return m_rangeLoaded; }
  void SetRangeLoaded() { m_rangeLoaded = 1; }
  // The second state flag: set from construction, it lets the run be moved and copied
  // and its elements deleted (unlike bit 1 of the flags word, the neutral side shown).
  int GetSecondStateFlag() const { return m_secondState; }
  int GetPartsState() const { return m_partsState; }
  void SetPartsState(int state) { m_partsState = state; }
  // The elements of this run that its last build could find no catalogue part for and
  // whose reference has no bill line, in the order of its element array; elements taken
  // off the run since are left out.
  std::vector<const CDev*> GetUnbuiltElements() const;
  int GetCatalogueKnown() const { return m_catalogueKnown; }
  void SetCatalogueKnown(int known) { m_catalogueKnown = known; }
  const std::array<double, 5>& GetKeptTotals() const { return m_totals; }
  void SetKeptTotals(const std::array<double, 5>& totals) { m_totals = totals; }

  // Range caches. A range loader hands over its lease on the range's cache set (the
  // run keeps it until it is destroyed or attached to other tables); tests may attach
  // tables they own, which must outlive the run. Without range tables every list is
  // null, except the code table of a generic run, the program-wide catalogue list.
  void AttachRangeTables(CRangeTablesLease lease);
  void AttachRangeTables(CRangeTables& tables);
  const CRangeTables* GetRangeTables() const { return m_rangeTables; }
  const std::vector<CCodeLabelRow>* GetRatingList() const { return Slot(&CRangeTables::ratings); }
  const std::vector<CCodeLabelRow>* GetNeutralList() const { return Slot(&CRangeTables::neutrals); }
  const std::vector<CCodeLabelRow>* GetOptionList() const { return Slot(&CRangeTables::options); }
  const std::vector<CReferenceRow>* GetReferenceTable() const {
    return Slot(&CRangeTables::references);
  }
  const std::vector<CHousingRow>* GetHousingTable() const { return Slot(&CRangeTables::housings); }
  const std::vector<CCodeRow>* GetCodeTable() const;
  // The kind's text in the code table; null without a table or a row of the kind.
  const std::string* TableKindText(int kind, int variant) const;
  const std::vector<CPatternRow>* GetPatternTable() const { return Slot(&CRangeTables::patterns); }
  const std::vector<CPriceFormulaRow>* GetPriceFormulaTable() const {
    return Slot(&CRangeTables::priceFormulas);
  }
  const std::vector<CTemperatureEntry>* GetTemperatureTable() const {
    return Slot(&CRangeTables::temperatures);
  }

  // Pages: the run's own list (comment and rating pages; range loaders replace it) and
  // the sixteen element-page slots.
  std::vector<int> GetPages() const override { return m_pages; }
  void SetPages(std::vector<int> pages) { m_pages = std::move(pages); }
  int GetElementPage(int slot) const;
  void SetElementPage(int slot, int page);

  // Virtual operations of the range contract.
  virtual void LoadCatalog();
  // Level -1 prepares (the bill of materials rebuilt, wait cursor on); 0 rebuilds the
  // parts with the run's part builder quietly, above 0 also shows the design-check
  // messages and rebuilds again after a length correction. 1 after a rebuild, 0 for a
  // run without catalogue and after the preparation. See run_rebuild.cpp.
  virtual int RebuildParts(int level);
  // A new part builder of the run's range for one rebuild; none for a run of no range.
  virtual std::unique_ptr<CPartBuilder> CreatePartBuilder();
  // Whether the run's range turns its elements into catalogue parts: CreatePartBuilder
  // gives a builder. A rebuild without one would make every reference generic and call
  // the run built, so the rebuilds refuse it. Asked of the range once, then kept.
  bool HasPartBuilder();
  // The builder of the rebuild under way (the run holds none between rebuilds).
  CPartBuilder* GetPartBuilder() const { return m_partBuilder.get(); }
  void SetPartBuilder(std::unique_ptr<CPartBuilder> builder);
  virtual std::string GetElementRef(int kind);
  // The run's pattern under the pattern of the last code-80 row of the kind; empty
  // without one.
  std::string RefFromCodeRows(const std::vector<CCodeRow>* codes, int kind) const;
  virtual void ComputeSupports();
  virtual CPatternRow FindPartRow(std::string_view reference) const;
  virtual int SeekCatalogCode(std::string_view key, tvr::platform::CDbfTable* table,
                              std::string_view keyField, std::string_view valueField) const;
  virtual int GetTurnCode(const CDev& element, int firstFace, int secondFace,
                          int rotationSteps) const;
  virtual CHousingDims GetHousingDims(const CDev& element) const;
  // Further box `index` of an element: the shape code (0..15); all extents 0 means no box.
  virtual int GetElementGeometry(const CDev& element, int index, CElementGeometry& geometry) const;
  virtual void FillRefPattern(std::string& pattern) const;
  virtual void NormalizeRefCode(std::string& text) const;
  // Looked up in the code table once per kind and variant, then kept with the table.
  virtual std::string GetKindText(int kind, int variant) const;
  // Whether the text is the kind's text, without making the text: every element read
  // from a file is asked.
  bool IsKindText(std::string_view text, int kind, int variant) const;
  // The variant a new end element takes: 0 without a catalogue; 1 when the code table
  // has it for ends; otherwise the one the characteristics page would propose, the
  // second end row of the table (the first when it has one), so that the end has a
  // reference of its range from the start.
  int GetDefaultEndVariant() const;
  // The code (option x 100 + variant) that a new in-line unit (kind 7) or special piece
  // (kind 8) takes: 0 when the code table has variant 0 of the kind, or without a
  // catalogue; otherwise the first row of the kind that the characteristics page offers
  // an unbuilt run, so that the piece has a reference of its range from the start.
  int GetDefaultUnitCode(int kind) const;
  // Whether the characteristics page of an unbuilt run offers the code to an element of
  // the kind: no built run's unit (kind 7, variant 2 on), nothing the range refuses at
  // the run's rating and neutral.
  bool OffersUnbuiltCode(int kind, int code) const;
  // The style bits of a code: the variant in bits 0-7, the option in bits 24-27, as the
  // characteristics page sets them.
  static std::uint32_t CodeStyleBits(int code) {
    return static_cast<std::uint32_t>((code % 100) & 0xFF) |
           (static_cast<std::uint32_t>((code / 100) & 0xF) << 24);
  }
  // The kit position an in-line unit of that variant has: "0" for the riser kit of a range
  // that places one, else empty.
  std::string_view InLineKitPosition(int variant) const;
  // The code table's third texts in turn (restart from the first); nothing at the end.
  virtual std::optional<std::string> GetNextCode(bool restart);
  virtual std::optional<std::string> GetPriceFormula(std::string_view reference);
  virtual std::optional<std::string> GetOptionSuffix(int argument) const;
  // The option articles that a priced reference stands for, joined by '+'; none in the
  // ranges that price no options.
  virtual std::optional<std::string> GetReferenceOptionSuffix(std::string_view reference) {
    (void)reference;
    return std::nullopt;
  }
  virtual void ClearPriceRowProperties();
  virtual std::vector<int> GetSubObjects(const CDev& element) const;
  // The page word of a page that GetSubObjects lists for the element; 0 in the base.
  virtual int GetPageWord(const CDev& element, int page) const;
  virtual std::string GetDeviceTextForSide(const CDev& device, int value) const;
  // The breaker key that a feed unit adds to its equipment-box look-up; none in the base.
  virtual std::string GetBreakerKey(const CDev& element) const {
    (void)element;
    return {};
  }
  virtual int AccessOption(CDev* element, int request);

  // Property window.
  CObjWithProp* GetNextObject() const override;
  CObjWithProp* GetPrevObject() const override;
  void GoToObject(CObjWithProp* target, int how) override;
  int NotifyPropDialog(int message);
  bool ReachesPropWindow() const override;

  // The run record (see run_archive.cpp); reading throws CArchiveError on damage.
  void Serialize(CArchiveWriter& archive) const override;
  void Serialize(CArchiveReader& archive) override;

  // Elements owned by the run.
  CDev* NewElement();
  CDev* AdoptElement(std::unique_ptr<CDev> element);
  // Takes the element out of the lists (no booking) and destroys it; tap-off units
  // attached to an element of kinds 0..6 go with it; its neighbours forget it.
  void DeleteElement(CDev* element);
  // Gives up ownership (the element leaves the lists unbooked).
  std::unique_ptr<CDev> ReleaseElement(CDev* element);
  bool OwnsElement(const CDev* element) const;
  // Deletes the tap-off units whose reference contains the text (all for an empty
  // text), from the last device to the first; the number deleted.
  int DeleteTapOffUnits(std::string_view text);

  // Devices and length records (see run_devices.cpp).
  const std::vector<CDev*>& GetDevices() const { return m_devices; }
  const std::vector<CDev*>& GetLengthRecords() const { return m_lengths; }
  int FindDeviceIndex(const CDev* element) const;
  void AddDevice(CDev* element);
  void RemoveDevice(CDev* element);
  int FindLengthRecord(std::string_view rating, int variantIndex) const;
  void AddLengthToBOM(std::string_view rating, std::int64_t length, int variantIndex);
  void RenameLengthRecords();
  std::string GetLengthReference(int variantIndex, double length) const;
  void ReplaceReference(std::string_view oldReference, std::string_view newReference);
  void RemoveManualQuantity(std::string_view reference, std::int64_t count);
  void AddManualQuantity(std::string_view reference, std::int64_t count);
  // Makes the records of the trimmed reference hold the quantity, taking the surplus
  // off the manual records or adding a manual record for the shortfall.
  void SetRefQuantity(std::string_view reference, std::int64_t quantity);
  // What one record holds of its reference's line, the same rule by which the run books
  // its records: a length record 1; an accessory record its quantity (1 when 0); a
  // record whose booked flag is 0 nothing; an end element, elbow, junction or in-line
  // unit 1; any other 1 when active and its reference is not its kind's default text.
  std::int64_t HeldQuantity(const CDev& record) const;
  std::int64_t CountByRef(std::string_view reference) const;
  std::optional<std::string> GetDevicePropByRef(std::string_view reference,
                                                std::string_view field) const;
  // The same for several fields, the record looked up once, or not at all when `kept` (a
  // bill line's) holds it from a look-up since which the element lists have not changed;
  // `values` as long as `fields`.
  void GetDevicePropsByRef(std::string_view reference, CBOMKeptRecord& kept,
                           std::span<const std::string_view> fields,
                           std::span<std::optional<std::string>> values) const;
  bool SetDevicePropByRef(std::string_view reference, std::string_view field,
                          std::string_view value);
  const CBitmapDesc* GetPartRecordFieldByRef(std::string_view reference) const;
  CDev* GetFirstElement() const;
  // Whether the device can be the first element: an active end without a back neighbour
  // (the last such device of the list is the first element).
  static bool IsChainStart(const CDev& device);
  // Kinds an element of the chain may have: length, accessory and tap-off records are
  // kept in the run's lists, outside the chain.
  static bool IsChainKind(int kind);
  // Elements in chain-index order: post-order of a depth-first walk from the start (the
  // start element when none) through elements of the chain's kinds, then the kind-13
  // and kind-14 devices in list order.
  std::vector<CDev*> GetChainOrder(const CDev* start = nullptr) const;
  // The chain's part of that order from a given start, without the kind-13 and kind-14
  // devices.
  std::vector<CDev*> GetChainWalk(const CDev& start) const;
  void RebuildLengthRecords(int allowedVariantMask);
  // Reference row of the rating and the neutral's extra width; "RAL" removed with the
  // colour flag; the offsets of the chain from the element (the start element when
  // none) follow the row's width and height.
  void ApplyRating(CDev* element, bool removeColour);
  // The boxes of the whole chain built again from the start element, then the device
  // references adapted to them.
  void RebuildGeometry();
  // Every tap-off unit placed again on its outlet and booked, or taken off (and deleted
  // once the parts are built without errors) when its outlet is gone.
  void AdaptDeviceReferences();

  // Rebuild and bill-of-materials upkeep (run_rebuild.cpp and beside it).
  // Every element back to its generic reference, joints and accessories dropped, the
  // length records made anew; parts state 0. Result 1.
  int RebuildBOM(bool recomputeTotals);
  // Joint options of the ranges that keep them: -1 forgets the element's records, 0
  // remembers, 1 puts back, 2 writes "PJP", 3 reads it (see run_pjp.cpp).
  void UpdatePJPRecords(int operation, CDev* element = nullptr);
  const std::vector<CPJPRecord>& GetPJPRecords() const { return m_pjpRecords; }
  // `count` accessory records of GetElementRef(kind) followed by the extra text (the
  // extra text alone for a negative kind); 1 when added, 0 when no reference was made.
  int AddAccessoryParts(int kind, int count, std::string_view extra);
  // Orders the bill-of-materials lines along the chain and by group.
  void Validate();
  // Unit weights from the article table; the run's total weight (0 when skipped).
  double ComputeWeights();
  // Recolours every active device but accessory records, and every joint.
  void UpdateElementColors(int flag);
  void SetRotation(int rotation);
  // Turns the run end for end (the far end becomes the start).
  void Reverse();

  // Look-ups (see run_lookups.cpp).
  CElementIterator IterateElements(bool ownDirectionFirst = false) const;
  int FindCodeRowForKind(int kind) const;
  CReferenceRow FindReference(std::string_view key = {}) const;
  CQuotationStats GetQuotationStats(bool skip) const;

  // Reference index upkeep, called by elements whose reference changes.
  void OnReferenceChanged(CDev& element);

 protected:
  // A range's pages of an element: the base pages before the name page, those that
  // addWholeElementPages adds when the whole element is selected, and the name page
  // last; at most 16 in all.
  std::vector<int> RangeSubObjects(
      const CDev& element,
      const std::function<void(std::vector<int>&)>& addWholeElementPages) const;

 private:
  template <typename List>
  const List* Slot(List CRangeTables::*list) const {
    return m_rangeTables != nullptr ? &(m_rangeTables->*list) : nullptr;
  }
  void Init();
  // AddDevice for an element the run owns, such as one its reading has just made: the
  // reading of a long chain lists every element after the whole chain is read, when a
  // look-up of each in the owned elements would miss the cache.
  void ListDevice(CDev& owned);
  friend class CElementRecordReader;
  void BookDevice(CDev& element);
  // Books into the bill, or into the batch of a read under way.
  void BookHeld(std::string_view reference, std::int64_t quantity);
  CDev* FindManualRecord(std::string_view trimmed) const;
  // The record whose fields a line of the reference shows; null when none.
  const CDev* FirstRecordOf(std::string_view reference) const;
  const CDev* FirstRecordOf(std::string_view reference, CBOMKeptRecord& kept) const;
  void TakeOverElements(CRun& oldRun, bool variantChange);
  void ResetElementForTakeOver(CDev& element);
  void TakeOverProperties(CRun& oldRun);
  void DeleteElement(CDev* element, bool detachUnits);
  void NormalizeDevices();
  void ResetDeviceStyles();
  void RebookGenericReferences();
  void BuildRounds(int level);
  void RebuildOnce(int level);
  bool RememberJointOption(CDev& joint);
  void PutBackJointOption(const CPJPRecord& record);
  bool ReadPJPText(std::string_view text);
  void GatherNumericLines();
  void OrderLinesAlongChain();
  void OrderLinesByGroup();
  void TurnElementForReverse(CDev& element, CDev& next, int face);
  void SerializeHead(CArchiveReader& archive);
  // Reads the element lists, gathering the bookings of their records into the batch.
  void ReadElementList(CArchiveReader& archive, CElementRecordReader& reader,
                       CBookingBatch& bookings);
  void ReadElementRecords(CArchiveReader& archive, CElementRecordReader& reader);
  // TableKindText in the code table given, as GetCodeTable finds it.
  const std::string* TableKindText(const std::vector<CCodeRow>* codes, int kind, int variant) const;

  CRunDocument* m_document = nullptr;
  CElementSelection m_ownSelection;  // the selection while the run has no document
  CDev* m_current = nullptr;
  std::unique_ptr<CBOMGrid> m_bom;
  CBookingBatch* m_bookings = nullptr;  // while the element list is read
  friend class CRefQuantityBatch;
  friend class CDeviceRemovalBatch;
  CDeviceRemovalBatch* m_deviceRemovals = nullptr;  // while a rebuild clears joints out
  CRefQuantityBatch* m_refQuantities = nullptr;     // while a builder books its parts
  std::vector<CDev*> m_devices;
  mutable std::size_t m_deviceSearchFrom = 0;  // see FindDeviceIndex
  std::vector<CDev*> m_lengths;
  std::uint32_t m_flags = 1;
  CDev* m_startMarker = nullptr;
  std::string m_name;
  std::string m_comment;
  std::string m_catalog;
  std::string m_calibre;
  bool m_catalogueUser = false;
  CRangeTables* m_rangeTables = nullptr;
  CRangeTablesLease m_rangeLease;
  std::array<double, 5> m_totals{};
  std::array<int, kElementPageSlots> m_elementPages{};
  std::vector<int> m_pages;
  int m_changed = 0;
  int m_rotation = 0;
  int m_rangeLoaded = 0;
  int m_secondState = 1;
  int m_partsState = 0;
  std::vector<const CDev*> m_unbuilt;
  int m_catalogueKnown = 1;
  std::size_t m_codeCursor = 0;
  std::vector<CPJPRecord> m_pjpRecords;
  std::unique_ptr<CPartBuilder> m_partBuilder;
  std::optional<bool> m_hasPartBuilder;
  // On from the preparation of a rebuild to the end of its build.
  std::unique_ptr<CWaitCursorGuard> m_rebuildWait;
  std::unique_ptr<CSceneHold> m_rebuildHold;
  // The bill of materials is being rebuilt as the first step of a parts rebuild.
  bool m_preparing = false;

  // Every element the run owns, and the place of each by its address, so that a lookup
  // or a release costs no search and no node of its own.
  std::vector<std::unique_ptr<CDev>> m_owned;
  // The elements of m_owned before this one are filed in m_ownedPlaces. While a run is read
  // its new elements wait and are filed together at the first question about ownership or
  // at the end of the read (a long chain asks none until its last element is read): filed
  // one by one among the reading, each would cost a miss in a table larger than the cache.
  // Only the thread reading the run files them, so a filed run is never changed by a
  // question.
  mutable std::size_t m_ownedFiled = 0;
  mutable CPointerMap<CDev, std::uint32_t> m_ownedPlaces;
  bool m_fileOwnedLater = false;
  // Files every element of m_owned not filed yet; takes no memory (AdoptElement keeps room
  // for every element owned), so a run can be destroyed after a failed reading.
  void FileOwned() const;
  const std::uint32_t* FindOwnedPlace(const CDev* element) const;
  // Takes the element out of m_owned (the last one fills its place); null when not owned.
  std::unique_ptr<CDev> Disown(const CDev* element);
  CRunRefIndex m_refIndex;
  mutable CKindTextCache m_kindTexts;
  // The size of the run's last record, which sizes the next one's room: a record of
  // megabytes grown by doubling copies itself over and over, out of the cache. Atomic
  // because a save and an undo step may write the same run on two threads.
  mutable std::atomic<std::size_t> m_lastStoredSize = 0;
};

// True when the text, trimmed and without a leading "QMB" (when longer than three
// characters), is only digits; an empty text is not numeric.
bool IsNumericReference(std::string_view text);

// Rewrites a parameter text in place: a key letter "a" or "l" just before the first "="
// becomes "x"; then ",b=", ",c=" and ",d=" lose their key letter and "=".
void NormalizeParamText(std::string& text);
