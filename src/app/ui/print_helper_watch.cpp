#include "app/ui/print_helper_watch.h"

#include <QTimer>

#include "app/external_process.h"

namespace {

constexpr int kHelperPollMs = 100;

}  // namespace

void WatchPrintHelper(QObject& owner, CPrintHelperLauncher& helper,
                      std::function<void(int)> ended) {
  auto* timer = new QTimer(&owner);
  timer->setInterval(kHelperPollMs);
  QObject::connect(timer, &QTimer::timeout, &owner, [timer, &helper, ended = std::move(ended)] {
    const std::optional<int> code = helper.TakeExitCode();
    if (!code) return;
    timer->stop();
    timer->deleteLater();
    if (*code != -1) ended(*code);
  });
  timer->start();
}
