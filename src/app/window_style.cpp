#include "app/window_style.h"

#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

#include "app/qt_convert.h"
#include "workflow/control_model.h"

namespace halvane {
namespace {

// Sets a role for the active and inactive groups and a dimmed one for
// disabled widgets, so that disabled controls stay recognisable.
void SetRole(QPalette& palette, QPalette::ColorRole role, QColor normal, QColor disabled) {
  palette.setColor(QPalette::Active, role, normal);
  palette.setColor(QPalette::Inactive, role, normal);
  palette.setColor(QPalette::Disabled, role, disabled);
}

}  // namespace

void UseWindowPalette(QWidget* window) {
  QPalette palette = window->palette();
  const QColor background = ToQColor(kWindowColor);
  SetRole(palette, QPalette::Window, background, background);
  SetRole(palette, QPalette::WindowText, QColor(235, 240, 248), QColor(140, 155, 180));
  SetRole(palette, QPalette::Base, Qt::white, QColor(225, 227, 231));
  SetRole(palette, QPalette::AlternateBase, QColor(236, 239, 244), QColor(225, 227, 231));
  SetRole(palette, QPalette::Text, Qt::black, QColor(130, 130, 130));
  SetRole(palette, QPalette::Button, QColor(224, 227, 233), QColor(200, 203, 209));
  SetRole(palette, QPalette::ButtonText, Qt::black, QColor(135, 138, 145));
  SetRole(palette, QPalette::Highlight, QColor(60, 100, 170), QColor(150, 160, 180));
  SetRole(palette, QPalette::HighlightedText, Qt::white, Qt::white);
  SetRole(palette, QPalette::ToolTipBase, QColor(255, 255, 225), QColor(255, 255, 225));
  SetRole(palette, QPalette::ToolTipText, Qt::black, Qt::black);
  window->setPalette(palette);
}

void UsePanelPalette(QWidget* panel) {
  QPalette palette = panel->palette();
  SetRole(palette, QPalette::WindowText, Qt::black, QColor(110, 112, 118));
  panel->setPalette(palette);
}

void UseSpinPalette(QWidget* spin) {
  UsePanelPalette(spin);
}

QFont FixedWidthFont() {
  return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

}  // namespace halvane
