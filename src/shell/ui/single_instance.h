#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running copy per user. The first copy listens on a local server named after
// "TVR73Class" and the user; a later start hands its file (possibly none) over to it
// and ends, and the first copy comes to the front and opens the file.
class CSingleInstance : public QObject {
  Q_OBJECT

 public:
  // The server name of the running user: in the user's runtime folder when there is
  // one, so that no other user can take it.
  static QString DefaultServerName();

  explicit CSingleInstance(QString serverName = DefaultServerName(), QObject* parent = nullptr);
  ~CSingleInstance() override;

  // True when a running copy answered and took the file (an absolute path or empty).
  bool HandOver(const QString& file, int timeoutMs = 3000);
  // Starts listening for later starts. A name left behind by a copy that is gone is
  // taken over; a name that a live copy holds is left to it (false).
  bool Listen();
  // Stops listening (before a restart hands the name to the new copy).
  void StopListening();
  bool IsListening() const;

 signals:
  // A later start handed over its file (empty for none).
  void Activated(const QString& file);

 private:
  void OnNewConnection();

  QString m_serverName;
  QLocalServer* m_server = nullptr;
};
