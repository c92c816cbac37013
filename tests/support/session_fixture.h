#pragma once

#include <gtest/gtest.h>

#include "support/test_host.h"
#include "workflow/control_model.h"
#include "workflow/session.h"
#include "workflow/workflow.h"

namespace halvane::testing {

// A started session (StartSession done) with a test host, for step tests.
class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { StartSession(s, controls, host); }

  // Puts a loaded image of width x height in the session, every channel of
  // every pixel set by `value(column, row)`, as a successful load leaves it.
  template <typename ValueOf>
  void UseImage(int width, int height, ValueOf value) {
    s.image.width = width;
    s.image.height = height;
    s.image.pixels.assign(static_cast<std::size_t>(width) * height * 3 + 3, 0.0f);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int k = 0; k < 3; ++k)
          s.image.pixels[3 * (static_cast<std::size_t>(y) * width + x) + k] = value(x, y);
    s.imageMissing = false;
    s.workflowState = 1;
  }
  void UseUniformImage(int width, int height, float v) {
    UseImage(width, height, [v](int, int) { return v; });
  }

  std::unique_ptr<Session> session = MakeSession();
  Session& s = *session;
  ControlModel controls;
  TestHost host;
};

}  // namespace halvane::testing
