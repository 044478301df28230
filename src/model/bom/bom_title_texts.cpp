#include "model/bom/bom_title_texts.h"

#include "app/message_text.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_texts.h"

namespace {

thread_local const CBOMTitleTexts* t_titlesInUse = nullptr;

}  // namespace

std::string BOMTitleText(int number) {
  const CBOMTitleTexts* texts = CBOMTitleTexts::InUse();
  const std::string* text = texts != nullptr ? texts->Find(number) : nullptr;
  return text != nullptr ? *text : StringText(number);
}

CBOMTitleTexts::CBOMTitleTexts() {
  m_texts.emplace_back(kMsgBOMTitleItem, StringText(kMsgBOMTitleItem));
  for (int kind = 0; kind <= kBOMKindNone; ++kind) {
    const int number = BOMDefaultTitleNumber(kind);
    if (number != 0) m_texts.emplace_back(number, StringText(number));
  }
}

const CBOMTitleTexts* CBOMTitleTexts::InUse() { return t_titlesInUse; }

CBOMTitleTexts::CUse::CUse(const CBOMTitleTexts* texts) : m_previous(t_titlesInUse) {
  t_titlesInUse = texts;
}

CBOMTitleTexts::CUse::~CUse() { t_titlesInUse = m_previous; }

const std::string* CBOMTitleTexts::Find(int number) const {
  for (const auto& [known, text] : m_texts) {
    if (known == number) return &text;
  }
  return nullptr;
}
