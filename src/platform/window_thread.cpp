#include "platform/window_thread.h"

#include <atomic>
#include <thread>

namespace tvr::platform {
namespace {

// Set while the process starts, on its first thread, so that a program that never records
// one (a test, a tool) still has it.
std::atomic<std::thread::id> g_windowThread = std::this_thread::get_id();

}  // namespace

void RecordWindowThread() { g_windowThread = std::this_thread::get_id(); }

bool IsWindowThread() { return g_windowThread.load() == std::this_thread::get_id(); }

}  // namespace tvr::platform
