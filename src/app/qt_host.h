#pragma once

#include <functional>
#include <random>

#include <QString>

#include "workflow/host.h"

class QWidget;

namespace halvane {

// The window's Host: Qt dialogs, clock and locale. What "show the current
// state" means is the window's business, so it hands in two callbacks.
class QtHost : public Host {
 public:
  struct Callbacks {
    std::function<void()> beforeEvents;    // refresh what a long step shows
    std::function<void()> previewChanged;  // repaint the preview
  };

  QtHost(QWidget* dialogParent, Callbacks callbacks);

  void ProcessEvents() override;
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> ChooseOpenFile(const std::string& filter) override;
  std::optional<std::string> ChooseSaveFile(const std::string& defaultExtension,
                                            const std::string& filter) override;
  std::string TimeText() override;
  double TimeOfDaySeconds() override;
  NumberFormat GetNumberFormat() override;
  void SeedRandom() override;
  int RandomInt(int range) override;
  void PreviewChanged() override;

 private:
  QWidget* dialogParent_;
  Callbacks callbacks_;
  std::mt19937 random_;
};

// "description|patterns|description|patterns" with patterns separated by ";"
// or "," becomes Qt's "description (pattern pattern);;..." controls.
QString QtFileFilter(const std::string& filter);

// Message texts break lines with line feed plus carriage return; Qt wants
// line feeds alone.
QString MessageText(const std::string& text);

}  // namespace halvane
