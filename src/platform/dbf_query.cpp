#include "platform/dbf_query.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>

#include "platform/dbf_table.h"
#include "platform/dbf_values.h"

namespace tvr::platform {
namespace {

constexpr int kMaxDepth = 64;  // nesting of parentheses and .NOT.

// A chain of .AND. or .OR. terms is one node holding all its terms, so that neither the
// parser nor the evaluation recurses once per term: the depth of the tree is bounded by
// the nesting of parentheses and .NOT. alone, however long the expression.
struct Node {
  enum class Kind { Compare, And, Or, Not } kind = Kind::Compare;
  int field = -1;
  bool numeric = false;
  bool negate = false;  // "<>" or "#"
  std::string bytes;    // the literal in the table's code page
  double number = 0;
  std::vector<int> terms;  // And, Or: every term; Not: the one operand
};

bool IsNumericType(char type) { return type == 'N' || type == 'F' || type == 'I'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// A recursive-descent reader of one filter expression into a node list.
class Parser {
 public:
  Parser(const CDbfTable& table, std::string_view text) : m_table(table), m_text(text) {}

  // The root node, or -1 with Fault() set.
  int Parse() {
    const int root = ParseOr(0);
    SkipBlanks();
    if (root >= 0 && m_pos < m_text.size()) return Fail("unexpected text");
    return root;
  }
  const std::string& Fault() const { return m_fault; }
  std::vector<Node> TakeNodes() { return std::move(m_nodes); }

 private:
  int Fail(const std::string& what) {
    if (m_fault.empty()) m_fault = what + " at position " + std::to_string(m_pos + 1);
    return -1;
  }
  void SkipBlanks() {
    while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t')) ++m_pos;
  }
  bool TakeWord(std::string_view word) {
    SkipBlanks();
    if (m_text.size() - m_pos < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (Upper(m_text[m_pos + i]) != word[i]) return false;
    }
    m_pos += word.size();
    return true;
  }
  int Add(Node node) {
    m_nodes.push_back(std::move(node));
    return static_cast<int>(m_nodes.size() - 1);
  }
  // One term alone stands for itself; two or more make one node of the kind.
  int Chain(Node::Kind kind, std::vector<int> terms) {
    if (terms.size() == 1) return terms.front();
    Node node;
    node.kind = kind;
    node.terms = std::move(terms);
    return Add(std::move(node));
  }

  int ParseOr(int depth) {
    std::vector<int> terms;
    do {
      const int term = ParseAnd(depth);
      if (term < 0) return -1;
      terms.push_back(term);
    } while (TakeWord(".OR."));
    return Chain(Node::Kind::Or, std::move(terms));
  }
  int ParseAnd(int depth) {
    std::vector<int> terms;
    do {
      const int term = ParseNot(depth);
      if (term < 0) return -1;
      terms.push_back(term);
    } while (TakeWord(".AND."));
    return Chain(Node::Kind::And, std::move(terms));
  }
  int ParseNot(int depth) {
    if (depth > kMaxDepth) return Fail("expression nested too deeply");
    if (TakeWord(".NOT.")) {
      const int inner = ParseNot(depth + 1);
      if (inner < 0) return -1;
      Node node;
      node.kind = Node::Kind::Not;
      node.terms = {inner};
      return Add(std::move(node));
    }
    if (TakeWord("(")) {
      const int inner = ParseOr(depth + 1);
      if (inner < 0) return -1;
      if (!TakeWord(")")) return Fail("')' expected");
      return inner;
    }
    return ParseComparison();
  }
  int ParseComparison() {
    SkipBlanks();
    const std::size_t start = m_pos;
    while (m_pos < m_text.size() &&
           (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '_')) {
      ++m_pos;
    }
    if (m_pos == start) return Fail("field name expected");
    const std::string_view name = m_text.substr(start, m_pos - start);
    Node node;
    node.field = m_table.FieldIndex(name);
    if (node.field < 0) {
      m_pos = start;
      return Fail("no field \"" + std::string(name) + "\"");
    }
    if (TakeWord("<>") || TakeWord("#")) {
      node.negate = true;
    } else if (!TakeWord("=")) {
      return Fail("'=', '<>' or '#' expected");
    }
    return ParseLiteral(std::move(node));
  }
  int ParseLiteral(Node node) {
    SkipBlanks();
    if (m_pos >= m_text.size() || (m_text[m_pos] != '\'' && m_text[m_pos] != '"')) {
      return Fail("quoted text expected");
    }
    const char quote = m_text[m_pos];
    const std::size_t end = m_text.find(quote, m_pos + 1);
    if (end == std::string_view::npos) return Fail("text without its closing quote");
    const std::string_view literal = m_text.substr(m_pos + 1, end - m_pos - 1);
    node.numeric = IsNumericType(m_table.Field(node.field).type);
    if (node.numeric) {
      const std::optional<double> number = ParseNumber(literal);
      if (!number)
        return Fail("field " + m_table.Field(node.field).name + " is numeric: a number expected");
      node.number = *number;
    } else {
      node.bytes = FromUtf8(literal, m_table.GetCodePage());
    }
    m_pos = end + 1;
    return Add(std::move(node));
  }

  const CDbfTable& m_table;
  std::string_view m_text;
  std::size_t m_pos = 0;
  std::string m_fault;
  std::vector<Node> m_nodes;
};

}  // namespace

struct CDbfQuery::State {
  const CDbfTable* table = nullptr;
  std::string error;
  bool queryValid = true;  // false after a failed SetQuery, until a valid one
  bool sortValid = true;   // false after a failed SetSort, until a valid one
  std::vector<Node> nodes;
  int root = -1;  // -1: every record
  std::vector<int> sortFields;

  bool Evaluate(int index, std::uint32_t recno) const;
  bool Less(std::uint32_t a, std::uint32_t b) const;
};

bool CDbfQuery::State::Evaluate(int index, std::uint32_t recno) const {
  const Node& node = nodes[static_cast<std::size_t>(index)];
  switch (node.kind) {
    case Node::Kind::And:
      return std::all_of(node.terms.begin(), node.terms.end(),
                         [this, recno](int term) { return Evaluate(term, recno); });
    case Node::Kind::Or:
      return std::any_of(node.terms.begin(), node.terms.end(),
                         [this, recno](int term) { return Evaluate(term, recno); });
    case Node::Kind::Not: return !Evaluate(node.terms.front(), recno);
    case Node::Kind::Compare: break;
  }
  const std::string_view bytes = table->FieldBytesAt(recno, node.field);
  bool equal = false;
  if (node.numeric) {
    const std::optional<double> value = NumericValue(table->Field(node.field).type, bytes);
    equal = value && *value == node.number;
  } else {
    equal = bytes.substr(0, node.bytes.size()) == node.bytes;
  }
  return equal != node.negate;
}

bool CDbfQuery::State::Less(std::uint32_t a, std::uint32_t b) const {
  for (int field : sortFields) {
    const std::string_view left = table->FieldBytesAt(a, field);
    const std::string_view right = table->FieldBytesAt(b, field);
    const char type = table->Field(field).type;
    if (IsNumericType(type)) {
      constexpr double kBlank = -std::numeric_limits<double>::infinity();  // blanks first
      const double x = NumericValue(type, left).value_or(kBlank);
      const double y = NumericValue(type, right).value_or(kBlank);
      if (x != y) return x < y;
    } else if (left != right) {
      return left < right;
    }
  }
  return false;
}

CDbfQuery::CDbfQuery(const CDbfTable& table) : m_state(std::make_unique<State>()) {
  m_state->table = &table;
}
CDbfQuery::~CDbfQuery() = default;
CDbfQuery::CDbfQuery(CDbfQuery&&) noexcept = default;
CDbfQuery& CDbfQuery::operator=(CDbfQuery&&) noexcept = default;

bool CDbfQuery::SetQuery(std::string_view expression) {
  State& s = *m_state;
  s.nodes.clear();
  s.root = -1;
  s.error.clear();
  s.queryValid = true;
  if (TrimBlanks(expression).empty()) return true;
  Parser parser(*s.table, expression);
  s.root = parser.Parse();
  if (s.root < 0) {
    s.queryValid = false;
    s.error = "Table " + s.table->Path() + ": query \"" + std::string(expression) +
              "\": " + parser.Fault();
    return false;
  }
  s.nodes = parser.TakeNodes();
  return true;
}

bool CDbfQuery::SetSort(std::string_view fields) {
  State& s = *m_state;
  s.sortFields.clear();
  s.sortValid = true;
  std::string_view rest = fields;
  while (!TrimBlanks(rest).empty()) {
    const std::size_t cut = rest.find_first_of(",+");
    const std::string_view name = TrimBlanks(rest.substr(0, cut));
    const int field = s.table->FieldIndex(name);
    if (field < 0) {
      s.sortValid = false;
      s.sortFields.clear();
      s.error = "Table " + s.table->Path() + ": sort \"" + std::string(fields) + "\": no field \"" +
                std::string(name) + "\"";
      return false;
    }
    s.sortFields.push_back(field);
    if (cut == std::string_view::npos) break;
    rest.remove_prefix(cut + 1);
  }
  return true;
}

const std::string& CDbfQuery::Error() const { return m_state->error; }

bool CDbfQuery::Matches(std::uint32_t recno) const {
  const State& s = *m_state;
  if (!s.queryValid || recno == 0 || recno > s.table->RecordCount()) return false;
  return s.root < 0 || s.Evaluate(s.root, recno);
}

std::vector<std::uint32_t> CDbfQuery::Select() const {
  const State& s = *m_state;
  std::vector<std::uint32_t> rows;
  if (!s.queryValid || !s.sortValid) return rows;
  const std::uint32_t count = s.table->RecordCount();
  for (std::uint32_t recno = 1; recno <= count; ++recno) {
    if (s.root < 0 || s.Evaluate(s.root, recno)) rows.push_back(recno);
  }
  if (!s.sortFields.empty()) {
    std::stable_sort(rows.begin(), rows.end(),
                     [&s](std::uint32_t a, std::uint32_t b) { return s.Less(a, b); });
  }
  return rows;
}

}  // namespace tvr::platform
