#include "app/ui/label_font_dlg.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/command_texts.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgCaption = 2590;
constexpr int kMsgFontColour = 2595;

}  // namespace

CLabelFontDlg::CLabelFontDlg(const QFont& font, const QColor& color, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("label_font"));
  setWindowTitle(StringQText(kMsgCaption).remove(QStringLiteral("...")));
  // Qt's chooser lives inside this dialog, without buttons of its own.
  m_fonts = new QFontDialog(font, this);
  m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
  m_fonts->setWindowFlags(Qt::Widget);
  auto* colorLabel = new QLabel(MessageText(kMsgFontColour), this);
  m_colorButton = new QPushButton(this);
  m_colorButton->setObjectName(QStringLiteral("label_font_colour"));
  colorLabel->setBuddy(m_colorButton);
  auto* colorRow = new QHBoxLayout;
  colorRow->addWidget(colorLabel);
  colorRow->addWidget(m_colorButton);
  colorRow->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_fonts);
  layout->addLayout(colorRow);
  layout->addWidget(MakeOkCancelButtons(this));
  connect(m_colorButton, &QPushButton::clicked, this, &CLabelFontDlg::OnColorButton);
  SetColor(color);
}

QFont CLabelFontDlg::SelectedFont() const { return m_fonts->currentFont(); }

void CLabelFontDlg::SetColor(const QColor& color) {
  m_color = color;
  QPixmap swatch(48, 16);
  swatch.fill(color);
  m_colorButton->setIcon(QIcon(swatch));
  m_colorButton->setIconSize(swatch.size());
}

void CLabelFontDlg::OnColorButton() {
  QColor chosen = QColorDialog::getColor(m_color, this);
  if (chosen.isValid()) SetColor(chosen);
}
