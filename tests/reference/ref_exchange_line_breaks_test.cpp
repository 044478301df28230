#include "reference/ref_exports.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "linear_test_support.h"
#include "reference/ref_file.h"

namespace {

TEST(RefExchangeLineBreaksTest, EachRunOfLineEndsBecomesOneBlank) {
  const std::pair<const char*, const char*> rows[] = {
      {"North\r\nHall", "North Hall"},
      {"a\n\nb", "a b"},
      {"a\rb", "a b"},
      {"\r\nfirst", " first"},
      {"last\n", "last "},
      {"plain", "plain"},
      {"", ""},
  };
  for (const auto& [text, line] : rows) EXPECT_EQ(XlOneLine(text), line) << text;
  EXPECT_EQ(XlQuote("say \"hi\"\r\nagain"), R"("say ""hi"" again")");
}

// Names holding line ends, as a .ref file from elsewhere may carry them: each field of the
// exchange file stays on its own line.
TEST(RefExchangeLineBreaksTest, NamesFromAFileKeepOneFieldOnOneLine) {
  const CEnglishTexts texts;
  CRefProject written;
  written.SetProperty("Name", "North\r\nHall");
  written.SetProperty("NumAff", "88\r");
  written.lineCount = 1;
  CRefLine& line = written.lines[1];
  line.Assign(nullptr);
  line.name = "Track\nA", line.group = 0, line.productKind = 6, line.rating = 40;
  line.AddItemNode({"QYX40ED", "Track length", 99999, 4, 30, 1});
  CRefProject project;
  ASSERT_EQ(ReadRefFileBytes(RefFileBytes(written), project, CRefLoadContext{}), 0);
  ASSERT_EQ(project.lines[1].name, "Track\nA");
  CRefExportContext context;
  context.selection = {1};
  const CXlExportFile file = WriteXlExchangeFile(project, context);
  for (const std::string& each : file.Lines())
    EXPECT_EQ(each.find_first_of("\r\n"), std::string::npos) << each;
  const auto has = [&file](const std::string& wanted) {
    return std::find(file.Lines().begin(), file.Lines().end(), wanted) != file.Lines().end();
  };
  EXPECT_TRUE(has(R"("Title","@","North Hall")"));
  EXPECT_TRUE(has(R"("FolderNo","@","88 ")"));
  EXPECT_TRUE(std::any_of(file.Lines().begin(), file.Lines().end(), [](const std::string& each) {
    return each.starts_with("\"Line\",") && each.find("Track A") != std::string::npos;
  }));
}

}  // namespace
