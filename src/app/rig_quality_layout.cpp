// The rig quality options of the colour step: what the dome samples.
#include <QCheckBox>
#include <QHBoxLayout>

#include "app/main_window.h"

namespace halvane {

QBoxLayout* MainWindow::BuildColourOptions() {
  auto* row = new QHBoxLayout;
  row->setSpacing(6);
  row->addWidget(binder_.Bind(controls_.CheckLinearLight, "CheckLinearLight"));
  row->addStretch(1);
  return row;
}

}  // namespace halvane
