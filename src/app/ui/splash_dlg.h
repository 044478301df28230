#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QLabel;

// The splash window (169): the program's picture, topmost and centred, while the
// program starts. It closes after 2000 ms or at the first key or mouse press, whichever
// comes first; the press itself still goes to its window.
class CSplashDlg : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 169;
  static constexpr int kPicture = 1653;
  static constexpr int kShowMs = 2000;

  // picturePath is "splash.jpg" of the program folder; the drawn picture stands in
  // when it cannot be read.
  CSplashDlg(const QString& picturePath, const QString& applicationName);
  ~CSplashDlg() override;

  // Shows the window and starts the timer that closes it.
  void ShowForStart();
  // The factors by which the splash's size on this screen differs from its design
  // size (446 by 345 pixels at 96 dots per inch).
  float ScaleX() const { return m_scaleX; }
  float ScaleY() const { return m_scaleY; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* m_picture = nullptr;
  float m_scaleX = 1.0f;
  float m_scaleY = 1.0f;
};
