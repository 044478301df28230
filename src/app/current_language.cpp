#include "app/current_language.h"

#include <optional>
#include <utility>

#include "app/language_file.h"

CCurrentLanguage& CCurrentLanguage::Instance() {
  static CCurrentLanguage instance;
  return instance;
}

void CCurrentLanguage::Reset() {
  m_setup = CLanguageSetup();
  m_languageNumber = kDefaultLanguage;
  m_mapping = CLanguageMapping();
  std::lock_guard lock(m_filesMutex);
  m_files.clear();
}

void CCurrentLanguage::SetSetup(CLanguageSetup setup) { m_setup = std::move(setup); }

void CCurrentLanguage::SetLanguageNumber(std::string_view number) {
  m_languageNumber = LanguageNumberText(LeadingInt(number).value_or(0));
}

std::string CCurrentLanguage::LanguageFilePath(std::string_view number) const {
  return m_setup.catalogueFolder + "TVR_" + LanguageNumberText(LeadingInt(number).value_or(0)) +
         ".TXT";
}

std::string CCurrentLanguage::ShippedFilePath() const {
  if (m_setup.shippedFolder.empty()) return {};
  return m_setup.shippedFolder + "TVR_" + kFallbackLanguage + ".TXT";
}

std::shared_ptr<const CLanguageFile> CCurrentLanguage::TextFile(std::string_view number,
                                                                bool* shipped) {
  if (shipped) *shipped = false;
  if (std::shared_ptr<const CLanguageFile> file = File(LanguageFilePath(number))) return file;
  if (m_setup.shippedFolder.empty()) return nullptr;
  std::shared_ptr<const CLanguageFile> english = File(ShippedFilePath());
  if (shipped) *shipped = english != nullptr;
  return english;
}

CStartLanguage CCurrentLanguage::ChooseStartLanguage(std::string_view languageId) {
  SetLanguageNumber(languageId);
  const CLanguageMapping probe;  // never loaded: reads the file as a settings file
  if (!probe.LookupText(18).empty()) return {m_languageNumber, false};
  const bool fileRead = File(LanguageFilePath(m_languageNumber)) != nullptr;
  const bool changed = m_languageNumber != kFallbackLanguage;
  SetLanguageNumber(kFallbackLanguage);
  return {m_languageNumber, fileRead && changed};
}

void CCurrentLanguage::LoadLanguage(std::string_view number) {
  SetLanguageNumber(number);
  CLanguageMapping mapping;
  mapping.LoadLanguage(m_languageNumber);
  m_mapping = std::move(mapping);
}

std::shared_ptr<const CLanguageFile> CCurrentLanguage::File(const std::string& path) {
  std::lock_guard lock(m_filesMutex);
  const auto found = m_files.find(path);
  if (found != m_files.end()) return found->second;
  std::optional<CLanguageFile> file = CLanguageFile::Read(path);
  std::shared_ptr<const CLanguageFile> parsed =
      file ? std::make_shared<const CLanguageFile>(std::move(*file)) : nullptr;
  m_files.emplace(path, parsed);
  return parsed;
}
