#pragma once

#include "platform/log_font.h"
#include "model/annotation/annotation.h"

#include <array>
#include <cstdint>
#include <string>

// An annotation with its own text style: free texts, pictures, the title block and user
// dimensions between two elements (kinds 6..9).
class CAnnotationLabel : public CAnnotation {
 public:
  // Ends of a user dimension as stored: box and point codes of each end.
  struct CDimensionCodes {
    std::int32_t firstBox = 0;
    std::int32_t firstPoint = 0;
    std::int32_t secondBox = 0;
    std::int32_t secondPoint = 0;
  };

  // The style of the kind from the application's label slots (flag 0x100 cleared); a
  // user dimension reads "<Length>"; a picture has both scales at 100.
  explicit CAnnotationLabel(int kind);

  bool IsLabel() const override { return true; }

  std::uint32_t GetOpaque() const { return m_opaque; }
  void SetOpaque(std::uint32_t opaque) { m_opaque = opaque; }
  // The font as its stored text (kept as read, so that a file is written back as it was).
  const std::string& GetFontText() const { return m_fontText; }
  void SetFontText(std::string text) { m_fontText = std::move(text); }
  CLogFont GetFont() const;
  void SetFont(const CLogFont& font);
  // Font colour and background; a picture keeps its horizontal and vertical scale here.
  std::uint32_t GetFontColor() const { return m_fontColor; }
  void SetFontColor(std::uint32_t color) { m_fontColor = color; }
  std::uint32_t GetBackground() const { return m_background; }
  void SetBackground(std::uint32_t color) { m_background = color; }
  std::int32_t GetCachedFontHeight() const { return m_cachedFontHeight; }
  void SetCachedFontHeight(std::int32_t height) { m_cachedFontHeight = height; }
  // Ends of a user dimension (null when not set).
  CDev* GetEnd(int index) const { return m_ends.at(static_cast<std::size_t>(index)); }
  void SetEnd(int index, CDev* element) { m_ends.at(static_cast<std::size_t>(index)) = element; }
  const CDimensionCodes& GetDimensionCodes() const { return m_codes; }
  void SetDimensionCodes(const CDimensionCodes& codes) { m_codes = codes; }

  // The label part of the record (after the base record): opaque, font text, the two
  // colours. Kind 9 goes on in CAnnotationArchive, which knows the runs.
  void WriteLabel(CArchiveWriter& archive) const;
  void ReadLabel(CArchiveReader& archive);

 private:
  std::uint32_t m_opaque = 0;
  std::string m_fontText;
  std::uint32_t m_fontColor = 0;
  std::uint32_t m_background = 0;
  std::int32_t m_cachedFontHeight = 0;
  std::array<CDev*, 2> m_ends{};
  CDimensionCodes m_codes;
};
