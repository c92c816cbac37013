#include "app/masked_field.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>

#include "window_driver.h"

namespace halvane {
namespace {

using testing::PressKey;

class MaskedFieldTest : public ::testing::Test {
 protected:
  // Sends `keys` to the field: '\b' is Backspace, '\x7f' Delete, '~'
  // Shift+Home, '^' and a capital letter that key with Control; the rest is typed.
  void Keys(const char* keys) {
    for (const char* k = keys; *k != 0; ++k) {
      if (*k == '\b')
        PressKey(&field, Qt::Key_Backspace);
      else if (*k == '\x7f')
        PressKey(&field, Qt::Key_Delete);
      else if (*k == '~')
        PressKey(&field, Qt::Key_Home, QString(), Qt::ShiftModifier);
      else if (*k == '^')
        PressKey(&field, *++k, QString(), Qt::ControlModifier);
      else
        testing::TypeText(&field, QString(QChar(*k)));
    }
  }
  std::string Text() const { return field.FieldText().toStdString(); }

  MaskedField field;
};

TEST_F(MaskedFieldTest, KeepsBlanksOfWellFormedTextsAndBringsOthersIntoShape) {
  for (const char* text : {" 1.  ", "  .5 ", "  . 1", "99.  ", "  .  "}) {
    field.SetFieldText(QString::fromLatin1(text));
    EXPECT_EQ(Text(), text);
  }
  EXPECT_EQ(MaskedField::Normalised(QStringLiteral("1")), QStringLiteral("1 .  "));
  EXPECT_EQ(MaskedField::Normalised(QStringLiteral("12345678")), QStringLiteral("12.45"));
  EXPECT_EQ(MaskedField::Normalised(QStringLiteral("a1,x2")), QStringLiteral(" 1. 2"));
}

TEST_F(MaskedFieldTest, KeysEditInPlaceAndKeepTheShape) {
  QApplication::clipboard()->setText(QStringLiteral("4.25"));
  struct Edit {
    const char* start;
    int cursor;
    const char* keys;
    const char* result;
    int cursorAfter;  // -1: not checked
  };
  const Edit edits[] = {
      {"  .5 ", 0, "12705", "12.70", 5},  // digits overwrite, skip the dot, the last finds no place
      {" 1.  ", 2, "4", " 1.4 ", -1},     // at the dot: the first decimal
      {"  .  ", 0, "3.25", "3 .25", -1},  // the decimal key jumps behind the dot
      {"  .  ", 0, ",7", "  .7 ", -1},    // so does the comma
      {"12.34", 0, " x-", " 2.34", 1},    // a blank overwrites, other characters are ignored
      {"12.34", 3, "\b", "1 .34", 1},     // backspace blanks across the dot
      {"12.34", 3, "\b\b\b", "  .34", -1},  // and nothing before the start
      {"12.34", 2, "\x7f", "12. 4", -1},    // delete at the dot blanks the digit behind it
      {"12.34", 0, "^A9", "9 .  ", -1},     // a selection is blanked before typing
      {"  .  ", 0, "^V", "4 .25", -1},      // paste types the clipboard text
      {"12.34", 5, "~^K^Z", "12.34", -1},   // other editing shortcuts cannot break the shape
  };
  for (const Edit& e : edits) {
    field.SetFieldText(QString::fromLatin1(e.start));
    field.setCursorPosition(e.cursor);
    Keys(e.keys);
    EXPECT_EQ(Text(), e.result) << e.start << " + " << e.keys;
    EXPECT_TRUE(e.cursorAfter < 0 || field.cursorPosition() == e.cursorAfter) << e.keys;
  }
}

}  // namespace
}  // namespace halvane
