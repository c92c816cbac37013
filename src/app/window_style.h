#pragma once

#include <QFont>

class QWidget;

namespace halvane {

// Light text on the window's dark blue, dark text in the fields.
void UseWindowPalette(QWidget* window);
// Dark text on a light step panel; the panel's own colour comes from the control model.
void UsePanelPalette(QWidget* panel);
// Dark arrows for spin boxes placed on the dark window background.
void UseSpinPalette(QWidget* spin);
// The font of the statistics and mouse readout labels.
QFont FixedWidthFont();

}  // namespace halvane
