#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "support/test_host.h"
#include "workflow/control_model.h"
#include "workflow/session.h"
#include "workflow/workflow.h"

namespace halvane::testing {

// A width x height picture whose channel k (0 blue, 1 green, 2 red) of pixel
// (x, y) is value(x, y, k).
template <typename ValueOf>
Image MakeImage(int width, int height, ValueOf value) {
  Image image{width, height, std::vector<float>(static_cast<std::size_t>(width) * height * 3)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int k = 0; k < 3; ++k)
        image.pixels[3 * (static_cast<std::size_t>(y) * width + x) + k] = value(x, y, k);
  return image;
}

// A width x height picture of one colour.
inline Image UniformImage(int width, int height, float r, float g, float b) {
  return MakeImage(width, height, [=](int, int, int k) { return k == 0 ? b : k == 1 ? g : r; });
}

// A started session with its controls and host.
struct DomeRun {
  DomeRun() { StartSession(s, controls, host); }
  std::unique_ptr<Session> session = MakeSession();
  Session& s = *session;
  ControlModel controls;
  TestHost host;
};

// A started session for step tests.
class SessionTest : public ::testing::Test, public DomeRun {
 protected:
  // Puts `image` in the session as a successful load leaves it (the readers
  // keep three spare values at the end).
  void UseImage(Image image) {
    image.pixels.resize(image.pixels.size() + 3, 0.0f);
    s.image = std::move(image);
    s.imageMissing = false;
    s.workflowState = 1;
  }
  void UseUniformImage(int width, int height, float v) {
    UseImage(UniformImage(width, height, v, v, v));
  }
};

}  // namespace halvane::testing
