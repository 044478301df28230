#pragma once

#include <mutex>
#include <shared_mutex>

// The application's settings (CDorneApp::Settings) are read on a worker thread too, while
// a design is read there (an undo step's, ahead of the undo). That reading holds this lock
// shared for the whole of its work; whoever changes the settings holds it exclusive for
// the change (never across work that might wait for the worker).
std::shared_mutex& AppSettingsMutex();
