#include <cstdio>
#include <cstdlib>
#include <optional>

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>

#include "app/about_box.h"
#include "app/main_window.h"
#include "app/runtime_folder.h"
#include "app/window_settings.h"

namespace {

// Reads the command line: `--help` and `--version` print and end the
// program; an image file given is loaded once the window shows.
std::optional<QString> ImageFromCommandLine(const QApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Turns a latitude-longitude HDR image into a rig of coloured lights."));
  parser.addHelpOption();
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Displays version information."));
  parser.addOption(version);
  parser.addPositionalArgument(QStringLiteral("image"),
                               QStringLiteral("An image file to load, as step 1 would."),
                               QStringLiteral("[image]"));
  parser.process(app);
  if (parser.isSet(version)) {
    std::printf("halvane %s\n", qPrintable(halvane::ProgramVersion()));
    std::exit(0);
  }
  const QStringList images = parser.positionalArguments();
  if (images.size() > 1) {
    std::fprintf(stderr, "halvane: one image at a time\nTry 'halvane --help'.\n");
    std::exit(2);
  }
  if (images.isEmpty()) return std::nullopt;
  return images.constFirst();
}

}  // namespace

int main(int argc, char** argv) {
  halvane::EnsureRuntimeFolder();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ZR_Halvane"));
  QApplication::setApplicationVersion(halvane::ProgramVersion());
  const std::optional<QString> image = ImageFromCommandLine(app);
  QApplication::setStyle(QStringLiteral("Fusion"));
  halvane::MainWindow window;
  // A smaller screen gets a smaller window: its step column scrolls.
  window.resize(window.size().boundedTo(window.screen()->availableGeometry().size()));
  halvane::RestoreWindowGeometry(window);
  window.show();
  if (image) window.LoadFile(*image);
  return QApplication::exec();
}
