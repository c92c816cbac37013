#include "rig/light_name.h"

#include <string_view>

namespace halvane {
namespace {

constexpr std::string_view kNameLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
static_assert(kNameLetters.size() == kNameLetterCount);
constexpr const char* kNameStem = "ZR_Light";

}  // namespace

char NameLetter(int draw) {
  return kNameLetters.at(static_cast<std::size_t>(draw));
}

std::string MayaLightName(int number, char letter) {
  return kNameStem + std::to_string(number) + letter;
}

std::string XsiLightName(int number, char letter) {
  return kNameStem + std::string(1, letter) + std::to_string(number);
}

}  // namespace halvane
