#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "app/main_window.h"
#include "support/image_files.h"
#include "support/test_host.h"

namespace halvane::testing {

// A window on a TestHost, shown off screen.
struct WindowUnderTest {
  WindowUnderTest() {
    auto owned = std::make_unique<TestHost>();
    host = owned.get();
    window = std::make_unique<MainWindow>(std::move(owned));
    window->show();
  }

  template <class W>
  W* Find(const char* name) const {
    W* widget = window->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << "no widget " << name;
    return widget;
  }

  TestHost* host;
  std::unique_ptr<MainWindow> window;
};

// A 64 x 32 sky at `path` whose pixels vary strongly, so that only few
// collapses are possible and the optimization stays quick.
inline std::string WriteNoisySky(const std::string& path) {
  std::vector<Rgbe> pixels;
  uint32_t noise = 7;
  for (int i = 0; i < 64 * 32; ++i) {
    noise = noise * 1103515245u + 12345u;
    const auto m = static_cast<uint8_t>(40 + (noise >> 24) % 200);
    pixels.push_back({m, static_cast<uint8_t>(m / 2 + 60), 90, 130});
  }
  WriteFile(path, RunLengthRadiance(64, 32, pixels));
  return path;
}

inline void PressKey(QWidget* widget, int key, const QString& text = QString(),
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(widget, &press);
}

inline void TypeText(QWidget* widget, const QString& text) {
  // Qt's key codes of printable ASCII characters are their upper-case codes.
  for (QChar c : text) PressKey(widget, c.toUpper().unicode(), QString(c));
}

}  // namespace halvane::testing
