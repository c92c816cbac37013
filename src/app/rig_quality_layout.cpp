// The rig quality options of the colour step: what the dome samples.
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include "app/main_window.h"

namespace halvane {

QBoxLayout* MainWindow::BuildColourOptions() {
  auto* row = new QHBoxLayout;
  row->setSpacing(6);
  row->addWidget(binder_.Bind(controls_.CheckLinearLight, "CheckLinearLight"));
  row->addWidget(binder_.Bind(controls_.CheckSunLight, "CheckSunLight"));
  row->addWidget(new QLabel(QString::fromStdString(controls_.SpinSunThreshold.caption)));
  QSpinBox* sunThreshold = binder_.Bind(controls_.SpinSunThreshold, "SpinSunThreshold");
  sunThreshold->setSpecialValueText("auto");  // 0: 50 times the mean luminance
  row->addWidget(sunThreshold);
  row->addStretch(1);
  return row;
}

}  // namespace halvane
