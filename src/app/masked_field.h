#pragma once

#include <QLineEdit>
#include <QString>

namespace halvane {

// A five-character decimal field "dd.dd" in overwrite mode: digits and blanks
// replace the character at the cursor, the "." at position 2 is fixed and
// skipped, Backspace blanks the digit before the cursor and Delete the one at
// it. The text is always exactly five characters, blanks included (" 1.  "),
// which QLineEdit's own input mask cannot keep (it drops blanks).
class MaskedField : public QLineEdit {
  Q_OBJECT

 public:
  static constexpr int kLength = 5;
  static constexpr int kDotPosition = 2;

  explicit MaskedField(QWidget* parent = nullptr);

  // Shows `text` as it stands when it is a well-formed field text; any other
  // text is brought into shape (cut or padded with blanks, "." put in place).
  void SetFieldText(const QString& text);
  QString FieldText() const { return text(); }

  // Brings any text into the field's shape.
  static QString Normalised(const QString& text);

 signals:
  // The user changed the text; carries the new five characters.
  void FieldEdited(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  // The text and cursor an edit works on before it is committed.
  struct Draft {
    QString text;
    int cursor;
  };

  Draft Current() const;
  Draft WithSelectionBlanked() const;
  static void Type(Draft& draft, QChar c);
  static void Type(Draft& draft, const QString& typed);
  bool HandleEditKey(QKeyEvent* event);
  void Commit(const Draft& draft);
};

}  // namespace halvane
