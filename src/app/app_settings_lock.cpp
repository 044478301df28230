#include "app/app_settings_lock.h"

std::shared_mutex& AppSettingsMutex() {
  static std::shared_mutex mutex;
  return mutex;
}
