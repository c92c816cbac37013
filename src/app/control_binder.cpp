#include "app/control_binder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

#include "app/masked_field.h"
#include "app/qt_convert.h"

namespace halvane {
namespace {

void SetTextIfChanged(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

void SetBold(QWidget* widget, bool bold) {
  QFont font = widget->font();
  if (font.bold() == bold) return;
  font.setBold(bold);
  widget->setFont(font);
}

void SetBackground(QWidget* widget, Rgb color) {
  const QColor wanted = ToQColor(color);
  if (widget->autoFillBackground() && widget->palette().color(QPalette::Window) == wanted) return;
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, wanted);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace

ControlBinder::ControlBinder(std::function<bool()> handlersAllowed)
    : handlersAllowed_(std::move(handlersAllowed)) {}

void ControlBinder::Add(Cost cost, std::function<void()> refresh) {
  refresh();
  (cost == Cost::Cheap ? cheap_ : full_).push_back(std::move(refresh));
}

void ControlBinder::OnRefresh(Cost cost, std::function<void()> refresh) {
  Add(cost, std::move(refresh));
}

void ControlBinder::RefreshCheap() {
  for (const auto& refresh : cheap_) refresh();
}

void ControlBinder::RefreshAll() {
  RefreshCheap();
  for (const auto& refresh : full_) refresh();
}

void ControlBinder::Edited(const std::function<void()>& write, const Handler& handler,
                           const std::function<void()>& refresh) {
  if (handler && !handlersAllowed_()) {
    refresh();
    return;
  }
  write();
  if (handler) handler();
}

QLabel* ControlBinder::Caption(const std::string& text) {
  return new QLabel(ToQt(text));
}

QPushButton* ControlBinder::Bind(Button& model, const char* name, Handler onClick) {
  auto* button = new QPushButton;
  button->setObjectName(name);
  Add(Cost::Cheap, [button, &model] {
    if (button->text() != ToQt(model.caption)) button->setText(ToQt(model.caption));
    button->setEnabled(model.enabled);
  });
  QObject::connect(button, &QPushButton::clicked, button, [onClick = std::move(onClick)] {
    if (onClick) onClick();
  });
  return button;
}

QCheckBox* ControlBinder::Bind(CheckBox& model, const char* name, Handler onChange) {
  auto* box = new QCheckBox;
  box->setObjectName(name);
  auto refresh = [box, &model] {
    const QSignalBlocker block(box);
    if (box->text() != ToQt(model.caption)) box->setText(ToQt(model.caption));
    box->setChecked(model.checked);
    box->setHidden(!model.visible);
  };
  Add(Cost::Full, refresh);
  QObject::connect(box, &QCheckBox::toggled, box,
                   [this, &model, onChange = std::move(onChange), refresh](bool on) {
                     Edited([&] { model.checked = on; }, onChange, refresh);
                   });
  return box;
}

QSpinBox* ControlBinder::Bind(SpinEdit& model, const char* name, Handler onChange) {
  auto* spin = new QSpinBox;
  spin->setObjectName(name);
  auto refresh = [spin, &model] {
    const QSignalBlocker block(spin);
    spin->setRange(model.minValue, model.maxValue);
    spin->setValue(model.value);
  };
  Add(Cost::Full, refresh);
  QObject::connect(spin, &QSpinBox::valueChanged, spin,
                   [this, &model, onChange = std::move(onChange), refresh](int value) {
                     Edited([&] { model.value = value; }, onChange, refresh);
                   });
  return spin;
}

QSlider* ControlBinder::Bind(TrackBar& model, const char* name, Handler onChange) {
  auto* track = new QSlider(Qt::Horizontal);
  track->setObjectName(name);
  track->setTickPosition(QSlider::TicksBelow);
  track->setPageStep(1);
  auto refresh = [track, &model] {
    const QSignalBlocker block(track);
    track->setRange(model.minValue, model.maxValue);
    track->setValue(model.position);
  };
  Add(Cost::Full, refresh);
  QObject::connect(track, &QSlider::valueChanged, track,
                   [this, &model, onChange = std::move(onChange), refresh](int position) {
                     Edited([&] { model.position = position; }, onChange, refresh);
                   });
  return track;
}

MaskedField* ControlBinder::Bind(MaskedEdit& model, const char* name) {
  auto* field = new MaskedField;
  field->setObjectName(name);
  auto refresh = [field, &model] {
    const QSignalBlocker block(field);
    field->SetFieldText(ToQt(model.text));
  };
  Add(Cost::Full, refresh);
  QObject::connect(field, &MaskedField::FieldEdited, field,
                   [this, &model, refresh](const QString& text) {
                     Edited([&] { model.text = text.toStdString(); }, {}, refresh);
                   });
  return field;
}

QLineEdit* ControlBinder::Bind(TextEdit& model, const char* name) {
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  edit->setReadOnly(true);
  Add(Cost::Full, [edit, &model] {
    if (edit->text() != ToQt(model.text)) edit->setText(ToQt(model.text));
  });
  return edit;
}

QLabel* ControlBinder::Bind(Label& model, const char* name) {
  auto* label = new QLabel;
  label->setObjectName(name);
  Add(Cost::Cheap, [label, &model] {
    SetTextIfChanged(label, ToQt(model.caption));
    SetBold(label, model.bold);
  });
  return label;
}

QFrame* ControlBinder::Bind(ColorPanel& model, const char* name) {
  auto* panel = new QFrame;
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  Add(Cost::Cheap, [panel, &model] { SetBackground(panel, model.color); });
  return panel;
}

QFrame* ControlBinder::Bind(StepPanel& model, const char* name) {
  auto* panel = new QFrame;
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  Add(Cost::Cheap, [panel, &model] { SetBackground(panel, model.color); });
  return panel;
}

QGroupBox* ControlBinder::Bind(RadioGroup& model, const char* name) {
  auto* group = new QGroupBox;
  group->setObjectName(name);
  auto* layout = new QHBoxLayout(group);
  auto* buttons = new QButtonGroup(group);
  for (std::size_t i = 0; i < model.items.size(); ++i) {
    auto* radio = new QRadioButton(ToQt(model.items[i]));
    radio->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
    buttons->addButton(radio, static_cast<int>(i));
    layout->addWidget(radio);
  }
  auto refresh = [buttons, &model] {
    const QSignalBlocker block(buttons);
    QAbstractButton* wanted = buttons->button(model.itemIndex);
    if (wanted) {
      wanted->setChecked(true);
    } else if (QAbstractButton* checked = buttons->checkedButton()) {
      // An exclusive group cannot uncheck its last button.
      buttons->setExclusive(false);
      checked->setChecked(false);
      buttons->setExclusive(true);
    }
  };
  Add(Cost::Cheap, refresh);
  QObject::connect(buttons, &QButtonGroup::idClicked, group, [this, &model, refresh](int id) {
    Edited([&] { model.itemIndex = id; }, {}, refresh);
  });
  return group;
}

QProgressBar* ControlBinder::Bind(Gauge& model, const char* name) {
  auto* gauge = new QProgressBar;
  gauge->setObjectName(name);
  gauge->setRange(0, 100);
  Add(Cost::Cheap, [gauge, &model] {
    if (gauge->value() != model.progress) gauge->setValue(model.progress);
  });
  return gauge;
}

void ControlBinder::BindVisibility(const ImageControl& model, QWidget* widget) {
  Add(Cost::Cheap, [widget, &model] {
    if (widget->isHidden() == model.visible) widget->setHidden(!model.visible);
  });
}

}  // namespace halvane
