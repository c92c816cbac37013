// The window tests need a QApplication; they run without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>

#include "app/runtime_folder.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  halvane::EnsureRuntimeFolder();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ZR_Halvane"));
  // The window's settings go to a test location, emptied at every run, never the user's.
  QStandardPaths::setTestModeEnabled(true);
  QSettings(QStringLiteral("halvane"), QStringLiteral("halvane")).clear();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
