#pragma once

#include <string>

namespace halvane {

// Every light name of one export carries the same letter, A..Z.
constexpr int kNameLetterCount = 26;

// The letter of draw `draw` (0 for "A"). Throws std::out_of_range outside
// 0..kNameLetterCount-1.
char NameLetter(int draw);

// "ZR_Light" + number + letter, as the Maya script names its lights.
std::string MayaLightName(int number, char letter);
// "ZR_Light" + letter + number, as the XSI script names its lights.
std::string XsiLightName(int number, char letter);

}  // namespace halvane
