#include <QApplication>

#include "app/main_window.h"
#include "app/runtime_folder.h"

int main(int argc, char** argv) {
  halvane::EnsureRuntimeFolder();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ZR_Halvane"));
  QApplication::setStyle(QStringLiteral("Fusion"));
  halvane::MainWindow window;
  window.show();
  return QApplication::exec();
}
