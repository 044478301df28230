#include "platform/dbf_table.h"

#include <filesystem>

#include "platform/dbf_format.h"
#include "platform/dbf_tag.h"
#include "platform/dbf_values.h"
#include "platform/file_lookup.h"
#include "platform/mapped_file.h"

namespace tvr::platform {

struct CDbfTable::State {
  std::string path;
  std::string error;
  bool open = false;
  bool readOnly = true;
  bool dirty = false;
  CodePage page = CodePage::Cp850;
  DbfLayout layout;
  std::string header;  // as read (or built), stamped again on every write
  // count * layout.recordLength bytes: in the mapped file until the first change, then
  // in the table's own copy.
  std::string_view records;
  CMappedFile file;
  std::string changed;
  bool ownsRecords = false;
  std::uint32_t count = 0;
  std::uint32_t recno = 0;  // the current record, 0 at the end
  std::vector<CDbfTag> tags;
  int selected = -1;

  // The records to change, copied out of the file first; records must be set to them
  // again after the change.
  std::string& ChangeableRecords() {
    if (!ownsRecords) {
      changed.assign(records);
      ownsRecords = true;
      file.Close();
    }
    return changed;
  }
};

namespace {

const DbfFieldInfo kNoField{};

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

// The path itself when it exists, else the same name in any letter case in its folder.
std::string ExistingPath(const std::string& path) {
  std::error_code error;
  if (std::filesystem::exists(path, error)) return path;
  const std::filesystem::path given(path);
  const std::string folder = given.has_parent_path() ? given.parent_path().string() : "";
  std::string found = FindFileNoCase(folder, given.filename().string());
  return found.empty() ? path : found;
}

std::string_view CutAtZero(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

}  // namespace

CDbfTable::CDbfTable() : m_state(std::make_unique<State>()) {}

CDbfTable::~CDbfTable() {
  if (m_state && m_state->open) Close();
}

CDbfTable::CDbfTable(CDbfTable&& other) noexcept : m_state(std::make_unique<State>()) {
  m_state.swap(other.m_state);
}

CDbfTable& CDbfTable::operator=(CDbfTable&& other) noexcept {
  if (this != &other) {
    Close();
    m_state.swap(other.m_state);
  }
  return *this;
}

bool CDbfTable::Open(const std::string& path, Mode mode) {
  Close();
  State& s = *m_state;
  s = State();
  s.path = ExistingPath(path);
  std::string fault;
  std::optional<DbfLayout> layout;
  if (s.file.Open(s.path, kMaxTableFileSize, fault)) layout = ParseDbfLayout(s.file.Bytes(), fault);
  if (!layout) {
    s.file.Close();
    s.error = "Table " + s.path + ": " + fault;
    return false;
  }
  s.layout = std::move(*layout);
  s.header = s.file.Bytes().substr(0, s.layout.headerLength);
  s.count = s.layout.recordCount;
  // The records may stop short of the end mark; the layout checked that they fit.
  s.records =
      s.file.Bytes().substr(s.layout.headerLength, std::size_t{s.count} * s.layout.recordLength);
  s.page = CodePageFromLdid(s.layout.ldid);
  s.readOnly = mode == Mode::ReadOnly;
  s.open = true;
  return true;
}

bool CDbfTable::Create(const std::string& path, std::vector<DbfFieldInfo> fields, CodePage page) {
  Close();
  State& s = *m_state;
  s = State();
  s.path = path;
  const std::string fault = CheckFieldDefinitions(fields);
  if (!fault.empty()) {
    s.error = "Table " + path + ": " + fault;
    return false;
  }
  s.layout = NewDbfLayout(fields, page);
  s.ownsRecords = true;
  s.header = BuildDbfHeader(s.layout);
  s.page = page;
  s.readOnly = false;
  s.dirty = true;
  s.open = true;
  return true;
}

bool CDbfTable::Flush() {
  State& s = *m_state;
  if (!s.open || s.readOnly || !s.dirty) return true;
  std::string header = s.header;
  StampDbfHeader(header, s.count);
  std::string bytes;
  bytes.reserve(header.size() + s.records.size() + 1);
  bytes += header;
  bytes += s.records;
  bytes += '\x1A';
  std::string fault;
  if (!WriteFileAtomically(s.path, bytes, fault)) {
    s.error = "Table " + s.path + ": " + fault;
    return false;
  }
  s.header = std::move(header);
  s.dirty = false;
  return true;
}

bool CDbfTable::Close() {
  if (!m_state->open) return true;
  const bool written = Flush();
  State closed;
  closed.path = std::move(m_state->path);
  closed.error = std::move(m_state->error);
  *m_state = std::move(closed);
  return written;
}

bool CDbfTable::IsOpen() const { return m_state->open; }
bool CDbfTable::IsReadOnly() const { return m_state->readOnly; }
const std::string& CDbfTable::Path() const { return m_state->path; }
const std::string& CDbfTable::Error() const { return m_state->error; }
CodePage CDbfTable::GetCodePage() const { return m_state->page; }

int CDbfTable::FieldCount() const { return static_cast<int>(m_state->layout.fields.size()); }

const DbfFieldInfo& CDbfTable::Field(int field) const {
  if (field < 0 || field >= FieldCount()) return kNoField;
  return m_state->layout.fields[static_cast<std::size_t>(field)];
}

int CDbfTable::FieldIndex(std::string_view name) const {
  for (int i = 0; i < FieldCount(); ++i) {
    if (SameNoCase(m_state->layout.fields[static_cast<std::size_t>(i)].name, name)) return i;
  }
  return -1;
}

std::uint32_t CDbfTable::RecordCount() const { return m_state->count; }

// ---- cursor

namespace {

// file: where the records are while the table has not changed them, else null.
CDbfTag* SelectedTagOf(std::vector<CDbfTag>& tags, int selected, const DbfLayout& layout,
                       std::string_view records, std::uint32_t count, const CMappedFile* file) {
  if (selected < 0) return nullptr;
  CDbfTag& tag = tags[static_cast<std::size_t>(selected)];
  if (tag.IsBuilt()) return &tag;
  CDbfTag::RecordReader reader;
  if (file != nullptr) {
    reader = [&](std::uint32_t first, std::uint32_t some, std::string& buffer) {
      const std::size_t start = std::size_t{first} * layout.recordLength;
      const std::size_t length = std::size_t{some} * layout.recordLength;
      buffer.resize(length);
      if (file->ReadAt(layout.headerLength + start, buffer.data(), length))
        return std::string_view(buffer);
      return records.substr(start, length);  // cut short underneath: the mapping's guard
    };
  }
  tag.Build(records, layout.recordLength, count, reader);
  return &tag;
}

}  // namespace

bool CDbfTable::First() {
  State& s = *m_state;
  s.recno = 0;
  if (s.count == 0) return false;
  CDbfTag* tag = SelectedTagOf(s.tags, s.selected, s.layout, s.records, s.count,
                               s.ownsRecords ? nullptr : &s.file);
  s.recno = tag ? tag->RecordAt(0) : 1;
  return true;
}

bool CDbfTable::Next() {
  State& s = *m_state;
  if (s.recno == 0) return false;
  CDbfTag* tag = SelectedTagOf(s.tags, s.selected, s.layout, s.records, s.count,
                               s.ownsRecords ? nullptr : &s.file);
  if (tag) {
    const std::size_t next = tag->PositionOf(s.recno) + 1;
    s.recno = next < tag->Size() ? tag->RecordAt(next) : 0;
  } else {
    s.recno = s.recno < s.count ? s.recno + 1 : 0;
  }
  return s.recno != 0;
}

bool CDbfTable::AtEnd() const { return m_state->recno == 0; }

bool CDbfTable::GoTo(std::uint32_t recno) {
  State& s = *m_state;
  s.recno = (recno >= 1 && recno <= s.count) ? recno : 0;
  return s.recno != 0;
}

std::uint32_t CDbfTable::RecNo() const { return m_state->recno; }

bool CDbfTable::IsDeleted() const {
  const State& s = *m_state;
  if (s.recno == 0) return false;
  return s.records[std::size_t{s.recno - 1} * s.layout.recordLength] == '*';
}

// ---- reading

std::string_view CDbfTable::FieldBytesAt(std::uint32_t recno, int field) const {
  const State& s = *m_state;
  if (recno == 0 || recno > s.count || field < 0 || field >= FieldCount()) {
    return std::string_view();
  }
  const auto index = static_cast<std::size_t>(field);
  const std::size_t start =
      std::size_t{recno - 1} * s.layout.recordLength + s.layout.offsets[index];
  return s.records.substr(start, static_cast<std::size_t>(s.layout.fields[index].length));
}

std::string_view CDbfTable::FieldBytes(int field) const {
  return FieldBytesAt(m_state->recno, field);
}

std::string CDbfTable::FieldText(int field, int width) const {
  std::string text;
  const char type = Field(field).type;
  if (type == 'I') {
    text = std::to_string(FieldInt(field));
  } else if (type == 'N') {
    text = std::to_string(LeadingInt(CutAtZero(FieldBytes(field))));
  } else {
    text = ToUtf8(TrimBlanks(CutAtZero(FieldBytes(field))), m_state->page);
  }
  if (width > 0 && width < 255) text = FitWidth(std::move(text), width);
  return text;
}

std::int32_t CDbfTable::FieldInt(int field) const {
  const std::string_view bytes = FieldBytes(field);
  if (Field(field).type == 'I') {
    return ReadInt32(bytes);
  }
  // digits, signs and blanks are the same bytes in every code page
  return LeadingInt(TrimBlanks(CutAtZero(bytes)));
}

std::string CDbfTable::FieldRawText(int field) const {
  return ToUtf8(FieldBytes(field), m_state->page);
}

std::optional<double> CDbfTable::FieldDouble(int field) const {
  switch (Field(field).type) {
    case 'I':
    case 'N':
    case 'F': return NumericValue(Field(field).type, FieldBytes(field));
    default: return std::nullopt;
  }
}

std::optional<bool> CDbfTable::FieldLogical(int field) const {
  if (Field(field).type != 'L') return std::nullopt;
  const std::string_view value = TrimBlanks(FieldBytes(field));
  if (value.empty()) return std::nullopt;
  switch (value[0]) {
    case 'T':
    case 't':
    case 'Y':
    case 'y': return true;
    case 'F':
    case 'f':
    case 'N':
    case 'n': return false;
    default: return std::nullopt;
  }
}

std::string CDbfTable::FieldDate(int field) const {
  if (Field(field).type != 'D') return std::string();
  return std::string(TrimBlanks(CutAtZero(FieldBytes(field))));
}

// ---- writing

bool CDbfTable::CanWrite(int field) {
  State& s = *m_state;
  std::string fault;
  if (!s.open) {
    fault = "the table is not open";
  } else if (s.readOnly) {
    fault = "the table is open for reading only";
  } else if (field != kNoRecord && s.recno == 0) {
    fault = "there is no current record";
  } else if (field != kNoRecord && field != kWholeRecord && (field < 0 || field >= FieldCount())) {
    fault = "there is no field " + std::to_string(field);
  }
  if (fault.empty()) return true;
  s.error = "Table " + s.path + ": " + fault;
  return false;
}

void CDbfTable::Store(int field, std::string_view bytes) {
  State& s = *m_state;
  const auto index = static_cast<std::size_t>(field);
  const std::uint32_t offset = s.layout.offsets[index];
  const auto length = static_cast<std::uint32_t>(s.layout.fields[index].length);
  const std::size_t start = std::size_t{s.recno - 1} * s.layout.recordLength + offset;
  std::string data(bytes.substr(0, length));
  data.resize(length, s.layout.fields[index].type == 'I' ? '\0' : ' ');
  s.records = s.ChangeableRecords().replace(start, length, data);
  s.dirty = true;
  for (CDbfTag& tag : s.tags) {
    if (tag.UsesBytes(offset, length)) tag.Invalidate();
  }
}

int CDbfTable::Refuse(int field, std::string_view value, std::string_view why) {
  State& s = *m_state;
  s.error = "Table " + s.path + ": \"" + std::string(value) + "\" " + std::string(why) +
            " for field " + Field(field).name;
  return kAssignRefused;
}

bool CDbfTable::CanHoldText(std::string_view text) const {
  bool lossy = false;
  FromUtf8(text, m_state->page, &lossy);
  return !lossy;
}

namespace {

// The stored form of a logical or date value, or nothing when the text is none.
std::optional<std::string> LogicalBytes(std::string_view trimmed) {
  if (trimmed.empty()) return std::string(" ");
  if (trimmed.size() != 1) return std::nullopt;
  const char upper =
      trimmed[0] >= 'a' && trimmed[0] <= 'z' ? static_cast<char>(trimmed[0] - 32) : trimmed[0];
  if (std::string_view("TFYN?").find(upper) == std::string_view::npos) return std::nullopt;
  return std::string(1, upper);
}

std::optional<std::string> DateBytes(std::string_view trimmed) {
  if (trimmed.empty()) return std::string(8, ' ');
  if (!IsValidDate(trimmed)) return std::nullopt;
  return std::string(trimmed);
}

}  // namespace

int CDbfTable::Assign(int field, std::string_view text) {
  if (!CanWrite(field)) return kAssignRefused;
  const DbfFieldInfo& info = Field(field);
  const std::string_view trimmed = TrimBlanks(text);
  std::optional<std::string> bytes;
  switch (info.type) {
    case 'N':
    case 'F':
    case 'I': {
      if (trimmed.empty() && info.type != 'I') break;  // a blank number
      const std::optional<double> value = ParseNumber(trimmed);
      if (!value) return Refuse(field, text, "is not a number");
      return AssignNumber(field, *value) ? kAssignDone : kAssignRefused;
    }
    case 'L':
      bytes = LogicalBytes(trimmed);
      if (!bytes) return Refuse(field, text, "is not a logical value (T, F, Y, N, ?)");
      break;
    case 'D':
      bytes = DateBytes(trimmed);
      if (!bytes) return Refuse(field, text, "is not a date YYYYMMDD");
      break;
    case 'C': {
      bool lossy = false;
      bytes = FromUtf8(text, m_state->page, &lossy);
      // A '?' in place of a character would be stored as if it were the text.
      if (lossy) {
        return Refuse(field, text,
                      "holds characters that the code page " +
                          std::string(CodePageName(m_state->page)) + " of the table cannot hold");
      }
      break;
    }
    default:
      return Refuse(field, text,
                    std::string("cannot be written: type ") + info.type + " is read-only");
  }
  const std::size_t length = static_cast<std::size_t>(info.length);
  const bool cut = bytes && bytes->size() > length;
  Store(field, bytes ? *bytes : std::string());  // Store pads with blanks and cuts
  return cut ? kAssignCut : kAssignDone;
}

bool CDbfTable::AssignNumber(int field, double value) {
  if (!CanWrite(field)) return false;
  const DbfFieldInfo& info = Field(field);
  std::string number = std::to_string(value);
  if (info.type == 'I') {
    if (!(value >= -2147483648.0 && value <= 2147483647.0) ||
        value != static_cast<std::int32_t>(value)) {
      Refuse(field, number, "is not a 32-bit whole number");
      return false;
    }
    const auto bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
    std::string bytes(4, '\0');
    for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    Store(field, bytes);
    return true;
  }
  if (info.type != 'N' && info.type != 'F') {
    Refuse(field, number, "is a number, not a value");
    return false;
  }
  const std::optional<std::string> text = FormatNumber(value, info.length, info.decimals);
  if (!text) {
    Refuse(field, number,
           "does not fit " + std::to_string(info.length) + "." + std::to_string(info.decimals));
    return false;
  }
  Store(field, *text);
  return true;
}

bool CDbfTable::AssignLogical(int field, bool value) {
  if (!CanWrite(field)) return false;
  if (Field(field).type != 'L') {
    Refuse(field, value ? "T" : "F", "is a logical value, not a value");
    return false;
  }
  Store(field, value ? "T" : "F");
  return true;
}

bool CDbfTable::SetDeleted(bool deleted) {
  if (!CanWrite(kWholeRecord)) return false;
  State& s = *m_state;
  std::string& records = s.ChangeableRecords();
  records[std::size_t{s.recno - 1} * s.layout.recordLength] = deleted ? '*' : ' ';
  s.records = records;
  s.dirty = true;
  return true;
}

bool CDbfTable::Append() {
  State& s = *m_state;
  if (!CanWrite(kNoRecord)) return false;
  if (s.count == UINT32_MAX) {
    s.error = "Table " + s.path + ": the table is full";
    return false;
  }
  std::string record(s.layout.recordLength, ' ');
  for (std::size_t i = 0; i < s.layout.fields.size(); ++i) {
    const auto length = static_cast<std::size_t>(s.layout.fields[i].length);
    if (s.layout.fields[i].type == 'I') record.replace(s.layout.offsets[i], length, length, '\0');
  }
  s.records = s.ChangeableRecords() += record;
  s.recno = ++s.count;
  s.dirty = true;
  for (CDbfTag& tag : s.tags) tag.Invalidate();
  return true;
}

// ---- tags

bool CDbfTable::AddTag(std::string_view name, std::string_view keyExpression) {
  State& s = *m_state;
  auto fail = [&](const std::string& fault) {
    s.error = "Table " + s.path + ": tag " + std::string(name) + ": " + fault;
    return false;
  };
  if (!s.open) return fail("the table is not open");
  if (TrimBlanks(name).empty()) return fail("a tag needs a name");
  for (const CDbfTag& tag : s.tags) {
    if (SameNoCase(tag.Name(), name)) return fail("the table has that tag already");
  }
  std::vector<CDbfTag::Part> parts;
  std::string_view rest = keyExpression;
  while (true) {
    const std::size_t plus = rest.find('+');
    const std::string_view fieldName = TrimBlanks(rest.substr(0, plus));
    const int field = FieldIndex(fieldName);
    if (field < 0) return fail("no field \"" + std::string(fieldName) + "\" for its key");
    const auto index = static_cast<std::size_t>(field);
    parts.push_back(
        {s.layout.offsets[index], static_cast<std::uint32_t>(s.layout.fields[index].length)});
    if (plus == std::string_view::npos) break;
    rest.remove_prefix(plus + 1);
  }
  s.tags.emplace_back(std::string(name), std::move(parts));
  return true;
}

bool CDbfTable::SelectTag(std::string_view name) {
  State& s = *m_state;
  if (name.empty()) {
    s.selected = -1;
    return true;
  }
  for (std::size_t i = 0; i < s.tags.size(); ++i) {
    if (SameNoCase(s.tags[i].Name(), name)) {
      s.selected = static_cast<int>(i);
      return true;
    }
  }
  s.error = "Table " + s.path + ": no tag " + std::string(name);
  return false;
}

std::string CDbfTable::SelectTagByName(std::string_view name) const {
  const State& s = *m_state;
  if (!name.empty()) {
    for (const CDbfTag& tag : s.tags) {
      if (SameNoCase(tag.Name(), name)) return tag.Name();
    }
    return std::string();
  }
  if (s.selected >= 0) return s.tags[static_cast<std::size_t>(s.selected)].Name();
  return s.tags.empty() ? std::string() : s.tags.front().Name();
}

std::string CDbfTable::SelectedTag() const {
  const State& s = *m_state;
  return s.selected >= 0 ? s.tags[static_cast<std::size_t>(s.selected)].Name() : std::string();
}

int CDbfTable::Seek(std::string_view key) {
  State& s = *m_state;
  CDbfTag* tag = SelectedTagOf(s.tags, s.selected, s.layout, s.records, s.count,
                               s.ownsRecords ? nullptr : &s.file);
  if (!tag) {
    s.error = "Table " + s.path + ": seek without a selected tag";
    return kSeekNoTag;
  }
  bool hit = false;
  const std::size_t position = tag->LowerBound(FromUtf8(key, s.page), hit);
  if (position >= tag->Size()) {
    s.recno = 0;
    return kSeekEof;
  }
  s.recno = tag->RecordAt(position);
  return hit ? kSeekHit : kSeekAfter;
}

}  // namespace tvr::platform
