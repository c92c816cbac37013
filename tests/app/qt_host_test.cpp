#include "app/qt_host.h"

#include <gtest/gtest.h>

#include <set>

#include <QCoreApplication>
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

TEST(QtHostTest, ProcessEventsRefreshesThenRunsPendingEventsAndRandomIntegersFillTheirRange) {
  int refreshes = 0, repaints = 0;
  QtHost host(nullptr, QtHost::Callbacks{[&] { ++refreshes; }, [&] { ++repaints; }});
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  host.ProcessEvents();
  EXPECT_TRUE(refreshes == 1 && ran);
  host.PreviewChanged();
  EXPECT_EQ(repaints, 1);

  host.SeedRandom();
  std::set<int> seen;
  for (int i = 0; i < 500; ++i) seen.insert(host.RandomInt(26));
  EXPECT_TRUE(seen.size() == 26u && *seen.begin() == 0 && *seen.rbegin() == 25);
  EXPECT_EQ(host.RandomInt(0), 0);
}

}  // namespace
}  // namespace halvane
