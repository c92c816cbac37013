#pragma once

#include <string>

#include "workflow/host.h"

namespace halvane {

// A host that answers the open dialog with a file the user already gave (on
// the command line or by dropping it) and passes everything else on to the
// window's own host, so that the load step runs as if the file was chosen.
class GivenFileHost : public Host {
 public:
  GivenFileHost(Host& host, std::string path) : host_(host), path_(std::move(path)) {}

  void ProcessEvents() override { host_.ProcessEvents(); }
  void ShowMessage(const std::string& text) override { host_.ShowMessage(text); }
  bool AskYesNo(const std::string& text) override { return host_.AskYesNo(text); }
  std::optional<std::string> ChooseOpenFile(const std::string&) override { return path_; }
  std::optional<std::string> ChooseSaveFile(const std::string& defaultExtension,
                                            const std::string& filter) override {
    return host_.ChooseSaveFile(defaultExtension, filter);
  }
  std::string TimeText() override { return host_.TimeText(); }
  double TimeOfDaySeconds() override { return host_.TimeOfDaySeconds(); }
  NumberFormat GetNumberFormat() override { return host_.GetNumberFormat(); }
  void SeedRandom() override { host_.SeedRandom(); }
  int RandomInt(int range) override { return host_.RandomInt(range); }
  void PreviewChanged() override { host_.PreviewChanged(); }

 private:
  Host& host_;
  std::string path_;
};

}  // namespace halvane
