#include "app/qt_host.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

#include "workflow/control_model.h"

namespace halvane {
namespace {

TEST(QtFileFilterTest, TurnsDescriptionPatternPairsIntoQtFilters) {
  EXPECT_EQ(QtFileFilter(kOpenImageFilter).toStdString(),
            "*.ct,*.tga,*.hdr (*.ct *.tga *.hdr);;"
            "Mental Images .ct (8bit, 16bit and float) (*.ct);;"
            "Targa .tga (8bit) (*.tga);;"
            "Radiance .hdr (float) (*.hdr)");
  EXPECT_EQ(QtFileFilter("Maya script|*.mel").toStdString(), "Maya script (*.mel)");
  EXPECT_EQ(QtFileFilter("").toStdString(), "");
}

class QtHostTest : public ::testing::Test {
 protected:
  QtHostTest()
      : host(nullptr, QtHost::Callbacks{[this] { ++refreshes; }, [this] { ++repaints; }}) {}

  int refreshes = 0, repaints = 0;
  QtHost host;
};

TEST_F(QtHostTest, AskYesNoIsTrueForYesOnly) {
  for (const auto& [button, answer] :
       {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
    QString asked;
    QTimer::singleShot(0, [&, button = button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      asked = box->text();
      box->button(button)->click();
    });
    EXPECT_EQ(host.AskYesNo("Load it at 2048 x 1024?\n\rReally?"), answer);
    EXPECT_EQ(asked.toStdString(), "Load it at 2048 x 1024?\nReally?");
  }
  EXPECT_EQ(refreshes, 2);  // the window shows its state behind the box
}

}  // namespace
}  // namespace halvane
