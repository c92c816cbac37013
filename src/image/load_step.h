#pragma once

#include <string>

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

constexpr int kLargestImageSide = 4000;

// Upper-cases a..z and the Latin-1 letters ä, ö, ü; other bytes unchanged.
std::string UpperCase(std::string text);
// The text from the last "." to the end, upper-cased; empty without a ".".
std::string FileExtension(const std::string& path);

// Step 1: choose an image file, read it, build the background picture and
// reset the session to state 1.
void Button_LoadImageClick(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
