// Files of older formats and damaged files.
#include <gtest/gtest.h>

#include "platform/archive.h"
#include "platform/code_page.h"
#include "platform/text_encoding.h"
#include "reference/ref_file.h"
#include "support/temp_folder.h"

namespace {

// One line of an old file as it is stored.
struct COldLine {
  std::string name = "Hallé";
  std::string comment = "c";
  std::int32_t kind = 3;
  std::int32_t conductorWord = 1;
  std::int32_t connection = 0;
  std::int32_t lineQuantity = 1;
  std::vector<std::vector<std::int32_t>> sections;  // as stored, the last section first
  std::vector<std::int32_t> components = std::vector<std::int32_t>(45, 0);
  std::vector<std::int32_t> slots;  // the rest zero
  std::int32_t price = 1234;
  std::int32_t itemCount = 1;
};

// Writes files of any format from 400 on the layout of its time, independently of the
// program's writer.
class COldFile {
 public:
  COldFile(int format, int encoding = -1) : m_format(format) {
    m_wide = encoding == 1 || (encoding < 0 && format >= 511);
    const std::uint8_t signature[10] = {5, 0, 'o', 'l', 'd', 'f', 'i', 'l', 'e', 0};
    m_out.WriteBytes(signature, sizeof signature);
    m_out.WriteLong(format);
    if (format >= 511) m_out.WriteLong(encoding < 0 ? 1 : encoding);
  }

  void Text(const std::string& text) {
    if (m_wide) {
      for (char16_t unit : tvr::platform::Utf8ToUtf16(text)) m_out.WriteWord(unit);
      m_out.WriteWord(0);
    } else {
      const std::string bytes = tvr::platform::ToAnsi(text);
      m_out.WriteBytes(bytes.data(), bytes.size());
      m_out.WriteByte(0);
    }
  }

  std::vector<std::uint8_t> Bytes(const COldLine& line, std::int32_t lineCount = 1) {
    for (int p = 0; p < 17; ++p) {
      const bool absent = p >= 7 && p <= 9;
      if (!(absent && m_format == 400)) Text("P" + std::to_string(p));
    }
    Text("OLD");
    m_out.WriteLong(2);
    Text("List 3");
    m_out.WriteLong(55);
    const int groups = m_format >= 520 ? 7 : m_format >= 461 ? 6 : 5;
    for (int g = 0; g < groups; ++g)
      for (int i = 0; i < 4; ++i) m_out.WriteDouble(g * 10 + i + 0.5);
    m_out.WriteLong(1);
    m_out.WriteLong(2);
    m_out.WriteLong(lineCount);
    WriteLine(line);
    return m_out.TakeBytes();
  }
  // Where the section count of the line was written.
  std::size_t SectionCountAt() const { return m_sectionCountAt; }

 private:
  void WriteLine(const COldLine& line) {
    Text(line.name);
    if (m_format >= 451) Text(line.comment);
    for (std::int32_t value :
         {1, line.kind, 63, line.conductorWord, line.connection, 300, 12, line.lineQuantity, 4, 1})
      m_out.WriteLong(value);
    m_sectionCountAt = m_out.Bytes().size();
    m_out.WriteLong(static_cast<std::int32_t>(line.sections.size()));
    for (const auto& section : line.sections)
      for (std::int32_t value : section) m_out.WriteLong(value);
    for (std::int32_t value : line.components) m_out.WriteLong(value);
    for (int i = 0; i < 5; ++i) m_out.WriteLong(0);
    const int slots = m_format >= 522 ? 200 : 100;
    for (int s = 0; s < slots; ++s)
      m_out.WriteLong(s < static_cast<int>(line.slots.size()) ? line.slots[s] : 0);
    m_out.WriteLong(line.itemCount);
    for (int i = 0; i < std::min(line.itemCount, 3); ++i) {
      Text("REF" + std::to_string(i));
      Text("Désignation");
      for (std::int32_t value : {line.price, 2, 7, 1}) m_out.WriteLong(value);
    }
  }

  CArchiveWriter m_out;
  std::size_t m_sectionCountAt = 0;
  int m_format;
  bool m_wide = false;
};

const CRefLoadContext kContext{[](int list) { return list == 3 ? "List 3" : ""; }};

// Loads into a project whose Qpa coefficient (0.7) and Qpc settings (0.5, 0.55, ...)
// differ from anything in the files and from each other.
CRefProject Load(const std::vector<std::uint8_t>& bytes, int expected = 0) {
  CRefProject project;
  project.priceSettings.productCoefs[7][0] = 0.7;
  project.priceSettings.productCoefs[5] = {0.5, 0.55, 0.6, 0.65};
  EXPECT_EQ(ReadRefFileBytes(bytes, project, kContext), expected);
  return project;
}

TEST(RefFileFormatsTest, OldProjectFieldsAndSettingsAreConverted) {
  struct Case {
    int format;
    const char* delai;
    const char* currency;
    double qpc, qpa;  // the coefficients of kinds 8 and 7 after loading
  } cases[] = {
      // Without a sixth group Qpa keeps its coefficient.
      {400, "", "", 41.5, 0.7},       {450, "P7", "OLD", 41.5, 0.7},
      {461, "P7", "OLD", 41.5, 51.5}, {520, "P7", "OLD", 41.5, 51.5},
      {600, "P7", "OLD", 41.5, 51.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    const CRefProject project = Load(COldFile(c.format).Bytes({}));
    EXPECT_EQ(project.Property("Delai"), c.delai);
    EXPECT_EQ(project.Property("Ville"), "P14");
    EXPECT_EQ(project.priceSettings.currency, c.currency);
    EXPECT_EQ(project.priceSettings.priceList, 2);
    EXPECT_EQ(project.labourRate, 55);
    EXPECT_EQ(project.priceSettings.productCoefs[8][0], c.qpc);
    EXPECT_EQ(project.priceSettings.productCoefs[7][0], c.qpa);
    EXPECT_EQ(project.priceSettings.productCoefs[4][3], 43.5);
  }
}

TEST(RefFileFormatsTest, OldLinesAreConverted) {
  struct Case {
    const char* what;
    int format;
    COldLine line;
    std::function<void(const CRefLine&)> check;
  };
  auto withKind = [](std::int32_t kind, auto&& change) {
    COldLine line;
    line.kind = kind;
    change(line);
    return line;
  };
  const Case cases[] = {
      {"8-bit texts, no comment, protection codes in bits 10-15", 450,
       withKind(3, [](COldLine& l) { l.slots = {(5 << 10) | 3}; }),
       [](const CRefLine& l) {
         EXPECT_EQ(l.name, "Hallé");
         EXPECT_EQ(l.comment, "");
         EXPECT_EQ(l.slots[0], (5 << 16) | 3);
       }},
      {"comments and wide codes from 451", 451,
       withKind(3, [](COldLine& l) { l.slots = {(5 << 16) | 3}; }),
       [](const CRefLine& l) {
         EXPECT_EQ(l.comment, "c");
         EXPECT_EQ(l.slots[0], (5 << 16) | 3);
       }},
      {"prices in hundredths before 452", 451, COldLine{},
       [](const CRefLine& l) { EXPECT_EQ(l.Items()[0].unitPrice, 123400); }},
      {"prices in ten-thousandths from 452", 452, COldLine{},
       [](const CRefLine& l) { EXPECT_EQ(l.Items()[0].unitPrice, 1234); }},
      {"a huge old price saturates", 451, withKind(3, [](COldLine& l) { l.price = 30000000; }),
       [](const CRefLine& l) { EXPECT_EQ(l.Items()[0].unitPrice, INT32_MAX); }},
      {"QYB's component 10 moved to 12 up to 451", 451,
       withKind(2, [](COldLine& l) { l.components[10] = 4; }),
       [](const CRefLine& l) {
         EXPECT_EQ(l.components[12], 4);
         EXPECT_EQ(l.components[10], 0);
       }},
      {"QYB's component 10 stays from 452", 452,
       withKind(2, [](COldLine& l) { l.components[10] = 4; }),
       [](const CRefLine& l) { EXPECT_EQ(l.components[10], 4); }},
      {"short sections before 460", 459,
       withKind(0,
                [](COldLine& l) {
                  l.sections = {{1, 5, 1, 3, 9}, {2, 7, 1, 5, 2}};
                }),
       [](const CRefLine& l) {
         ASSERT_EQ(l.sections.size(), 2u);
         EXPECT_EQ(l.sections[0].values,
                   (std::array<std::int32_t, 10>{2, 0, 7, 1, 2, 1, 5, 2, 0, 0}));
         EXPECT_EQ(l.sections[1].values,
                   (std::array<std::int32_t, 10>{1, 0, 5, 1, 2, 1, 3, 9, 0, 0}));
       }},
      {"full sections from 460", 460,
       withKind(0,
                [](COldLine& l) {
                  l.sections = {{1, 5, 6, 3, 9, 7, 8, 2, 4, 4}};
                }),
       [](const CRefLine& l) {
         EXPECT_EQ(l.sections[0].values,
                   (std::array<std::int32_t, 10>{1, 2, 5, 7, 8, 6, 3, 9, 4, 4}));
       }},
      {"quantities of all identical lines before 520", 519,
       withKind(3,
                [](COldLine& l) {
                  l.lineQuantity = 3;
                  l.components[1] = 7;
                  l.components[2] = -4;
                  l.slots = {(5 << 16) | 7, 5 << 16};
                }),
       [](const CRefLine& l) {
         EXPECT_EQ(l.components[1], 2);
         EXPECT_EQ(l.components[2], -4);
         EXPECT_EQ(l.slots[0], (5 << 16) | 2);
         EXPECT_EQ(l.slots[1], 5 << 16);
       }},
      {"quantities per line from 520", 520,
       withKind(3,
                [](COldLine& l) {
                  l.lineQuantity = 3;
                  l.components[1] = 7;
                }),
       [](const CRefLine& l) { EXPECT_EQ(l.components[1], 7); }},
      {"QFP's straights moved up to 520", 520,
       withKind(0, [](COldLine& l) { l.components[3] = 4, l.components[4] = 6; }),
       [](const CRefLine& l) {
         EXPECT_EQ(l.components[5], 4);
         EXPECT_EQ(l.components[8], 6);
         EXPECT_EQ(l.components[3] + l.components[4], 0);
       }},
      {"QFP's straights stay from 521", 521, withKind(0, [](COldLine& l) { l.components[3] = 4; }),
       [](const CRefLine& l) { EXPECT_EQ(l.components[3], 4); }},
      {"QYA's connections 1 and 3 become 0 and 2", 521,
       withKind(1, [](COldLine& l) { l.connection = 3; }),
       [](const CRefLine& l) { EXPECT_EQ(l.connection, 2); }},
      {"QDA's connections stay", 521, withKind(3, [](COldLine& l) { l.connection = 3; }),
       [](const CRefLine& l) { EXPECT_EQ(l.connection, 3); }},
      {"the conductor word holds the extra code", 521,
       withKind(3, [](COldLine& l) { l.conductorWord = static_cast<std::int32_t>(0xFFFD0004u); }),
       [](const CRefLine& l) {
         EXPECT_EQ(l.conductors, 4);
         EXPECT_EQ(l.extraCode, -3);
       }},
      {"200 slots from 522", 522,
       withKind(3, [](COldLine& l) { l.slots.assign(200, 0), l.slots[199] = 9; }),
       [](const CRefLine& l) { EXPECT_EQ(l.slots[199], 9); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const CRefProject project = Load(COldFile(c.format).Bytes(c.line));
    ASSERT_EQ(project.lineCount, 1);
    if (!project.lines[1].Items().empty()) c.check(project.lines[1]);
    else ADD_FAILURE() << "no items";
  }
}

TEST(RefFileFormatsTest, EightBitTextsOfALaterFormat) {
  const CRefProject project = Load(COldFile(520, 0).Bytes({}));
  EXPECT_EQ(project.lines[1].name, "Hallé");
  EXPECT_EQ(project.lines[1].Items()[0].designation, "Désignation");
}

// A project that a failed load must leave as it was.
CRefProject OpenProject() {
  CRefProject project;
  project.SetProperty("Name", "open");
  project.lineCount = 1;
  project.lines[1].name = "kept";
  project.lines[1].AddItemNode({"R", "D", 1, 1, 1, 0});
  return project;
}

void ExpectRefusedOrLoaded(const std::vector<std::uint8_t>& bytes, const std::string& what,
                           bool mustFail) {
  CRefProject project = OpenProject();
  const std::vector<std::uint8_t> before = RefFileBytes(project);
  const int result = ReadRefFileBytes(bytes, project, kContext);
  if (mustFail) EXPECT_EQ(result, kMsgFileFormat) << what;
  else EXPECT_TRUE(result == 0 || result == kMsgFileFormat) << what << ": " << result;
  if (result != 0) {
    EXPECT_EQ(RefFileBytes(project), before) << what;
    EXPECT_EQ(project.lines[1].name, "kept") << what;
  }
}

std::vector<std::uint8_t> Pinned() {
  const std::string text =
      ReadWholeFile(std::string(TVR_SOURCE_DIR) + "/tests/data/reference/pinned_600.ref");
  return {text.begin(), text.end()};
}

TEST(RefFileFormatsTest, EveryTruncatedFileIsRefused) {
  const std::vector<std::uint8_t> pinned = Pinned();
  ASSERT_GT(pinned.size(), 1000u);
  for (std::size_t size = 0; size < pinned.size(); ++size)
    ExpectRefusedOrLoaded({pinned.begin(), pinned.begin() + static_cast<long>(size)},
                          "prefix of " + std::to_string(size), true);
}

TEST(RefFileFormatsTest, MutatedBytesLoadOrAreRefused) {
  const std::vector<std::uint8_t> pinned = Pinned();
  for (std::uint8_t value : {0x00, 0x7F, 0xFF}) {
    for (std::size_t at = 0; at < pinned.size(); ++at) {
      std::vector<std::uint8_t> bytes = pinned;
      bytes[at] = value;
      ExpectRefusedOrLoaded(bytes, std::to_string(at) + "=" + std::to_string(value), false);
    }
  }
}

TEST(RefFileFormatsTest, AbsurdCountsAndUnknownFormatsAreRefused) {
  auto withLine = [](auto&& change) {
    COldLine line;
    change(line);
    return line;
  };
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Case> cases = {
      {"format 399", COldFile(399).Bytes({})},
      {"format 601", COldFile(601).Bytes({})},
      {"format -1", COldFile(-1).Bytes({})},
      {"encoding 2", COldFile(600, 2).Bytes({})},
      {"line count beyond the file", COldFile(600).Bytes({}, 0x7FFFFFFF)},
      {"item count beyond the file",
       COldFile(600).Bytes(withLine([](COldLine& l) { l.itemCount = 0x7FFFFFFF; }))},
      {"negative item count", COldFile(600).Bytes(withLine([](COldLine& l) { l.itemCount = -5; }))},
      {"empty", {}},
  };
  COldFile withSections(600);
  const std::vector<std::uint8_t> sections = withSections.Bytes({});
  for (std::int32_t count : {0x7FFFFFFF, -1}) {
    std::vector<std::uint8_t> bytes = sections;
    for (int i = 0; i < 4; ++i)
      bytes[withSections.SectionCountAt() + i] = static_cast<std::uint8_t>(count >> (8 * i));
    cases.push_back(
        {count < 0 ? "negative section count" : "section count beyond the file", bytes});
  }
  std::vector<std::uint8_t> signature = COldFile(600).Bytes({});
  signature[0] = 6;
  cases.push_back({"signature", signature});
  CArchiveWriter endless;
  const std::uint8_t head[10] = {5, 0};
  endless.WriteBytes(head, sizeof head);
  endless.WriteLong(600), endless.WriteLong(1);
  for (int i = 0; i < 600; ++i) endless.WriteWord('a');
  endless.WriteWord(0);
  cases.push_back({"text without an end within 512 units", endless.TakeBytes()});
  CArchiveWriter lone;
  lone.WriteBytes(head, sizeof head);
  lone.WriteLong(600), lone.WriteLong(1), lone.WriteWord(0xD800), lone.WriteWord(0);
  cases.push_back({"a lone surrogate", lone.TakeBytes()});
  for (const Case& c : cases) ExpectRefusedOrLoaded(c.bytes, c.what, true);
}

TEST(RefFileFormatsTest, MissingAndUnreadableFiles) {
  CTempFolder folder("ref");
  CRefProject project = OpenProject();
  EXPECT_EQ(LoadRefFile(folder.File("none.ref"), project, kContext), kMsgFileNotFound);
  EXPECT_EQ(LoadRefFile(folder.File("none/x.ref"), project, kContext), kMsgFileNotFound);
  EXPECT_EQ(LoadRefFile(folder.Path(), project, kContext), kMsgFileNoRead);
  EXPECT_EQ(project.lines[1].name, "kept");
}

}  // namespace
