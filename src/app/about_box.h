#pragma once

#include <QString>

class QWidget;

namespace halvane {

// The program's version, as the build's project version gives it.
QString ProgramVersion();

// The About box's text: name, version, what it does and the licence.
QString AboutText();
void ShowAboutBox(QWidget* parent);

}  // namespace halvane
