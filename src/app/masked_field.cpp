#include "app/masked_field.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace halvane {
namespace {

bool IsFieldCharacter(QChar c) {
  return c.isDigit() || c == QLatin1Char(' ');
}

bool IsDecimalKey(QChar c) {
  return c == QLatin1Char('.') || c == QLatin1Char(',');
}

}  // namespace

MaskedField::MaskedField(QWidget* parent) : QLineEdit(parent) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setMaxLength(kLength);
  // The standard context menu and drops would edit the text past the rules.
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(false);
  setText(Normalised(QString()));
  setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("00.00")) + 16);
}

QString MaskedField::Normalised(const QString& text) {
  QString shaped = text.left(kLength).leftJustified(kLength, QLatin1Char(' '));
  for (int i = 0; i < kLength; ++i)
    if (!IsFieldCharacter(shaped[i])) shaped[i] = QLatin1Char(' ');
  shaped[kDotPosition] = QLatin1Char('.');
  return shaped;
}

void MaskedField::SetFieldText(const QString& text) {
  const QString shaped = Normalised(text);
  if (shaped == this->text()) return;
  const int cursor = cursorPosition();
  setText(shaped);
  setCursorPosition(std::min(cursor, kLength));
}

MaskedField::Draft MaskedField::Current() const {
  return Draft{text(), cursorPosition()};
}

MaskedField::Draft MaskedField::WithSelectionBlanked() const {
  Draft draft = Current();
  if (!hasSelectedText()) return draft;
  const int start = selectionStart();
  const int end = std::min(start + static_cast<int>(selectedText().size()), kLength);
  for (int i = start; i < end; ++i)
    if (i != kDotPosition) draft.text[i] = QLatin1Char(' ');
  draft.cursor = start;
  return draft;
}

void MaskedField::Type(Draft& draft, QChar c) {
  if (IsDecimalKey(c)) {
    draft.cursor = kDotPosition + 1;
    return;
  }
  if (!IsFieldCharacter(c)) return;
  int pos = draft.cursor == kDotPosition ? kDotPosition + 1 : draft.cursor;
  if (pos >= kLength) return;
  draft.text[pos] = c;
  ++pos;
  draft.cursor = pos == kDotPosition ? kDotPosition + 1 : pos;
}

void MaskedField::Type(Draft& draft, const QString& typed) {
  for (QChar c : typed) Type(draft, c);
}

void MaskedField::Commit(const Draft& draft) {
  if (draft.text != text()) {
    setText(draft.text);
    setCursorPosition(draft.cursor);
    emit FieldEdited(draft.text);
  } else {
    setCursorPosition(draft.cursor);
  }
}

bool MaskedField::HandleEditKey(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    Draft draft = WithSelectionBlanked();
    Type(draft, QApplication::clipboard()->text());
    Commit(draft);
    return true;
  }
  if (event->matches(QKeySequence::Cut)) {
    copy();
    Commit(WithSelectionBlanked());
    return true;
  }
  if (event->key() == Qt::Key_Backspace) {
    Draft draft = WithSelectionBlanked();
    if (!hasSelectedText()) {
      int pos = draft.cursor - 1;
      if (pos == kDotPosition) --pos;
      if (pos < 0) return true;
      draft.text[pos] = QLatin1Char(' ');
      draft.cursor = pos;
    }
    Commit(draft);
    return true;
  }
  if (event->key() == Qt::Key_Delete) {
    Draft draft = WithSelectionBlanked();
    if (!hasSelectedText()) {
      const int pos = draft.cursor == kDotPosition ? kDotPosition + 1 : draft.cursor;
      if (pos < kLength) draft.text[pos] = QLatin1Char(' ');
    }
    Commit(draft);
    return true;
  }
  const QString typed = event->text();
  const bool printable = !typed.isEmpty() && typed[0].isPrint() &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (!printable) return false;
  Draft draft = IsDecimalKey(typed[0]) ? Current() : WithSelectionBlanked();
  Type(draft, typed);
  Commit(draft);
  return true;
}

void MaskedField::keyPressEvent(QKeyEvent* event) {
  if (isReadOnly()) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (HandleEditKey(event)) {
    event->accept();
    return;
  }
  // Navigation and selection go to QLineEdit; any editing shortcut it knows
  // beyond those handled above (undo, delete word, ...) is taken back.
  const Draft before = Current();
  QLineEdit::keyPressEvent(event);
  if (text() != before.text) {
    setText(before.text);
    setCursorPosition(before.cursor);
  }
}

void MaskedField::inputMethodEvent(QInputMethodEvent* event) {
  if (!isReadOnly() && !event->commitString().isEmpty()) {
    Draft draft = WithSelectionBlanked();
    Type(draft, event->commitString());
    Commit(draft);
  }
  event->accept();
}

}  // namespace halvane
