#pragma once

#include "model/bom/bom_source.h"

class CRun;

// A run as the source of its bill of materials.
class CRunBOMSource : public CBOMSource {
 public:
  explicit CRunBOMSource(CRun& run) : m_run(run) {}

  std::optional<std::string> GetDevicePropByRef(std::string_view reference,
                                                std::string_view field) const override;
  void GetDevicePropsByRef(std::string_view reference, CBOMKeptRecord& kept,
                           std::span<const std::string_view> fields,
                           std::span<std::optional<std::string>> values) const override;
  bool SetDevicePropByRef(std::string_view reference, std::string_view field,
                          std::string_view value) override;
  std::int64_t CountByRef(std::string_view reference) const override;
  void SetRefQuantity(std::string_view reference, std::int64_t quantity) override;
  const CBitmapDesc* GetPartRecordFieldByRef(std::string_view reference) const override;
  std::optional<std::string> GetNextCode(bool restart) override;
  std::string GetCatalog() const override;
  // The run's flags word is 0 until its start is placed.
  bool IsBOMEditable() const override;
  int GetSupportSetting() const override;
  // The document's; a run without a document reads the current form.
  int GetFileVersion() const override;
  void SetDocumentModified() override;
  void UpdateDocumentViews() override;
  void MarkTotalsStale() override;

 private:
  CRun& m_run;
};
