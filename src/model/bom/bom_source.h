#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/bom/bom_kept_record.h"

struct CBitmapDesc;

// What a bill-of-materials page asks of the run whose records it lists. The run's
// adapter (CRunBOMSource) implements it; tests use doubles. References are passed as
// the grid holds them (group suffix included).
class CBOMSource {
 public:
  virtual ~CBOMSource() = default;

  // The value of a field (a column key) on the first record of the reference; nothing
  // when no record has that reference.
  virtual std::optional<std::string> GetDevicePropByRef(std::string_view reference,
                                                        std::string_view field) const = 0;
  // The values of several fields on that record, as GetDevicePropByRef gives each, into
  // `values` (as long as `fields`); a source that finds the record once overrides it,
  // and may keep the record it found in `kept` (the line's) to find it sooner next time.
  virtual void GetDevicePropsByRef(std::string_view reference, CBOMKeptRecord& /*kept*/,
                                   std::span<const std::string_view> fields,
                                   std::span<std::optional<std::string>> values) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
      values[i] = GetDevicePropByRef(reference, fields[i]);
  }
  // Stores the value on every record of the reference; true when every store succeeded.
  virtual bool SetDevicePropByRef(std::string_view reference, std::string_view field,
                                  std::string_view value) = 0;
  // The number of elements that use the reference.
  virtual std::int64_t CountByRef(std::string_view reference) const = 0;
  // Makes the run's records of the reference total the quantity.
  virtual void SetRefQuantity(std::string_view reference, std::int64_t quantity) = 0;
  // The picture of the reference's part; null when none.
  virtual const CBitmapDesc* GetPartRecordFieldByRef(std::string_view reference) const = 0;
  // The code table's references in turn (restart from the first); nothing at the end.
  virtual std::optional<std::string> GetNextCode(bool restart) = 0;

  // The run's "Catalog" property.
  virtual std::string GetCatalog() const = 0;
  // Whether the user may edit the run's bill of materials.
  virtual bool IsBOMEditable() const = 0;
  // The application's "Design"/"Support" setting.
  virtual int GetSupportSetting() const = 0;
  // The effective version of the document being read (10000 for a new one).
  virtual int GetFileVersion() const = 0;

  // The document's modified flag, and the update of its views (all but the
  // bill-of-materials view).
  virtual void SetDocumentModified() = 0;
  virtual void UpdateDocumentViews() = 0;
  // The lines changed: the document's totals of the source are out of date.
  virtual void MarkTotalsStale() {}
};
