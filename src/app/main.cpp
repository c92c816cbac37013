#include <QApplication>

#include "app/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ZR_Halvane"));
  QApplication::setStyle(QStringLiteral("Fusion"));
  halvane::MainWindow window;
  window.show();
  return QApplication::exec();
}
