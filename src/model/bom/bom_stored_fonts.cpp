#include "model/bom/bom_stored_fonts.h"

#include <cstring>
#include <cstdlib>
#include <string>

#include "platform/archive.h"
#include "platform/code_page.h"
#include "platform/text_encoding.h"

namespace {

constexpr std::size_t kHeaderSize = 28;
constexpr std::size_t kFaceUnits = 32;

// Reads a font record from its own bytes; errors name the offset in the whole stream.
class CFontParser {
 public:
  CFontParser(const std::uint8_t* bytes, std::size_t size, std::size_t base)
      : m_reader(bytes, size), m_base(base) {}

  void Check(bool ok, const char* what) const {
    if (!ok) throw CArchiveError(std::string("font record: ") + what, m_base + m_reader.Position());
  }

  // The LOGFONT header: five numbers and eight bytes, checked against their ranges.
  CLogFont ReadHeader() {
    CLogFont font;
    font.height = m_reader.ReadLong();
    font.width = m_reader.ReadLong();
    font.escapement = m_reader.ReadLong();
    font.orientation = m_reader.ReadLong();
    font.weight = m_reader.ReadLong();
    Check(Within(font.height, CBOMStoredFonts::kMaxFontSize) &&
              Within(font.width, CBOMStoredFonts::kMaxFontSize),
          "size out of range");
    Check(Within(font.escapement, CBOMStoredFonts::kMaxAngle) &&
              Within(font.orientation, CBOMStoredFonts::kMaxAngle),
          "angle out of range");
    Check(font.weight >= 0 && font.weight <= CBOMStoredFonts::kMaxWeight, "weight out of range");
    for (std::uint8_t* field :
         {&font.italic, &font.underline, &font.strikeOut, &font.charSet, &font.outPrecision,
          &font.clipPrecision, &font.quality, &font.pitchAndFamily}) {
      *field = m_reader.ReadByte();
    }
    return font;
  }

  // 32 UTF-16 units up to the first zero unit.
  std::string ReadWideFace() {
    std::u16string face;
    bool ended = false;
    for (std::size_t i = 0; i < kFaceUnits; ++i) {
      const auto unit = static_cast<char16_t>(m_reader.ReadWord());
      ended = ended || unit == 0;
      if (!ended) face.push_back(unit);
    }
    const std::optional<std::string> text = tvr::platform::Utf16ToUtf8(face);
    Check(text.has_value(), "face name is not valid UTF-16");
    return *text;
  }

  // 32 CP1252 bytes up to the first zero byte.
  std::string ReadNarrowFace() {
    std::string face;
    bool ended = false;
    for (std::size_t i = 0; i < kFaceUnits; ++i) {
      const auto byte = static_cast<char>(m_reader.ReadByte());
      ended = ended || byte == 0;
      if (!ended) face.push_back(byte);
    }
    return tvr::platform::FromAnsi(face);
  }

 private:
  static bool Within(std::int32_t value, std::int32_t limit) {
    return value >= -limit && value <= limit;
  }

  CArchiveReader m_reader;
  std::size_t m_base;
};

template <std::size_t N>
std::array<std::uint8_t, N> TakeBytes(CArchiveReader& archive) {
  archive.Require(N, "font record");
  std::array<std::uint8_t, N> bytes{};
  for (std::uint8_t& byte : bytes) byte = archive.ReadByte();
  return bytes;
}

void PutLong(CBOMStoredFonts::Bytes& bytes, std::size_t at, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

// The face's UTF-16 units, cut to the record's 32 without splitting a pair. A face of 32
// units is written without a terminator, as the reader takes it: the 32 characters of
// an old record's face come back whole.
std::u16string FaceUnits(const std::string& face) {
  std::u16string units =
      tvr::platform::Utf8ToUtf16(std::string_view(face).substr(0, face.find('\0')));
  if (units.size() > kFaceUnits) {
    std::size_t keep = kFaceUnits;
    if (tvr::platform::IsHighSurrogate(units[keep - 1])) --keep;
    units.resize(keep);
  }
  return units;
}

}  // namespace

CLogFont CBOMStoredFonts::ReadWide(CArchiveReader& archive) {
  const std::size_t start = archive.Position();
  const Bytes raw = TakeBytes<kWideSize>(archive);
  CFontParser parser(raw.data(), raw.size(), start);
  CLogFont font = parser.ReadHeader();
  font.faceName = parser.ReadWideFace();
  m_read[Encode(font)] = raw;
  return font;
}

CLogFont CBOMStoredFonts::ReadNarrow(CArchiveReader& archive) {
  const std::size_t start = archive.Position();
  const auto raw = TakeBytes<kNarrowSize>(archive);
  CFontParser parser(raw.data(), raw.size(), start);
  CLogFont font = parser.ReadHeader();
  font.faceName = parser.ReadNarrowFace();
  return font;
}

void CBOMStoredFonts::Write(CArchiveWriter& archive, const CLogFont& font) const {
  const Bytes own = Encode(font);
  const auto found = m_read.find(own);
  const Bytes& bytes = found == m_read.end() ? own : found->second;
  archive.WriteBytes(bytes.data(), bytes.size());
}

CBOMStoredFonts::Bytes CBOMStoredFonts::Encode(const CLogFont& font) {
  Bytes bytes{};
  PutLong(bytes, 0, font.height);
  PutLong(bytes, 4, font.width);
  PutLong(bytes, 8, font.escapement);
  PutLong(bytes, 12, font.orientation);
  PutLong(bytes, 16, font.weight);
  const std::uint8_t flags[] = {font.italic,  font.underline,     font.strikeOut,
                                font.charSet, font.outPrecision,  font.clipPrecision,
                                font.quality, font.pitchAndFamily};
  std::memcpy(bytes.data() + 20, flags, sizeof flags);
  const std::u16string face = FaceUnits(font.faceName);
  for (std::size_t i = 0; i < face.size(); ++i) {
    bytes[kHeaderSize + 2 * i] = static_cast<std::uint8_t>(face[i] & 0xFF);
    bytes[kHeaderSize + 2 * i + 1] = static_cast<std::uint8_t>(face[i] >> 8);
  }
  return bytes;
}
