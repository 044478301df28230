#include "xlprint/model_workbook.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>

#include "xlprint/model_sheet.h"
#include "xlprint/workbook_writer.h"
#include "xlprint/zip_archive.h"

namespace tvr::tools {
namespace {

constexpr const char* kDataName = "DATA";

std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsOldWorkbook(const std::string& path, std::string_view bytes) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  // The compound-file mark of the binary workbooks.
  return extension == ".xls" || bytes.starts_with("\xD0\xCF\x11\xE0");
}

CZipEntry* FindEntry(std::vector<CZipEntry>& entries, std::string_view name) {
  const auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const CZipEntry& entry) { return entry.name == name; });
  return found == entries.end() ? nullptr : &*found;
}

// The worksheet file and the first data cell: the "DATA" cell, else below the header of
// the first sheet. Nothing, with error set, when the workbook does not say.
std::optional<std::pair<std::string, CSheetPlace>> DataPlace(std::vector<CZipEntry>& entries,
                                                             std::string& error) {
  const CZipEntry* book = FindEntry(entries, "xl/workbook.xml");
  const CZipEntry* rels = FindEntry(entries, "xl/_rels/workbook.xml.rels");
  if (book == nullptr || rels == nullptr) {
    error = "it holds no workbook";
    return std::nullopt;
  }
  const std::optional<CDefinedCell> data = FindDefinedCell(book->data, kDataName);
  const std::optional<std::string> sheet =
      WorksheetPath(book->data, rels->data, data ? data->sheet : std::string());
  if (!sheet || FindEntry(entries, *sheet) == nullptr) {
    error = data ? "its cell DATA names no sheet it holds" : "it holds no sheet";
    return std::nullopt;
  }
  std::optional<CSheetPlace> place;
  if (data) place = data->place;
  return std::make_pair(*sheet, place ? *place : PlaceBelow(FindEntry(entries, *sheet)->data));
}

// The laid-out cells, kept as the XML of their rows.
class CRowSink : public CCellSink {
 public:
  explicit CRowSink(CSheetPlace origin) : m_origin(origin) {}
  std::map<unsigned, std::string>& Rows() { return m_rows; }

  void Text(unsigned row, unsigned column, const std::string& text, CCellStyle) override {
    Add(row, column,
        " t=\"inlineStr\"><is><t xml:space=\"preserve\">" + XmlText(text) + "</t></is>");
  }
  void Number(unsigned row, unsigned column, double value, CCellStyle) override {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    Add(row, column, std::string("><v>") + text + "</v>");
  }
  void Boolean(unsigned row, unsigned column, bool value, CCellStyle) override {
    Add(row, column, std::string(" t=\"b\"><v>") + (value ? "1" : "0") + "</v>");
  }

 private:
  void Add(unsigned row, unsigned column, const std::string& body) {
    const unsigned at = m_origin.row + row;
    m_rows[at] += "<c r=\"" + CellName(m_origin.column + column, at) + "\"" + body + "</c>";
  }
  CSheetPlace m_origin;
  std::map<unsigned, std::string> m_rows;
};

bool WriteWhole(const std::string& path, const std::string& bytes, std::string& error) {
  const std::string part = path + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) error = "cannot write " + path;
  }
  std::error_code ignored;
  if (error.empty() && (std::filesystem::rename(part, path, ignored), !ignored)) return true;
  if (error.empty()) error = "cannot write " + path;
  std::filesystem::remove(part, ignored);
  return false;
}

}  // namespace

bool WriteWorkbookOnModel(const CExchange& exchange, const std::string& modelPath,
                          const std::string& path, std::string& error) {
  const std::optional<std::string> bytes = ReadFileBytes(modelPath);
  if (!bytes) {
    error = "cannot read the model workbook " + modelPath;
    return false;
  }
  if (IsOldWorkbook(modelPath, *bytes)) {
    error = "the model workbook " + modelPath +
            " is an Excel 97-2003 workbook (.xls), which cannot be read here: save it as .xlsx";
    return false;
  }
  std::string why;
  std::optional<std::vector<CZipEntry>> entries = ReadZip(*bytes, why);
  std::optional<std::pair<std::string, CSheetPlace>> place;
  if (entries) place = DataPlace(*entries, why);
  if (!place) {
    error = "the model workbook " + modelPath + " is no workbook or is damaged: " + why;
    return false;
  }
  CRowSink sink(place->second);
  const unsigned lines = LayOutProject(exchange, sink, 0) + 1;
  LayOutLines(exchange, sink, lines);
  CZipEntry& sheet = *FindEntry(*entries, place->first);
  if (!SpliceRows(sheet.data, sink.Rows())) {
    error = "the model workbook " + modelPath + " is no workbook or is damaged: " + sheet.name +
            " holds no sheet data";
    return false;
  }
  return WriteWhole(path, WriteZip(*entries), error);
}

}  // namespace tvr::tools
