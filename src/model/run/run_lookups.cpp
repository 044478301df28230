#include "model/element/dev.h"
#include "model/element/element_iterator.h"
#include "model/element/element_selection.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "model/run/run_range_rules.h"

#include "platform/text_conversions.h"
#include "platform/wildcard.h"
#include "platform/dbf_table.h"

#include <array>
#include <cctype>
#include <cstdio>

namespace {

constexpr int kPatternLength = 22;

std::string FallbackKindText(std::string_view base, int kind, int variant) {
  return std::string(base) + " #[" + std::to_string(kind) + "," + std::to_string(variant) + "]";
}

// Whether the text is the fallback text, told without making it.
bool IsFallbackKindText(std::string_view text, std::string_view base, int kind, int variant) {
  if (!text.starts_with(base)) return false;
  std::array<char, 48> tail{};
  const int length = std::snprintf(tail.data(), tail.size(), " #[%d,%d]", kind, variant);
  return text.substr(base.size()) ==
         std::string_view(tail.data(), static_cast<std::size_t>(length));
}

// Whether a row code of the reference table matches a rating key that is not a
// positive number.
bool ReferenceCodeMatches(std::string_view row, std::string_view key) {
  for (std::size_t i = 0;; ++i) {
    if (i >= row.size()) return true;
    if (i >= key.size()) return false;
    if (i == 6) {
      if (TextToInt(row.substr(6)) < TextToInt(key.substr(6))) return row.size() == 7;
      i = 7;  // the comparison goes on at position 8
      continue;
    }
    const bool accepted = row[i] == key[i] || (i == 3 && key[i] == '1' && row[i] == '3');
    if (!accepted) return false;
  }
}

// Joints are coded as 64 and 32, other kinds as themselves.
int CodedKind(int kind) { return kind == CDev::kJoint ? 64 : kind == CDev::kJoint2 ? 32 : kind; }

bool CodesKind(const CCodeRow& row, int coded, int variant) {
  return TextToInt(row.texts[0]) == coded && TextToInt(row.texts[1]) % 100 == variant;
}

// The last row coding the kind and variant; -1 when none does.
int FindKindRow(const std::vector<CCodeRow>& codes, int coded, int variant) {
  for (std::size_t i = codes.size(); i-- > 0;) {
    if (CodesKind(codes[i], coded, variant)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

CElementIterator CRun::IterateElements(bool ownDirectionFirst) const {
  return CElementIterator(GetFirstElement(), ownDirectionFirst);
}

const std::string* CRun::TableKindText(int kind, int variant) const {
  return TableKindText(GetCodeTable(), kind, variant);
}

const std::string* CRun::TableKindText(const std::vector<CCodeRow>* codes, int kind,
                                       int variant) const {
  if (codes == nullptr || codes->empty()) return nullptr;
  const int coded = CodedKind(kind);
  std::optional<int> row = m_kindTexts.Find(*codes, kind, variant);
  // A kept row that no longer codes the kind (its table edited in place) is looked for
  // again.
  if (!row || (*row >= 0 && !CodesKind((*codes)[static_cast<std::size_t>(*row)], coded, variant))) {
    row = FindKindRow(*codes, coded, variant);
    m_kindTexts.Keep(*codes, kind, variant, *row);
  }
  if (*row < 0) return nullptr;
  return &(*codes)[static_cast<std::size_t>(*row)].texts[2];
}

std::string CRun::GetKindText(int kind, int variant) const {
  if (const std::string* text = TableKindText(kind, variant)) return *text;
  const std::vector<CCodeRow>* codes = GetCodeTable();
  if (codes == nullptr || codes->empty()) return FallbackKindText("??????", kind, variant);
  return FallbackKindText(codes->back().texts[2], kind, variant);
}

int CRun::GetDefaultEndVariant() const {
  if (m_catalog.empty()) return 0;
  const std::vector<CCodeRow>* codes = GetCodeTable();
  if (codes == nullptr || FindKindRow(*codes, CDev::kEnd, 1) >= 0) return 1;
  std::vector<int> variants;
  for (const CCodeRow& row : *codes) {
    if (TextToInt(row.texts[0]) == CDev::kEnd) variants.push_back(TextToInt(row.texts[1]) % 100);
    if (variants.size() == 2) break;
  }
  if (variants.empty()) return 1;
  return variants.size() > 1 ? variants[1] : variants[0];
}

int CRun::GetDefaultUnitCode(int kind) const {
  if (m_catalog.empty()) return 0;
  const std::vector<CCodeRow>* codes = GetCodeTable();
  if (codes == nullptr || FindKindRow(*codes, kind, 0) >= 0) return 0;
  for (const CCodeRow& row : *codes) {
    const int code = TextToInt(row.texts[1]);
    if (TextToInt(row.texts[0]) == kind && OffersUnbuiltCode(kind, code)) return code;
  }
  return 0;
}

bool CRun::OffersUnbuiltCode(int kind, int code) const {
  if (kind == CDev::kInLine && code >= 2) return false;
  return !GetRangeRules().RefusesVariant(m_catalog, TextToInt(GetPropText("Calibre")),
                                         TextToInt(GetPropText("Neutral")), kind, code % 100);
}

std::string_view CRun::InLineKitPosition(int variant) const {
  return variant == 1 && GetRangeRules().PlacesRiserKit() ? "0" : "";
}

bool CRun::IsKindText(std::string_view text, int kind, int variant) const {
  // Asked for every element booked: the table is looked up once for both uses.
  const std::vector<CCodeRow>* codes = GetCodeTable();
  if (const std::string* stored = TableKindText(codes, kind, variant)) return text == *stored;
  const std::string_view base =
      codes == nullptr || codes->empty() ? std::string_view("??????") : codes->back().texts[2];
  return IsFallbackKindText(text, base, kind, variant);
}

std::optional<std::string> CRun::GetNextCode(bool restart) {
  if (restart) m_codeCursor = 0;
  const std::vector<CCodeRow>* codes = GetCodeTable();
  if (codes == nullptr || m_codeCursor >= codes->size()) return std::nullopt;
  return (*codes)[m_codeCursor++].texts[2];
}

std::string CRun::GetElementRef(int kind) { return RefFromCodeRows(GetCodeTable(), kind); }

std::string CRun::RefFromCodeRows(const std::vector<CCodeRow>* codes, int kind) const {
  std::string text(kPatternLength, ' ');
  FillRefPattern(text);
  if (codes == nullptr) return std::string();
  for (auto it = codes->rbegin(); it != codes->rend(); ++it) {
    if (TextToInt(it->texts[0]) != 80 || TextToInt(it->texts[1]) != kind) continue;
    const std::string& pattern = it->texts[3];
    for (std::size_t i = 0; i < pattern.size() && i < text.size(); ++i) {
      if (pattern[i] != '?') text[i] = pattern[i];
    }
    return text;
  }
  return std::string();
}

void CRun::FillRefPattern(std::string& pattern) const {
  for (std::size_t i = 0; i < m_catalog.size() && i < pattern.size(); ++i) {
    if (pattern[i] == ' ')
      pattern[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(m_catalog[i])));
  }
  for (std::size_t j = 0; j < m_calibre.size() && 3 + j < pattern.size(); ++j) {
    if (pattern[3 + j] == ' ') pattern[3 + j] = m_calibre[j];
  }
}

CReferenceRow CRun::FindReference(std::string_view key) const {
  static const CReferenceRow kDefault{std::string(), {150, 150, 0, 0, 0}};
  const std::string wanted = key.empty() ? m_calibre : std::string(key);
  const std::vector<CReferenceRow>* references = GetReferenceTable();
  if (references == nullptr) return kDefault;
  const CReferenceRow* found = nullptr;
  const bool numeric = TextToInt(wanted) > 0;
  for (const CReferenceRow& row : *references) {
    if (numeric ? row.code == wanted : ReferenceCodeMatches(row.code, wanted)) {
      found = &row;
      break;
    }
  }
  if (found == nullptr) return kDefault;
  CReferenceRow result = *found;
  if (TextToInt(GetPropText("Neutral")) == 5) result.values[0] += result.values[2];
  return result;
}

int CRun::FindCodeRowForKind(int kind) const {
  const std::vector<CCodeRow>* codes = GetCodeTable();
  if (codes == nullptr) return 0;
  const int group = GetKindGroup(kind);
  for (std::size_t i = codes->size(); i-- > 0;) {
    if (TextToInt((*codes)[i].texts[0]) == group) return static_cast<int>(i) + 1;
  }
  return 0;
}

int CRun::GetTurnCode(const CDev& element, int firstFace, int secondFace, int rotationSteps) const {
  static constexpr int kCodes[6][6] = {
      {0, 1, 3, 4, 0, 2}, {2, 0, 3, 4, 1, 0}, {1, 3, 0, 0, 2, 4},
      {2, 3, 0, 0, 1, 4}, {0, 2, 3, 4, 0, 1}, {1, 0, 3, 4, 2, 0},
  };
  static constexpr int kMapped[4][4] = {{1, 2, 3, 4}, {3, 4, 2, 1}, {2, 1, 4, 3}, {4, 3, 1, 2}};
  const int back = element.GetBackFace();
  const int entry = secondFace == -1 ? back : firstFace;
  const int exit = secondFace == -1 ? firstFace : secondFace;
  if (entry < 0 || entry > 5 || exit < 0 || exit > 5) return 0;
  const CDev* turned = &element;
  if (entry != back && element.GetNeighbour(entry) != nullptr) turned = element.GetNeighbour(entry);
  const int code = kCodes[entry][exit];
  int index = -1;
  switch (turned->GetRotation()) {
    case 16: index = 0; break;
    case 32: index = 1; break;
    case 64: index = 2; break;
    case 128: index = 3; break;
    default: return code;
  }
  index = ((index + rotationSteps) % 4 + 4) % 4;
  return code == 0 ? 0 : kMapped[index][code - 1];
}

int CRun::SeekCatalogCode(std::string_view key, tvr::platform::CDbfTable* table,
                          std::string_view keyField, std::string_view valueField) const {
  if (table == nullptr || !table->IsOpen()) return -1;
  const int keyIndex = table->FieldIndex(keyField);
  const int valueIndex = table->FieldIndex(valueField);
  if (keyIndex < 0 || valueIndex < 0) return -1;
  if (table->Seek(key) != tvr::platform::CDbfTable::kSeekHit) return -1;
  std::string_view wanted = key;
  while (!wanted.empty() && wanted.back() == ' ') wanted.remove_suffix(1);
  if (table->FieldText(keyIndex) != wanted) return -1;
  const std::string value = table->FieldText(valueIndex);
  return value.empty() ? 0 : TextToInt(value);
}

CPatternRow CRun::FindPartRow(std::string_view reference) const {
  if (const std::vector<CPatternRow>* patterns = GetPatternTable()) {
    for (const CPatternRow& row : *patterns) {
      if (MatchPaddedWildcard(row.texts[0], reference)) return row;
    }
  }
  return CPatternRow{};
}

void NormalizeParamText(std::string& text) {
  const auto equals = text.find('=');
  if (equals != std::string::npos && equals > 0 &&
      (text[equals - 1] == 'a' || text[equals - 1] == 'l')) {
    text[equals - 1] = 'x';
  }
  for (const char* key : {",b=", ",c=", ",d="}) {
    for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at + 1))
      text.erase(at + 1, 2);
  }
}
