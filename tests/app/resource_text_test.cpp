#include "app/resource_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ResourceText, CountedTextsReadBackInOrder) {
  std::u16string block;
  AppendCountedText(block, u"MSG_18");
  AppendCountedText(block, u"");
  AppendCountedText(block, u"Tavrilon");
  std::size_t offset = 0;
  EXPECT_EQ(ReadCountedText(block, offset), u"MSG_18");
  EXPECT_EQ(ReadCountedText(block, offset), u"");
  EXPECT_EQ(ReadCountedText(block, offset), u"Tavrilon");
  EXPECT_EQ(offset, block.size());
  EXPECT_EQ(ReadCountedText(block, offset), std::nullopt);
  const std::u16string past{u'\x0005', u'a', u'b'};  // a count past the block
  offset = 0;
  EXPECT_EQ(ReadCountedText(past, offset), std::nullopt);
  EXPECT_EQ(offset, 0u);
}

TEST(ResourceText, LongTextsAreCutTo1023UnitsButSkippedWhole) {
  std::u16string block;
  AppendCountedText(block, std::u16string(2000, u'x'));
  AppendCountedText(block, u"next");
  std::size_t offset = 0;
  EXPECT_EQ(ReadCountedText(block, offset)->size(), kMaxResourceTextUnits);
  EXPECT_EQ(ReadCountedText(block, offset), u"next");
}

TEST(ResourceText, CountedTextLongerThanSixteenBitsIsCut) {
  std::u16string block;
  AppendCountedText(block, std::u16string(70000, u'y'));
  EXPECT_EQ(block.size(), 1u + 0xFFFF);
  EXPECT_EQ(block.front(), u'\xFFFF');
}

TEST(ResourceText, ZeroTerminatedTexts) {
  std::u16string block;
  AppendZeroTerminatedText(block, u"File");
  AppendZeroTerminatedText(block, std::u16string(u"Ed\0it", 5));  // ends at its own zero
  std::size_t offset = 0;
  EXPECT_EQ(ZeroTerminatedLength(block, 0), 4u);
  EXPECT_EQ(ReadZeroTerminatedText(block, offset), u"File");
  EXPECT_EQ(ReadZeroTerminatedText(block, offset), u"Ed");
  EXPECT_EQ(offset, block.size());
  EXPECT_EQ(ZeroTerminatedLength(block, 99), 0u);
  const std::u16string unended = u"abc";  // without its zero
  offset = 0;
  EXPECT_EQ(ZeroTerminatedLength(unended, 0), 3u);
  EXPECT_EQ(ReadZeroTerminatedText(unended, offset), std::nullopt);
  EXPECT_EQ(offset, 0u);
}

}  // namespace
