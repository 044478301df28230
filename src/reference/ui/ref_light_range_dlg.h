#pragma once

#include <QColor>
#include <QDialog>
#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

// A drawn arrow pointing down at a range button: a shaded shaft and a head.
class CLightArrow : public QWidget {
 public:
  CLightArrow(const QColor& colour, QWidget* parent);
  QSize sizeHint() const override { return {48, 64}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor m_colour;
};

// The choice of the busbar range of a lighting run: QFP, QYA or QYB by one of three
// buttons. Modal, it adds a line of the chosen range; embedded, it is the last step of
// the lighting calculation (QFP is not offered there) and tells its owner through
// Chosen and Back instead of closing.
class CLightRangeDlg : public QDialog {
  Q_OBJECT

 public:
  enum Choice { kNone = -1, kQfp = 0, kQya = 1, kQyb = 2 };

  CLightRangeDlg(bool embedded, QWidget* parent = nullptr);

  int ChoiceMade() const { return m_choice; }
  void SetOffered(bool qfp, bool qya, bool qyb);
  // The range of a button text ("QFP", "QYA", "QYB" as its first three characters);
  // any other text leaves the choice as it was. Finishes once a range is chosen.
  void ChooseByText(const QString& text);
  QPushButton* CancelButton() const { return m_cancel; }

 signals:
  void Chosen();
  void Back();

 public slots:
  void accept() override;
  void reject() override;

 private:
  QWidget* RangeColumn(int labelId, int labelMessage, int arrowId, int buttonId, const char* text);

  bool m_embedded;
  int m_choice = kNone;
  QColor m_labelColour{0, 96, 160};
  QLabel* m_title = nullptr;
  std::array<QPushButton*, 3> m_ranges{};  // QFP, QYA, QYB
  QPushButton* m_cancel = nullptr;
};
