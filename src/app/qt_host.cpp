#include "app/qt_host.h"

#include <chrono>

#include <QCoreApplication>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>

#include "app/window_settings.h"

namespace halvane {
namespace {

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns =
        parts[i + 1].split(QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts);
    for (QString& p : patterns) p = p.trimmed();
    entries << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

QString MessageText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  return shown;
}

QtHost::QtHost(QWidget* dialogParent, Callbacks callbacks)
    : dialogParent_(dialogParent), callbacks_(std::move(callbacks)) {}

void QtHost::ProcessEvents() {
  if (callbacks_.beforeEvents) callbacks_.beforeEvents();
  QCoreApplication::processEvents();
}

void QtHost::ShowMessage(const std::string& text) {
  // The window behind the box shows what the step has done so far.
  if (callbacks_.beforeEvents) callbacks_.beforeEvents();
  QMessageBox::information(dialogParent_, QCoreApplication::applicationName(), MessageText(text),
                           QMessageBox::Ok);
}

bool QtHost::AskYesNo(const std::string& text) {
  if (callbacks_.beforeEvents) callbacks_.beforeEvents();
  return QMessageBox::question(dialogParent_, QCoreApplication::applicationName(),
                               MessageText(text), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

// The window remembers the folder of an image once it has loaded.
std::optional<std::string> QtHost::ChooseOpenFile(const std::string& filter) {
  return Chosen(QFileDialog::getOpenFileName(dialogParent_, QString(), ImageStartFolder(),
                                             QtFileFilter(filter)));
}

std::optional<std::string> QtHost::ChooseSaveFile(const std::string& defaultExtension,
                                                  const std::string& filter) {
  QFileDialog dialog(dialogParent_, QString(), ExportStartFolder());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QtFileFilter(filter));
  QString suffix = QString::fromStdString(defaultExtension);
  if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  RememberExportFile(dialog.selectedFiles().constFirst());
  return Chosen(dialog.selectedFiles().constFirst());
}

std::string QtHost::TimeText() {
  return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString();
}

double QtHost::TimeOfDaySeconds() {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

NumberFormat QtHost::GetNumberFormat() {
  const QLocale locale = QLocale::system();
  NumberFormat format;
  const QString decimal = locale.decimalPoint();
  // The core takes a one-byte decimal separator; any other keeps ".".
  if (decimal.size() == 1 && decimal[0].unicode() < 0x80)
    format.decimalSeparator = decimal[0].toLatin1();
  format.thousandsSeparator = locale.groupSeparator().toStdString();
  return format;
}

void QtHost::SeedRandom() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  random_.seed(static_cast<std::mt19937::result_type>(ticks));
}

int QtHost::RandomInt(int range) {
  if (range <= 0) return 0;
  return std::uniform_int_distribution<int>(0, range - 1)(random_);
}

void QtHost::PreviewChanged() {
  if (callbacks_.previewChanged) callbacks_.previewChanged();
}

}  // namespace halvane
