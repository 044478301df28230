#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QPushButton;

// The font of a label together with its colour, as the desktop's font choice offered
// both: Qt's font chooser, with a colour button under it that shows the colour and
// opens the colour dialog. The button is named "label_font_colour".
class CLabelFontDlg : public QDialog {
  Q_OBJECT

 public:
  CLabelFontDlg(const QFont& font, const QColor& color, QWidget* parent = nullptr);

  QFont SelectedFont() const;
  QColor SelectedColor() const { return m_color; }
  void SetColor(const QColor& color);

 private:
  void OnColorButton();

  QFontDialog* m_fonts = nullptr;
  QPushButton* m_colorButton = nullptr;
  QColor m_color;
};
