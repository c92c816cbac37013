#include "app/main_window.h"

#include <exception>

#include <QCloseEvent>

#include "app/picture_view.h"
#include "app/qt_host.h"
#include "workflow/workflow.h"

namespace halvane {

MainWindow::MainWindow(QWidget* parent) : MainWindow(nullptr, parent) {}

MainWindow::MainWindow(std::unique_ptr<Host> host, QWidget* parent)
    : QMainWindow(parent),
      session_(MakeSession()),
      host_(host ? std::move(host) : MakeQtHost()),
      binder_([this] { return stepsRunning_ == 0; }) {
  setObjectName(QStringLiteral("Form_main"));
  BuildWindow();
  StartSession(*session_, controls_, *host_);
  RefreshAll();
}

MainWindow::~MainWindow() = default;

std::unique_ptr<Host> MainWindow::MakeQtHost() {
  QtHost::Callbacks callbacks;
  callbacks.beforeEvents = [this] { RefreshCheap(); };
  callbacks.previewChanged = [this] {
    if (preview_) preview_->update();
  };
  return std::make_unique<QtHost>(this, std::move(callbacks));
}

// Runs before every host event pass; the preview repaints only through
// PreviewChanged, so it is not touched here.
void MainWindow::RefreshCheap() {
  binder_.RefreshCheap();
  if (viewSettings_) viewSettings_->setEnabled(stepsRunning_ == 0);
}

void MainWindow::RefreshAll() {
  const QString title = QString::fromStdString(controls_.Caption);
  if (windowTitle() != title) setWindowTitle(title);
  binder_.RefreshAll();
  if (viewSettings_) viewSettings_->setEnabled(stepsRunning_ == 0);
  if (preview_) preview_->update();
}

bool MainWindow::RunStep(const std::function<void()>& step) {
  if (stepsRunning_ > 0) return false;
  ++stepsRunning_;
  try {
    step();
  } catch (const std::exception& e) {
    ReportStepFailure(e.what());
  }
  --stepsRunning_;
  RefreshAll();
  if (closePending_) {
    closePending_ = false;
    close();
  }
  return true;
}

// A step that stops on an error would leave the step controls disabled for
// good; the user is told and may go on.
void MainWindow::ReportStepFailure(const char* what) {
  SetBusy(controls_, false);
  host_->ShowMessage(std::string("The step stopped on an error: ") + what);
}

// A close request during a step sets the abort flag and waits: the session
// must outlive the step, so the window closes once the step has returned.
void MainWindow::closeEvent(QCloseEvent* event) {
  const bool mayClose = RequestClose(*session_);
  if (!mayClose) {
    event->ignore();
    return;
  }
  if (stepsRunning_ > 0) {
    closePending_ = true;
    event->ignore();
    return;
  }
  ReleasePreview(*session_);
  event->accept();
}

}  // namespace halvane
