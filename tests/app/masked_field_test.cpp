#include "app/masked_field.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>

#include "window_driver.h"

namespace halvane::testing {
namespace {

class MaskedFieldTest : public ::testing::Test {
 protected:
  // Starts with `text` and the cursor at `cursor`.
  void Start(const char* text, int cursor) {
    field.SetFieldText(QString::fromLatin1(text));
    field.setCursorPosition(cursor);
  }
  std::string Text() const { return field.FieldText().toStdString(); }

  MaskedField field;
};

TEST_F(MaskedFieldTest, KeepsBlanksOfWellFormedTexts) {
  for (const char* text : {" 1.  ", "  .5 ", "  . 1", "99.  ", "  .  "}) {
    field.SetFieldText(QString::fromLatin1(text));
    EXPECT_EQ(Text(), text);
  }
}

TEST_F(MaskedFieldTest, BringsOtherTextsIntoShape) {
  EXPECT_EQ(MaskedField::Normalised(QStringLiteral("1")), QStringLiteral("1 .  "));
  EXPECT_EQ(MaskedField::Normalised(QStringLiteral("12345678")), QStringLiteral("12.45"));
  EXPECT_EQ(MaskedField::Normalised(QStringLiteral("a1,x2")), QStringLiteral(" 1. 2"));
}

TEST_F(MaskedFieldTest, DigitsOverwriteInPlaceAndSkipTheDot) {
  Start("  .5 ", 0);
  TypeText(&field, QStringLiteral("12"));
  EXPECT_EQ(Text(), "12.5 ");
  EXPECT_EQ(field.cursorPosition(), 3);
  TypeText(&field, QStringLiteral("7"));
  EXPECT_EQ(Text(), "12.7 ");
  TypeText(&field, QStringLiteral("05"));  // the last one finds no place
  EXPECT_EQ(Text(), "12.70");
  EXPECT_EQ(field.cursorPosition(), 5);
}

TEST_F(MaskedFieldTest, TypingAtTheDotWritesTheFirstDecimal) {
  Start(" 1.  ", 2);
  TypeText(&field, QStringLiteral("4"));
  EXPECT_EQ(Text(), " 1.4 ");
}

TEST_F(MaskedFieldTest, DecimalKeyJumpsBehindTheDot) {
  Start("  .  ", 0);
  TypeText(&field, QStringLiteral("3.25"));
  EXPECT_EQ(Text(), "3 .25");
  Start("  .  ", 0);
  TypeText(&field, QStringLiteral(",7"));
  EXPECT_EQ(Text(), "  .7 ");
}

TEST_F(MaskedFieldTest, BlankOverwritesAndOtherCharactersAreIgnored) {
  Start("12.34", 0);
  TypeText(&field, QStringLiteral(" x-"));
  EXPECT_EQ(Text(), " 2.34");
  EXPECT_EQ(field.cursorPosition(), 1);
}

TEST_F(MaskedFieldTest, BackspaceBlanksThePreviousDigitAcrossTheDot) {
  Start("12.34", 3);
  PressKey(&field, Qt::Key_Backspace);
  EXPECT_EQ(Text(), "1 .34");
  EXPECT_EQ(field.cursorPosition(), 1);
  PressKey(&field, Qt::Key_Backspace);
  PressKey(&field, Qt::Key_Backspace);  // at the start: nothing left to blank
  EXPECT_EQ(Text(), "  .34");
}

TEST_F(MaskedFieldTest, DeleteBlanksTheDigitAtTheCursor) {
  Start("12.34", 2);
  PressKey(&field, Qt::Key_Delete);
  EXPECT_EQ(Text(), "12. 4");
}

TEST_F(MaskedFieldTest, SelectionIsBlankedBeforeTyping) {
  Start("12.34", 0);
  field.selectAll();
  TypeText(&field, QStringLiteral("9"));
  EXPECT_EQ(Text(), "9 .  ");
}

TEST_F(MaskedFieldTest, PasteTypesTheClipboardText) {
  QApplication::clipboard()->setText(QStringLiteral("4.25"));
  Start("  .  ", 0);
  PressKey(&field, Qt::Key_V, QString(), Qt::ControlModifier);
  EXPECT_EQ(Text(), "4 .25");
}

TEST_F(MaskedFieldTest, OtherEditingShortcutsCannotBreakTheShape) {
  Start("12.34", 5);
  PressKey(&field, Qt::Key_Home, QString(), Qt::ShiftModifier);
  PressKey(&field, Qt::Key_K, QString(), Qt::ControlModifier);
  PressKey(&field, Qt::Key_Z, QString(), Qt::ControlModifier);
  EXPECT_EQ(Text(), "12.34");
}

TEST_F(MaskedFieldTest, ReportsUserEditsOnlyWhenTheTextChanges) {
  QStringList reported;
  QObject::connect(&field, &MaskedField::FieldEdited, [&](const QString& t) { reported << t; });
  Start("  .  ", 0);
  TypeText(&field, QStringLiteral("5"));
  PressKey(&field, Qt::Key_Backspace);
  TypeText(&field, QStringLiteral("x"));
  EXPECT_EQ(reported, QStringList({QStringLiteral("5 .  "), QStringLiteral("  .  ")}));
}

}  // namespace
}  // namespace halvane::testing
