// One QApplication for every window test program, made before the first test runs.
// Linked into each test program declared with QT (see cmake/TvrTargets.cmake).

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace {

class QtApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    if (QApplication::instance()) return;
    // Started by hand without a display, the tests still run off screen.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tvr_ui_tests";
    static char* argv[] = {name, nullptr};
    m_application = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { m_application.reset(); }

 private:
  std::unique_ptr<QApplication> m_application;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
