#include "shell/ui/single_instance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>

#include <future>
#include <unistd.h>

#include "shell_test_support.h"

namespace {

QString UniqueName() {
  static int counter = 0;
  return QStringLiteral("tvr-test-%1-%2").arg(::getpid()).arg(++counter);
}

// Hands over from another thread while this one runs the first copy's event loop.
bool HandOverFromAnotherStart(const QString& name, const QString& file) {
  std::future<bool> result = std::async(std::launch::async, [name, file] {
    CSingleInstance second(name);
    return second.HandOver(file, 5000);
  });
  QElapsedTimer waited;
  waited.start();
  while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready &&
         waited.elapsed() < 10000)
    ProcessEvents();
  return result.get();
}

TEST(SingleInstanceTest, WithoutARunningCopyNothingIsHandedOver) {
  CSingleInstance alone(UniqueName());
  EXPECT_FALSE(alone.HandOver("/a.run", 500));
}

TEST(SingleInstanceTest, ALiveNameIsLeftToItsCopyAndAStaleOneIsTaken) {
  QString name = UniqueName();
  CSingleInstance first(name);
  ASSERT_TRUE(first.Listen());
  CSingleInstance second(name);  // a start with /nsplash while the first runs
  EXPECT_FALSE(second.Listen());
  EXPECT_TRUE(first.IsListening());
  first.StopListening();
  EXPECT_TRUE(second.Listen());  // the name is free again
  second.StopListening();
}

TEST(SingleInstanceTest, ANameLeftBehindIsTakenOverAndLaterStartsHandTheirFilesToTheFirst) {
  QString name = UniqueName();
  QString path = QDir::tempPath() + QLatin1Char('/') + name;
  QFile stale(path);
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));  // what a crashed copy leaves
  stale.close();
  CSingleInstance first(name);
  EXPECT_TRUE(first.Listen());
  QStringList received;
  QObject::connect(&first, &CSingleInstance::Activated,
                   [&received](const QString& file) { received << file; });
  EXPECT_TRUE(HandOverFromAnotherStart(name, "/home/u/a b.run"));
  EXPECT_TRUE(HandOverFromAnotherStart(name, ""));
  ProcessEvents();
  EXPECT_EQ(received, (QStringList{"/home/u/a b.run", ""}));
}

}  // namespace
