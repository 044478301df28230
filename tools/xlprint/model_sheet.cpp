#include "xlprint/model_sheet.h"

#include <charconv>
#include <vector>

namespace tvr::tools {
namespace {

// The tags <name .../> or <name ...> of the text, in order.
std::vector<std::string_view> Tags(std::string_view xml, std::string_view name) {
  std::vector<std::string_view> tags;
  const std::string open = "<" + std::string(name);
  for (std::size_t at = xml.find(open); at != std::string_view::npos; at = xml.find(open, at + 1)) {
    const char after = at + open.size() < xml.size() ? xml[at + open.size()] : '\0';
    const std::size_t end = xml.find('>', at);
    if ((after == ' ' || after == '/' || after == '>') && end != std::string_view::npos)
      tags.push_back(xml.substr(at, end - at + 1));
  }
  return tags;
}

std::string Unescaped(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    bool replaced = false;
    for (const auto& [entity, c] : kEntities)
      if (text.substr(i).starts_with(entity)) {
        out += c, i += entity.size() - 1, replaced = true;
        break;
      }
    if (!replaced) out += text[i];
  }
  return out;
}

std::optional<std::string> Attribute(std::string_view tag, std::string_view name) {
  const std::string key = " " + std::string(name) + "=\"";
  const std::size_t at = tag.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  const std::size_t start = at + key.size(), end = tag.find('"', start);
  if (end == std::string_view::npos) return std::nullopt;
  return Unescaped(tag.substr(start, end - start));
}

// "$B$6" or "B6": the place; nothing for any other text.
std::optional<CSheetPlace> ParseCell(std::string_view text) {
  if (text.starts_with('$')) text.remove_prefix(1);
  unsigned column = 0;
  std::size_t i = 0;
  for (; i < text.size() && text[i] >= 'A' && text[i] <= 'Z' && i < 3; ++i)
    column = column * 26 + static_cast<unsigned>(text[i] - 'A' + 1);
  if (i < text.size() && text[i] == '$') ++i;
  unsigned row = 0;
  const auto [end, fault] = std::from_chars(text.data() + i, text.data() + text.size(), row);
  if (column == 0 || row == 0 || fault != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return CSheetPlace{row - 1, column - 1};
}

unsigned RowNumber(std::string_view rowTag) {
  unsigned row = 0;
  const std::string text = Attribute(rowTag, "r").value_or("0");
  std::from_chars(text.data(), text.data() + text.size(), row);
  return row;
}

}  // namespace

std::optional<CDefinedCell> FindDefinedCell(std::string_view workbook, std::string_view name) {
  for (std::string_view tag : Tags(workbook, "definedName")) {
    if (Attribute(tag, "name") != std::string(name) || tag.ends_with("/>")) continue;
    const std::size_t start = static_cast<std::size_t>(tag.data() - workbook.data()) + tag.size();
    const std::size_t end = workbook.find('<', start);
    const std::string reference = Unescaped(workbook.substr(start, end - start));
    const std::size_t bang = reference.rfind('!');
    if (bang == std::string::npos) return std::nullopt;
    std::string sheet = reference.substr(0, bang);
    if (sheet.size() >= 2 && sheet.front() == '\'' && sheet.back() == '\'')
      sheet = sheet.substr(1, sheet.size() - 2);
    const std::string cell = reference.substr(bang + 1, reference.find(':', bang) - bang - 1);
    const std::optional<CSheetPlace> place = ParseCell(cell);
    if (!place || sheet.empty()) return std::nullopt;
    return CDefinedCell{sheet, *place};
  }
  return std::nullopt;
}

std::optional<std::string> WorksheetPath(std::string_view workbook, std::string_view rels,
                                         const std::string& sheetName) {
  std::optional<std::string> id;
  for (std::string_view tag : Tags(workbook, "sheet"))
    if (sheetName.empty() || Attribute(tag, "name") == sheetName) {
      id = Attribute(tag, "r:id");
      break;
    }
  if (!id) return std::nullopt;
  for (std::string_view tag : Tags(rels, "Relationship")) {
    if (Attribute(tag, "Id") != *id) continue;
    const std::string target = Attribute(tag, "Target").value_or("");
    if (target.empty()) return std::nullopt;
    return target.front() == '/' ? target.substr(1) : "xl/" + target;
  }
  return std::nullopt;
}

CSheetPlace PlaceBelow(std::string_view sheet) {
  unsigned last = 0;
  for (std::string_view tag : Tags(sheet, "row")) last = std::max(last, RowNumber(tag));
  return {last, 0};
}

std::string CellName(unsigned column, unsigned row) {
  std::string letters;
  for (unsigned n = column + 1; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters + std::to_string(row + 1);
}

std::string XmlText(std::string_view text) {
  std::string out;
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (u >= 0x20 || c == '\t' || c == '\n' || c == '\r') out += c;
  }
  return out;
}

bool SpliceRows(std::string& sheet, const std::map<unsigned, std::string>& rows) {
  if (const std::vector<std::string_view> dims = Tags(sheet, "dimension"); !dims.empty())
    sheet.erase(sheet.find(dims.front()), dims.front().size());
  const std::vector<std::string_view> data = Tags(sheet, "sheetData");
  if (data.empty()) return false;
  std::size_t body = sheet.find(data.front());
  if (data.front().ends_with("/>")) {
    sheet.replace(body, data.front().size(), "<sheetData></sheetData>");
    body += std::string_view("<sheetData>").size();
  } else {
    body += data.front().size();
  }
  const std::size_t close = sheet.find("</sheetData>", body);
  if (close == std::string::npos) return false;
  // The model's rows, each whole, by number; the new ones take their numbers' places.
  std::map<unsigned, std::string> merged;
  const std::string_view old = std::string_view(sheet).substr(body, close - body);
  for (std::string_view tag : Tags(old, "row")) {
    const std::size_t start = static_cast<std::size_t>(tag.data() - old.data());
    std::size_t end = start + tag.size();
    if (!tag.ends_with("/>")) {
      end = old.find("</row>", start);
      if (end == std::string_view::npos) return false;
      end += std::string_view("</row>").size();
    }
    merged[RowNumber(tag)] = std::string(old.substr(start, end - start));
  }
  for (const auto& [row, cells] : rows)
    merged[row + 1] = "<row r=\"" + std::to_string(row + 1) + "\">" + cells + "</row>";
  std::string text;
  for (const auto& [row, xml] : merged) text += xml;
  sheet.replace(body, close - body, text);
  return true;
}

}  // namespace tvr::tools
