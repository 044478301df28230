#include "shell/ui/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include "app/startup.h"

namespace {

constexpr qint64 kMaxMessage = 64 * 1024;

}  // namespace

QString CSingleInstance::DefaultServerName() {
  QString name = QString::fromStdString(SingleInstanceName());
  QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return QDir(runtime).filePath(name);
  return name;
}

CSingleInstance::CSingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_serverName(std::move(serverName)) {}

CSingleInstance::~CSingleInstance() { StopListening(); }

bool CSingleInstance::HandOver(const QString& file, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(m_serverName);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(file.toUtf8() + '\n');
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(timeoutMs)) return false;
  }
  return socket.readLine().trimmed() == "OK";
}

bool CSingleInstance::Listen() {
  if (IsListening()) return true;
  // A live copy keeps its name. The check comes first because a server with access
  // options is put in place by renaming, which would take the name from a live copy.
  QLocalSocket probe;
  probe.connectToServer(m_serverName);
  bool alive = probe.waitForConnected(500);
  probe.abort();
  if (alive) return false;
  QLocalServer::removeServer(m_serverName);  // left behind by a copy that is gone
  m_server = new QLocalServer(this);
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
  if (m_server->listen(m_serverName)) return true;
  delete m_server;
  m_server = nullptr;
  return false;
}

void CSingleInstance::StopListening() {
  if (!m_server) return;
  m_server->close();
  delete m_server;
  m_server = nullptr;
}

bool CSingleInstance::IsListening() const { return m_server && m_server->isListening(); }

void CSingleInstance::OnNewConnection() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (socket->bytesAvailable() > kMaxMessage) {  // not one of ours
        socket->abort();
        return;
      }
      if (!socket->canReadLine()) return;
      QString file = QString::fromUtf8(socket->readLine()).trimmed();
      socket->write("OK\n");
      socket->flush();
      socket->disconnectFromServer();
      emit Activated(file);
    });
  }
}
