#pragma once

#include <QString>

class QWidget;

namespace halvane {

// What the window remembers between runs in the user's settings: the folders
// of the last image and the last export, and the window's geometry. The file
// dialogs start in the remembered folders; before there is one, the image
// dialog starts in the sample folder and the export dialog in the user's
// documents, never in the program's own folders.
QString ImageStartFolder();
QString ExportStartFolder();
void RememberImageFile(const QString& path);
void RememberExportFile(const QString& path);

void SaveWindowGeometry(const QWidget& window);
void RestoreWindowGeometry(QWidget& window);

}  // namespace halvane
