#include "app/qt_host.h"

#include <gtest/gtest.h>

#include <set>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QRegularExpression>
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

TEST(MessageTextTest, LineFeedCarriageReturnBecomesOneLineBreak) {
  EXPECT_EQ(MessageText("a\n\r\n\rb\n\r").toStdString(), "a\n\nb\n");
}

class QtHostTest : public ::testing::Test {
 protected:
  QtHostTest()
      : host(nullptr, QtHost::Callbacks{[this] { ++refreshes; }, [this] { ++repaints; }}) {}

  int refreshes = 0, repaints = 0;
  QtHost host;
};

TEST_F(QtHostTest, ProcessEventsRefreshesThenRunsPendingEvents) {
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  host.ProcessEvents();
  EXPECT_EQ(refreshes, 1);
  EXPECT_TRUE(ran);
  host.PreviewChanged();
  EXPECT_EQ(repaints, 1);
}

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

TEST_F(QtHostTest, RandomIntegersStayInTheirRange) {
  host.SeedRandom();
  std::set<int> seen;
  for (int i = 0; i < 500; ++i) {
    const int v = host.RandomInt(26);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 26);
    seen.insert(v);
  }
  EXPECT_EQ(seen.size(), 26u);
  EXPECT_EQ(host.RandomInt(0), 0);
}

TEST_F(QtHostTest, TimeOfDayAsTextAndSeconds) {
  const QString text = QString::fromStdString(host.TimeText());
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(text).hasMatch())
      << text.toStdString();
  const double seconds = host.TimeOfDaySeconds();
  EXPECT_GE(seconds, 0.0);
  EXPECT_LT(seconds, 86400.0);
}

}  // namespace
}  // namespace halvane
