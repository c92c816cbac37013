#include "rig/light_name.h"

#include <string_view>

namespace halvane {
namespace {

constexpr std::string_view kNameLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr const char* kNameStem = "ZR_Light";

}  // namespace

char DrawNameLetter(Host& host) {
  return kNameLetters.at(
      static_cast<std::size_t>(host.RandomInt(static_cast<int>(kNameLetters.size()))));
}

std::string MayaLightName(int number, char letter) {
  return kNameStem + std::to_string(number) + letter;
}

std::string XsiLightName(int number, char letter) {
  return kNameStem + std::string(1, letter) + std::to_string(number);
}

}  // namespace halvane
