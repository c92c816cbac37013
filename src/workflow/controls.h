#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "preview/bitmap.h"

namespace halvane {

// Plain models of the window's controls. The steps read and write these; the
// window shows them. Each holds only what the logic relies on.

struct Button {
  std::string caption;
  bool enabled = true;
};

struct Label {
  std::string caption;
  bool bold = false;
};

struct CheckBox {
  std::string caption;
  bool checked = false;
  bool visible = true;
};

// A read-only or free text field.
struct TextEdit {
  std::string text;
};

// A five-character field with the mask "!99.99;1;0": two digit places, the
// fixed ".", two digit places, blanks where no digit was typed. The text is
// held exactly as the user sees it (" 1.  ").
struct MaskedEdit {
  std::string caption;
  std::string text;
};

struct SpinEdit {
  std::string caption;
  int value = 0;
  int minValue = 0;
  int maxValue = 0;
};

struct TrackBar {
  std::string caption;
  int position = 0;
  int minValue = 0;
  int maxValue = 0;
};

struct ColorPanel {
  Rgb color;
};

// A step panel "n. ..." with its caption label.
struct StepPanel {
  Rgb color;
};

struct RadioGroup {
  std::vector<std::string> items;
  int itemIndex = -1;
};

struct Memo {
  std::vector<std::string> lines;
};

struct ListBox {
  std::vector<std::string> items;
  int itemIndex = -1;
};

struct StringGrid {
  static constexpr int kColumns = 11;
  int rowCount = 2;
  std::array<int, kColumns> colWidths{};
  std::vector<std::array<std::string, kColumns>> cells;  // resized with rowCount
  int selectedRow = 1;                                   // top row of the selection
  bool enabled = true;

  // Like a grid on screen, the selection moves back inside the rows left.
  void SetRowCount(int rows) {
    rowCount = rows;
    cells.resize(static_cast<std::size_t>(rows));
    if (selectedRow > rows - 1) selectedRow = rows - 1 >= 1 ? rows - 1 : 1;
  }
  std::string& Cell(int col, int row) {
    return cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(col));
  }
  const std::string& Cell(int col, int row) const {
    return cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(col));
  }
};

struct StatusBar {
  std::array<std::string, 3> panels{"-", "-", "-"};
};

struct Gauge {
  int progress = 0;  // 0..100
  void SetProgress(long long p) { progress = p < 0 ? 0 : (p > 100 ? 100 : static_cast<int>(p)); }
};

struct ImageControl {
  bool visible = true;
};

}  // namespace halvane
