// The window tests need a QApplication; they run without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app/runtime_folder.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  halvane::EnsureRuntimeFolder();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ZR_Halvane"));
  // The window's settings go to a test location, never the user's. Each test process has
  // its own, since ctest runs the window tests side by side and each one that closes a
  // window stores its geometry.
  QStandardPaths::setTestModeEnabled(true);
  const QTemporaryDir settingsFolder;
  if (!settingsFolder.isValid()) return 2;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
