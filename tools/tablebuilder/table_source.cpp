#include "tablebuilder/table_source.h"

#include <charconv>
#include <sstream>

#include "platform/dbf_format.h"
#include "platform/dbf_values.h"

namespace tvr::tools {
namespace {

using platform::DbfFieldInfo;

std::string_view TrimSpace(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string_view();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  std::istringstream in{std::string(line)};
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

// The keyword of a directive line ("field", "codepage"), in lower case, or empty.
std::string Keyword(std::string_view line) {
  const std::vector<std::string> words = Words(line);
  if (words.empty()) return std::string();
  std::string word = words.front();
  for (char& c : word) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return (word == "field" || word == "codepage") && line.find('|') == std::string_view::npos
             ? word
             : std::string();
}

std::optional<int> WholeNumber(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Digits after the decimal point of a number text.
std::size_t FractionDigits(std::string_view number) {
  const std::size_t point = number.find('.');
  if (point == std::string_view::npos) return 0;
  std::size_t count = 0;
  for (std::size_t i = point + 1; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i)
    ++count;
  return count;
}

}  // namespace

std::vector<std::string> SplitValues(std::string_view line) {
  std::vector<std::string> values(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '|') {
      values.back() += '|';
      ++i;
    } else if (line[i] == '|') {
      values.emplace_back();
    } else {
      values.back() += line[i];
    }
  }
  for (std::string& value : values) value = std::string(TrimSpace(value));
  return values;
}

bool CTableSource::Fail(std::size_t line, const std::string& fault) {
  m_error = m_name + ":" + std::to_string(line) + ": " + fault;
  return false;
}

bool CTableSource::Parse(std::string_view text, const std::string& name) {
  *this = CTableSource();
  m_name = name;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::size_t number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view trimmed = TrimSpace(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    const std::string keyword = m_records.empty() ? Keyword(trimmed) : std::string();
    bool ok = true;
    if (keyword == "field") {
      ok = ParseField(trimmed, number);
    } else if (keyword == "codepage") {
      ok = ParseCodePage(trimmed, number);
    } else {
      ok = ParseRecord(line, number);
    }
    if (!ok) return false;
  }
  if (m_fields.empty()) return Fail(number, "no \"field\" line: a table needs at least one field");
  return true;
}

bool CTableSource::ParseField(std::string_view line, std::size_t number) {
  const std::vector<std::string> words = Words(line);
  if (words.size() != 4 && words.size() != 5) {
    return Fail(number, "a field line is: field NAME TYPE LENGTH [DECIMALS]");
  }
  DbfFieldInfo field;
  field.name = Upper(words[1]);
  const std::string type = Upper(words[2]);
  if (type.size() != 1 || std::string_view("CNFLD").find(type[0]) == std::string_view::npos) {
    return Fail(number, "unknown field type \"" + words[2] + "\" (C, N, F, L or D)");
  }
  field.type = type[0];
  const std::optional<int> length = WholeNumber(words[3]);
  const std::optional<int> decimals =
      words.size() == 5 ? WholeNumber(words[4]) : std::optional<int>(0);
  if (!length || !decimals) return Fail(number, "the length and decimals must be whole numbers");
  field.length = *length;
  field.decimals = *decimals;
  std::vector<DbfFieldInfo> fields = m_fields;
  fields.push_back(field);
  const std::string fault = platform::CheckFieldDefinitions(fields);
  if (!fault.empty()) return Fail(number, fault);
  m_fields = std::move(fields);
  return true;
}

bool CTableSource::ParseCodePage(std::string_view line, std::size_t number) {
  const std::vector<std::string> words = Words(line);
  const std::optional<platform::CodePage> page =
      words.size() == 2 ? platform::CodePageFromName(words[1]) : std::nullopt;
  if (!page) return Fail(number, "a code page line is: codepage CP850 (or CP437, CP1252)");
  m_page = *page;
  return true;
}

bool CTableSource::ParseRecord(std::string_view line, std::size_t number) {
  if (m_fields.empty()) return Fail(number, "a record before any \"field\" line");
  Record record;
  if (line.substr(0, 2) == "*|") {
    record.deleted = true;
    line.remove_prefix(2);
  }
  record.values = SplitValues(line);
  if (record.values.size() > m_fields.size()) {
    return Fail(number, std::to_string(record.values.size()) + " values for " +
                            std::to_string(m_fields.size()) + " fields");
  }
  record.values.resize(m_fields.size());
  for (std::size_t i = 0; i < m_fields.size(); ++i) {
    const std::string fault = CheckValue(m_fields[i], record.values[i]);
    if (!fault.empty()) return Fail(number, "field " + m_fields[i].name + ": " + fault);
  }
  m_records.push_back(std::move(record));
  return true;
}

std::string CTableSource::CheckValue(const DbfFieldInfo& field, const std::string& value) const {
  if (value.empty()) return std::string();
  const std::string quoted = "\"" + value + "\"";
  switch (field.type) {
    case 'N':
    case 'F': {
      const std::optional<double> number = platform::ParseNumber(value);
      if (!number || value.find_first_of("eEnN") != std::string::npos)
        return quoted + " is not a number";
      if (FractionDigits(value) > static_cast<std::size_t>(field.decimals)) {
        return quoted + " has more than " + std::to_string(field.decimals) + " decimals";
      }
      if (!platform::FormatNumber(*number, field.length, field.decimals)) {
        return quoted + " does not fit in " + std::to_string(field.length) + " characters";
      }
      return std::string();
    }
    case 'L':
      return Upper(value).find_first_not_of("TFYN?") == std::string::npos && value.size() == 1
                 ? std::string()
                 : quoted + " is not a logical value (T, F, Y, N or ?)";
    case 'D':
      return platform::IsValidDate(value) ? std::string() : quoted + " is not a date YYYYMMDD";
    default: break;
  }
  bool lossy = false;
  const std::string bytes = platform::FromUtf8(value, m_page, &lossy);
  if (lossy)
    return quoted + " holds a character that " + std::string(platform::CodePageName(m_page)) +
           " lacks";
  if (bytes.size() > static_cast<std::size_t>(field.length)) {
    return quoted + " is " + std::to_string(bytes.size()) + " characters long; the field holds " +
           std::to_string(field.length);
  }
  return std::string();
}

bool CTableSource::Write(const std::string& path) {
  platform::CDbfTable table;
  if (!table.Create(path, m_fields, m_page)) {
    m_error = table.Error();
    return false;
  }
  for (const Record& record : m_records) {
    bool ok = table.Append() && (!record.deleted || table.SetDeleted(true));
    for (std::size_t i = 0; ok && i < record.values.size(); ++i) {
      ok = table.Assign(static_cast<int>(i), record.values[i]) == platform::CDbfTable::kAssignDone;
    }
    if (!ok) {
      m_error = table.Error();
      return false;
    }
  }
  if (!table.Close()) {
    m_error = table.Error();
    return false;
  }
  return true;
}

}  // namespace tvr::tools
