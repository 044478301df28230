#include "app/ui/splash_dlg.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "app/ui/pictures.h"

CSplashDlg::CSplashDlg(const QString& picturePath, const QString& applicationName)
    : QWidget(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint) {
  setObjectName(QString::number(kDialogId));
  setAttribute(Qt::WA_DeleteOnClose);
  QScreen* screen = QGuiApplication::primaryScreen();
  qreal dpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
  qreal dpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
  m_scaleX = static_cast<float>(dpiX / 96.0);
  m_scaleY = static_cast<float>(dpiY / 96.0);
  QPixmap picture =
      PictureFileOr(picturePath, [&applicationName] { return SplashPicture(applicationName); });
  m_picture = new QLabel(this);
  m_picture->setObjectName(QString::number(kPicture));
  m_picture->setPixmap(picture);
  m_picture->resize(picture.size());
  resize(picture.size().isEmpty() ? QSize(kSplashWidth, kSplashHeight) : picture.size());
  if (screen) move(screen->availableGeometry().center() - rect().center());
}

CSplashDlg::~CSplashDlg() { qApp->removeEventFilter(this); }

void CSplashDlg::ShowForStart() {
  qApp->installEventFilter(this);
  show();
  raise();
  QTimer::singleShot(kShowMs, this, &QWidget::close);
}

bool CSplashDlg::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
      qApp->removeEventFilter(this);
      QTimer::singleShot(0, this, &QWidget::close);
      break;
    default: break;
  }
  return QObject::eventFilter(watched, event);
}
