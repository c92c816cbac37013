#pragma once

#include <optional>
#include <string>

#include "base/number_text.h"

namespace halvane {

// Message texts break their lines with line feed followed by carriage return.
constexpr const char* kMessageBreak = "\n\r";

// What a step needs from the world outside the core. The window implements it
// with the toolkit; the pipeline and the tests implement it without.
class Host {
 public:
  virtual ~Host() = default;

  // Lets pending user-interface events run (and shows the current state).
  virtual void ProcessEvents() = 0;
  // A modal message box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // A modal question with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // Modal file dialogs; the filter uses "description|patterns|..." pairs.
  // Empty when the user cancels.
  virtual std::optional<std::string> ChooseOpenFile(const std::string& filter) = 0;
  virtual std::optional<std::string> ChooseSaveFile(const std::string& defaultExtension,
                                                    const std::string& filter) = 0;
  // The time of day in the long time format, and in seconds since midnight.
  virtual std::string TimeText() = 0;
  virtual double TimeOfDaySeconds() = 0;
  virtual NumberFormat GetNumberFormat() = 0;
  // Seeds the random generator from a high-resolution clock.
  virtual void SeedRandom() = 0;
  // A random integer in 0..range-1.
  virtual int RandomInt(int range) = 0;
  // The preview bitmaps or the preview's visibility changed.
  virtual void PreviewChanged() = 0;
};

}  // namespace halvane
