#include "app/main_window.h"

#include <exception>

#include <QAction>
#include <QCloseEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include "app/about_box.h"
#include "app/given_file_host.h"
#include "app/picture_view.h"
#include "app/qt_host.h"
#include "app/window_settings.h"
#include "image/image_file_types.h"
#include "workflow/load_image.h"
#include "workflow/rig_error_display.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

// The one local image file being dragged, or empty.
QString DraggedImage(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasUrls() || mime->urls().size() != 1) return {};
  const QUrl& url = mime->urls().constFirst();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  return ImageFileTypeOf(path.toStdString()) != nullptr ? path : QString();
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : MainWindow(nullptr, parent) {}

MainWindow::MainWindow(std::unique_ptr<Host> host, QWidget* parent)
    : QMainWindow(parent),
      session_(MakeSession()),
      host_(host ? std::move(host) : MakeQtHost()),
      binder_([this] { return stepsRunning_ == 0; }) {
  setObjectName(QStringLiteral("Form_main"));
  setAcceptDrops(true);
  BuildWindow();
  AddShortcuts();
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
  return RunAction([&step] {
    step();
    return StepOutcome::Done();
  });
}

bool MainWindow::RunAction(const std::function<StepOutcome()>& action,
                           const QString& whileRunning) {
  if (stepsRunning_ > 0) {
    ShowHint(busyHint_);
    return false;
  }
  busyHint_ = whileRunning;
  ShowHint({});
  ++stepsRunning_;
  StepOutcome outcome;
  try {
    outcome = action();
  } catch (const std::exception& e) {
    ReportStepFailure(e.what());
    outcome = StepOutcome::Failed(e.what());
  }
  --stepsRunning_;
  ShowHint({});  // a refusal shown while the step ran is over
  ShowOutcome(outcome);
  RefreshAll();
  if (closePending_) {
    closePending_ = false;
    close();
  }
  return true;
}

// The workflow stays silent when a step cannot run; the hint tells the user
// why nothing happened. A completed export or finetuning tells what it did.
void MainWindow::ShowOutcome(const StepOutcome& outcome) {
  if (outcome.status == StepStatus::kNotRun) ShowHint(QString::fromStdString(outcome.message));
  if (outcome.status != StepStatus::kDone || outcome.message.empty()) return;
  AddLogLine(controls_, *host_, ":  " + outcome.message);
  SetStatus(controls_, 0, outcome.message);
}

// A step that made a rig (or changed it) shows its outcome first, then how
// well the rig reproduces the image's light.
StepOutcome MainWindow::WithRigError(StepOutcome outcome) {
  if (outcome.status != StepStatus::kDone && outcome.status != StepStatus::kAborted) return outcome;
  ShowOutcome(outcome);
  ShowRigError(*session_, controls_, *host_);
  outcome.message.clear();
  return outcome;
}

void MainWindow::ShowHint(const QString& text) {
  if (statusHint_ == nullptr) return;
  statusHint_->setText(text);
  statusHint_->setVisible(!text.isEmpty());
}

StepOutcome MainWindow::LoadImageWith(Host& host) {
  StepOutcome outcome = LoadImage(*session_, controls_, host);
  if (outcome.done()) RememberImageFile(QString::fromStdString(controls_.EditImagename.text));
  return outcome;
}

void MainWindow::LoadFile(const QString& path) {
  RunAction([this, &path] {
    GivenFileHost given(*host_, path.toStdString());
    return LoadImageWith(given);
  });
}

// Ctrl+O as the load button, Ctrl+E as the Maya export button, F1 the About box.
void MainWindow::AddShortcuts() {
  const auto add = [this](const QKeySequence& keys, void (MainWindow::*handler)()) {
    auto* action = new QAction(this);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, handler);
    addAction(action);
  };
  add(QKeySequence::Open, &MainWindow::OnLoadImage);
  add(QKeySequence(Qt::CTRL | Qt::Key_E), &MainWindow::OnButtonExportMayaClick);
  add(QKeySequence::HelpContents, &MainWindow::ShowAbout);
}

void MainWindow::ShowAbout() {
  ShowAboutBox(this);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DraggedImage(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = DraggedImage(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  LoadFile(path);
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
  SaveWindowGeometry(*this);
  event->accept();
}

}  // namespace halvane
