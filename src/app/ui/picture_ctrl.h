#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

#include <optional>

// A static window that shows a picture file (JPEG, PNG, BMP, GIF and the other formats
// Qt reads) fitted and placed by its options, with its text over it. Where the widget
// does not fill its background, the parent's shows through.
class CPictureCtrl : public QWidget {
  Q_OBJECT

 public:
  // How the text is laid out, as the static styles do.
  enum class ETextStyle { Left, Center, Right, LeftNoWordWrap };

  explicit CPictureCtrl(QWidget* parent = nullptr);

  // The placement bits (kPicture... of owner_draw_rules.h); 5 (centred both ways) at first.
  void SetOptions(int options);
  int Options() const { return m_options; }

  // Drops any previous picture and reads the file whole. False for a missing, empty or
  // unreadable file or an unknown format; the control then has no picture.
  bool LoadPictureFile(const QString& path);
  bool HasPicture() const { return !m_picture.isNull(); }
  // The picture's size in pixels; false and (0, 0) without a picture.
  bool GetPictureSize(int& width, int& height) const;
  // Where the picture is drawn now, in widget coordinates (empty without a picture).
  QRect PictureRect() const;

  void SetText(const QString& text);
  const QString& Text() const { return m_text; }
  void SetTextStyle(ETextStyle style, bool centerVertically = false);
  // The text font; none means the language font when the translator holds one, else
  // the widget's font.
  void SetTextFont(std::optional<QFont> font);
  QFont TextFont() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int TextFlags() const;

  int m_options;
  QImage m_picture;
  QString m_text;
  ETextStyle m_textStyle = ETextStyle::Left;
  bool m_centerVertically = false;
  std::optional<QFont> m_textFont;
};
