#include "app/window_settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

#include "workflow/data_folder.h"

namespace halvane {
namespace {

constexpr const char* kImageFolder = "folders/image";
constexpr const char* kExportFolder = "folders/export";
constexpr const char* kGeometry = "window/geometry";

// One settings file for the window, whatever the application's display name.
QSettings Settings() {
  return QSettings(QStringLiteral("halvane"), QStringLiteral("halvane"));
}

// The remembered folder while it still exists.
QString RememberedFolder(const char* key) {
  const QString folder = Settings().value(QLatin1String(key)).toString();
  return !folder.isEmpty() && QDir(folder).exists() ? folder : QString();
}

void RememberFolderOf(const char* key, const QString& path) {
  if (path.isEmpty()) return;
  Settings().setValue(QLatin1String(key), QFileInfo(path).absolutePath());
}

}  // namespace

QString ImageStartFolder() {
  if (QString folder = RememberedFolder(kImageFolder); !folder.isEmpty()) return folder;
  const auto data = FindDataFolder(QCoreApplication::applicationDirPath().toStdString());
  return data ? QString::fromStdString(data->string()) : QDir::homePath();
}

QString ExportStartFolder() {
  if (QString folder = RememberedFolder(kExportFolder); !folder.isEmpty()) return folder;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

void RememberImageFile(const QString& path) {
  RememberFolderOf(kImageFolder, path);
}

void RememberExportFile(const QString& path) {
  RememberFolderOf(kExportFolder, path);
}

void SaveWindowGeometry(const QWidget& window) {
  Settings().setValue(QLatin1String(kGeometry), window.saveGeometry());
}

void RestoreWindowGeometry(QWidget& window) {
  const QByteArray geometry = Settings().value(QLatin1String(kGeometry)).toByteArray();
  if (!geometry.isEmpty()) window.restoreGeometry(geometry);
}

}  // namespace halvane
