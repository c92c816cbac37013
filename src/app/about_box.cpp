#include "app/about_box.h"

#include <QMessageBox>

namespace halvane {

QString ProgramVersion() {
  return QStringLiteral(HALVANE_VERSION);
}

QString AboutText() {
  return QStringLiteral(
             "<h3>Halvane %1</h3>"
             "<p>Turns a latitude-longitude HDR image into a rig of coloured lights "
             "on a dome and writes it as scripts.</p>"
             "<p>Released under the MIT licence.</p>")
      .arg(ProgramVersion());
}

void ShowAboutBox(QWidget* parent) {
  QMessageBox::about(parent, QStringLiteral("About Halvane"), AboutText());
}

}  // namespace halvane
