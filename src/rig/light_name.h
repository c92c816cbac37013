#pragma once

#include <string>

#include "workflow/host.h"

namespace halvane {

// The letter that every light name of one export carries, drawn with equal
// chance from A..Z.
char DrawNameLetter(Host& host);

// "ZR_Light" + number + letter, as the Maya script names its lights.
std::string MayaLightName(int number, char letter);
// "ZR_Light" + letter + number, as the XSI script names its lights.
std::string XsiLightName(int number, char letter);

}  // namespace halvane
