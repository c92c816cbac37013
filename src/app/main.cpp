#include <QApplication>

#include "app/form_main.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ZR_Halvane"));
  QApplication::setStyle(QStringLiteral("Fusion"));
  halvane::TForm_main Form_main;
  Form_main.show();
  return QApplication::exec();
}
