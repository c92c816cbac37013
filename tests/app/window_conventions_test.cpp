// What the window does around the steps: a file given on the command line or
// dropped, shortcuts, remembered settings, hints, and room on a small screen.
#include <gtest/gtest.h>

#include <filesystem>

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QUrl>

#include "app/window_settings.h"
#include "support/image_files.h"
#include "window_driver.h"

namespace halvane::testing {
namespace {

QString WriteGreySky(const TempDir& dir, const std::string& name) {
  const std::string path = dir.Path(name);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  WriteFile(path, FlatRadiance(8, 4, std::vector<Rgbe>(32, Rgbe{128, 128, 128, 129})));
  return QString::fromStdString(path);
}

QString Hint(const WindowUnderTest& w) {
  const auto* hint = w.Find<QLabel>("StatusHint");
  return hint->isHidden() ? QString() : hint->text();
}

QString ImageName(const WindowUnderTest& w) {
  return w.Find<QLineEdit>("EditImagename")->text();
}

void TriggerShortcut(const WindowUnderTest& w, const char* keys) {
  for (QAction* action : w.window->actions())
    if (action->shortcut() == QKeySequence(QString::fromLatin1(keys))) return action->trigger();
  ADD_FAILURE() << "no shortcut " << keys;
}

bool SendDrag(const WindowUnderTest& w, const QString& path) {
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(path)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  enter.setAccepted(false);
  QCoreApplication::sendEvent(w.window.get(), &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w.window.get(), &drop);
  return true;
}

TEST(WindowConventions, GivenDroppedOrOpenedImagesLoadAndTheirFolderIsRemembered) {
  TempDir dir;
  WindowUnderTest w;
  const QString given = WriteGreySky(dir, "given.hdr");
  w.window->LoadFile(given);
  EXPECT_EQ(w.window->session().workflowState, 1);
  EXPECT_EQ(ImageName(w), given);
  EXPECT_EQ(ImageStartFolder(), QFileInfo(given).absolutePath());

  const QString dropped = WriteGreySky(dir, "dropped/sky.hdr");
  EXPECT_TRUE(SendDrag(w, dropped));
  EXPECT_EQ(ImageName(w), dropped);
  EXPECT_EQ(ImageStartFolder(), QFileInfo(dropped).absolutePath());
  EXPECT_FALSE(SendDrag(w, QString::fromStdString(dir.Path("notes.txt"))));

  const QString opened = WriteGreySky(dir, "opened.hdr");
  w.host->AnswerDialog(opened.toStdString());
  TriggerShortcut(w, "Ctrl+O");
  EXPECT_EQ(ImageName(w), opened);
}

TEST(WindowConventions, SettingsLiveApartFromTheUsersAndOutlastTheWindow) {
  ASSERT_TRUE(QStandardPaths::isTestModeEnabled());
  TempDir dir;
  RememberExportFile(QString::fromStdString(dir.Path("rig.mel")));
  EXPECT_EQ(ExportStartFolder(), QString::fromStdString(dir.dir()));
  // A folder that is gone is not offered; the user's documents are, not the program's folder.
  RememberExportFile(QString::fromStdString(dir.Path("gone/rig.mel")));
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  EXPECT_TRUE(ExportStartFolder() == documents || ExportStartFolder() == QDir::homePath());

  {
    WindowUnderTest first;
    first.window->resize(1300, 700);
    first.window->close();
  }
  WindowUnderTest second;
  RestoreWindowGeometry(*second.window);
  EXPECT_EQ(second.window->size(), QSize(1300, 700));
}

TEST(WindowConventions, AStepThatCannotRunSaysWhyInTheStatusBarOnly) {
  TempDir dir;
  WindowUnderTest w;
  w.Find<QPushButton>("ButtonApplyColor")->click();
  EXPECT_EQ(Hint(w), "Load an image first.");
  EXPECT_EQ(w.Find<QLabel>("StatusBar1_Panel0")->text(), "-");
  w.window->LoadFile(WriteGreySky(dir, "sky.hdr"));
  EXPECT_EQ(Hint(w), "");
  TriggerShortcut(w, "Ctrl+E");
  EXPECT_EQ(Hint(w), "Apply colours first.");
}

// On a 1280 x 720 screen the window fits, its parts lie side by side, and the
// step column scrolls to every step.
TEST(WindowConventions, At1280x720NothingOverlapsAndTheStepsScroll) {
  WindowUnderTest w;
  w.window->resize(1280, 720);
  QCoreApplication::processEvents();
  ASSERT_LE(w.window->width(), 1280);
  ASSERT_LE(w.window->height(), 720);
  std::vector<QRect> placed;
  for (const char* name : {"ScrollSteps", "Image3", "GroupViewSettings", "GroupBox3", "ButtonAbout",
                           "ListBox1", "StatusBar1"}) {
    const QWidget* part = w.Find<QWidget>(name);
    const QRect rect(part->mapTo(w.window.get(), QPoint(0, 0)), part->size());
    EXPECT_TRUE(w.window->rect().contains(rect)) << name;
    for (const QRect& other : placed) EXPECT_FALSE(rect.intersects(other)) << name;
    placed.push_back(rect);
  }
  auto* scroll = w.Find<QScrollArea>("ScrollSteps");
  for (const char* panel : {"PanelSt1", "PanelSt8"}) {
    QWidget* step = w.Find<QWidget>(panel);
    scroll->ensureWidgetVisible(step, 0, 0);
    const QPoint top = step->mapTo(scroll->viewport(), QPoint(0, 0));
    EXPECT_TRUE(top.y() >= 0 && top.y() + step->height() <= scroll->viewport()->height()) << panel;
  }
}

}  // namespace
}  // namespace halvane::testing
