#pragma once

#include <functional>
#include <string>
#include <vector>

#include "workflow/controls.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QSpinBox;
class QStatusBar;
class QTableWidget;
class QWidget;

namespace halvane {

class MaskedField;

// Creates the widgets of the control model's controls, each named after its control,
// and keeps them in step with the control model: a refresh shows the control model's values with
// the widgets' signals blocked, so that it never calls a handler; a user's
// edit writes the control model and then runs the control's handler, if it has one.
class ControlBinder {
 public:
  using Handler = std::function<void()>;

  // How often a widget is refreshed: Cheap ones also while a long step lets
  // events run, the others after each step.
  enum class Cost { Cheap, Full };

  // `handlersAllowed` tells whether a handler may run now. When it may not,
  // an edit of a control with a handler is refused: the control model keeps its value
  // and the widget shows it again.
  explicit ControlBinder(std::function<bool()> handlersAllowed);

  QPushButton* Bind(Button& model, const char* name, Handler onClick);
  QCheckBox* Bind(CheckBox& model, const char* name, Handler onChange = {});
  QSpinBox* Bind(SpinEdit& model, const char* name, Handler onChange = {});
  QSlider* Bind(TrackBar& model, const char* name, Handler onChange = {});
  MaskedField* Bind(MaskedEdit& model, const char* name);
  QLineEdit* Bind(TextEdit& model, const char* name);  // read-only
  QLabel* Bind(Label& model, const char* name);
  QFrame* Bind(ColorPanel& model, const char* name);
  QFrame* Bind(StepPanel& model, const char* name);
  QGroupBox* Bind(RadioGroup& model, const char* name);
  QProgressBar* Bind(Gauge& model, const char* name);
  QPlainTextEdit* Bind(Memo& model, const char* name);
  QListWidget* Bind(ListBox& model, const char* name);
  QTableWidget* Bind(StringGrid& model, const char* name, Handler onClick);
  // Names `bar` and fills it with one label per panel, named name_Panel0...
  void Bind(StatusBar& model, const char* name, QStatusBar* bar);
  // Shows or hides `widget` as the model says.
  void BindVisibility(const ImageControl& model, QWidget* widget);

  // A caption beside a control; not a control of its own.
  static QLabel* Caption(const std::string& text);

  // Any other refresh the window needs.
  void OnRefresh(Cost cost, std::function<void()> refresh);

  void RefreshCheap();
  void RefreshAll();

 private:
  void Add(Cost cost, std::function<void()> refresh);
  // A user's edit: `write` stores the widget's value into the control model.
  void Edited(const std::function<void()>& write, const Handler& handler,
              const std::function<void()>& refresh);

  std::function<bool()> handlersAllowed_;
  std::vector<std::function<void()>> cheap_;
  std::vector<std::function<void()>> full_;
};

}  // namespace halvane
