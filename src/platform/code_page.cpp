#include "platform/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>
#include <vector>

#include "platform/text_encoding.h"

namespace tvr::platform {
namespace {

// The characters of one code page, learnt once from iconv.
struct PageTable {
  std::array<std::string, 256> decode;                     // byte -> UTF-8
  std::array<bool, 256> known{};                           // the byte has a character
  std::vector<std::pair<char32_t, unsigned char>> encode;  // sorted by character
};

// The UTF-8 text of one byte of the page, empty when iconv knows no character for it.
std::string DecodeByte(iconv_t cd, unsigned char byte) {
  char in = static_cast<char>(byte);
  char out[8];
  char* inPtr = &in;
  char* outPtr = out;
  std::size_t inLeft = 1;
  std::size_t outLeft = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
    return std::string();
  }
  return std::string(out, outPtr);
}

PageTable BuildTable(const char* iconvName) {
  PageTable table;
  iconv_t cd = iconv_open("UTF-8", iconvName);
  for (int byte = 0; byte < 256; ++byte) {
    std::string text;
    if (byte < 0x80) {
      text.push_back(static_cast<char>(byte));  // every page here keeps ASCII
    } else if (cd != reinterpret_cast<iconv_t>(-1)) {
      text = DecodeByte(cd, static_cast<unsigned char>(byte));
    }
    std::size_t pos = 0;
    std::optional<char32_t> c = DecodeUtf8(text, pos);
    const bool known = c && pos == text.size();
    if (known) table.encode.emplace_back(*c, static_cast<unsigned char>(byte));
    table.known[static_cast<std::size_t>(byte)] = known;
    table.decode[static_cast<std::size_t>(byte)] = known ? std::move(text) : std::string(1, '?');
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  std::stable_sort(table.encode.begin(), table.encode.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return table;
}

const PageTable& TableOf(CodePage page) {
  static const PageTable cp437 = BuildTable("CP437");
  static const PageTable cp850 = BuildTable("CP850");
  static const PageTable cp1252 = BuildTable("CP1252");
  switch (page) {
    case CodePage::Cp437: return cp437;
    case CodePage::Cp1252: return cp1252;
    case CodePage::Cp850: break;
  }
  return cp850;
}

std::optional<unsigned char> EncodeChar(const PageTable& table, char32_t c) {
  if (c < 0x80) return static_cast<unsigned char>(c);
  auto it = std::lower_bound(table.encode.begin(), table.encode.end(), c,
                             [](const auto& entry, char32_t key) { return entry.first < key; });
  if (it == table.encode.end() || it->first != c) return std::nullopt;
  return it->second;
}

}  // namespace

std::string ToUtf8(std::string_view bytes, CodePage page, bool* lossy) {
  const PageTable& table = TableOf(page);
  std::string out;
  out.reserve(bytes.size());
  bool lost = false;
  for (char byte : bytes) {
    const auto b = static_cast<unsigned char>(byte);
    if (b < 0x80) {
      out += byte;
    } else {
      out += table.decode[b];
      lost = lost || !table.known[b];
    }
  }
  if (lossy) *lossy = lost;
  return out;
}

std::string FromUtf8(std::string_view text, CodePage page, bool* lossy) {
  const PageTable& table = TableOf(page);
  std::string out;
  out.reserve(text.size());
  bool lost = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {  // the same byte in every code page
      out += text[pos++];
      continue;
    }
    std::optional<char32_t> c = DecodeUtf8(text, pos);
    std::optional<unsigned char> byte = c ? EncodeChar(table, *c) : std::nullopt;
    if (!byte) {
      lost = true;
      out += '?';
    } else {
      out += static_cast<char>(*byte);
    }
  }
  if (lossy) *lossy = lost;
  return out;
}

CodePage CodePageFromLdid(std::uint8_t ldid) {
  switch (ldid) {
    case 0x01: return CodePage::Cp437;
    case 0x03:
    case 0x57:
    case 0x58:
    case 0x59: return CodePage::Cp1252;
    default: return CodePage::Cp850;
  }
}

std::uint8_t LdidOf(CodePage page) {
  switch (page) {
    case CodePage::Cp437: return 0x01;
    case CodePage::Cp1252: return 0x03;
    case CodePage::Cp850: break;
  }
  return 0x02;
}

std::optional<CodePage> CodePageFromName(std::string_view name) {
  std::string upper(name);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  });
  if (upper == "CP437") return CodePage::Cp437;
  if (upper == "CP850") return CodePage::Cp850;
  if (upper == "CP1252") return CodePage::Cp1252;
  return std::nullopt;
}

std::string_view CodePageName(CodePage page) {
  switch (page) {
    case CodePage::Cp437: return "CP437";
    case CodePage::Cp1252: return "CP1252";
    case CodePage::Cp850: break;
  }
  return "CP850";
}

std::string ToAnsi(std::string_view text) { return FromUtf8(text, CodePage::Cp1252); }
std::string FromAnsi(std::string_view ansi) { return ToUtf8(ansi, CodePage::Cp1252); }
std::string ToOem(std::string_view text) { return FromUtf8(text, CodePage::Cp850); }
std::string FromOem(std::string_view oem) { return ToUtf8(oem, CodePage::Cp850); }

}  // namespace tvr::platform
