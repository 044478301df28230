#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The description of a bitmap as the element images keep it.
struct CBitmapDescription {
  int type = 0;
  int width = 0;
  int height = 0;
  int bytesPerRow = 0;
  int planes = 0;
  int bitsPerPixel = 0;
  friend bool operator==(const CBitmapDescription&, const CBitmapDescription&) = default;
};

// An element image: a named bitmap with its description and a copy of its pixel
// bytes. This is the data half; the window side loads the picture of the name and
// hands it over with SetPicture. An image whose picture was never set, or was refused,
// is empty (no description, no pixels).
class CImage {
 public:
  // Larger pictures are refused: element images are small icons.
  static constexpr int kMaxSide = 8192;

  explicit CImage(std::string resourceName);

  // Takes the picture when the description is sound (positive sides up to kMaxSide,
  // 1 plane or more, 1..32 bits per pixel, rows wide enough for the width) and the
  // pixels are exactly bytesPerRow x height bytes; otherwise the image becomes empty
  // and false is returned.
  bool SetPicture(const CBitmapDescription& description, std::vector<std::uint8_t> pixels);

  // The integer value of a name made only of digits, 0 for a text name.
  int Number() const { return m_number; }
  const std::string& ResourceName() const { return m_resourceName; }
  const CBitmapDescription& Description() const { return m_description; }
  const std::vector<std::uint8_t>& Pixels() const { return m_pixels; }
  bool IsEmpty() const { return m_pixels.empty(); }

 private:
  int m_number = 0;
  std::string m_resourceName;
  CBitmapDescription m_description;
  std::vector<std::uint8_t> m_pixels;
};
