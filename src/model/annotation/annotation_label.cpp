#include "model/annotation/annotation_label.h"

#include "platform/text_conversions.h"
#include "model/run/run_environment.h"
#include "platform/archive.h"

namespace {

constexpr std::uint32_t kFullScale = 100;

}  // namespace

CAnnotationLabel::CAnnotationLabel(int kind) : CAnnotation(kind) {
  if (kind == kImage) {
    m_fontColor = kFullScale;
    m_background = kFullScale;
    return;
  }
  if (kind < 0 || kind >= kKindCount) return;
  const CLabelStyle& style =
      CRunEnvironment::Instance().Settings().labels[static_cast<std::size_t>(kind)];
  m_opaque = style.opaque ? 1 : 0;
  m_fontText = LogFontToText(style.font);
  m_fontColor = style.fontColor.ToColorRef();
  m_background = style.background.ToColorRef();
  SetFlags(static_cast<std::uint32_t>(style.flags) & ~kFlagAttached);
  if (kind == kDistance) SetText("<Length>");
}

CLogFont CAnnotationLabel::GetFont() const { return TextToLogFont(m_fontText); }

void CAnnotationLabel::SetFont(const CLogFont& font) { m_fontText = LogFontToText(font); }

void CAnnotationLabel::WriteLabel(CArchiveWriter& archive) const {
  archive.WriteDword(m_opaque);
  archive.WriteString(m_fontText);
  archive.WriteDword(m_fontColor);
  archive.WriteDword(m_background);
}

void CAnnotationLabel::ReadLabel(CArchiveReader& archive) {
  m_opaque = archive.ReadDword();
  m_fontText = archive.ReadString();
  m_fontColor = archive.ReadDword();
  m_background = archive.ReadDword();
}
