#pragma once
// The library's single-line edits: a base that turns Enter and the arrow keys
// into focus moves, and the numeric edits that filter keys, fill out their
// text and keep their number within bounds. The rules themselves live in
// num_edit_rules.h; these classes apply them to a QLineEdit.
#include <QLineEdit>

#include "components/num_edit_rules.h"
#include "components/zel_events.h"

// The base of the library's edits: Enter moves to the next control, Up and
// Down to the previous and next one, each after the key has been handled.
class TZELCustomEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TZELCustomEdit(QWidget* parent = nullptr);

  bool EnterAsTab() const { return FEnterAsTab; }
  void SetEnterAsTab(bool value) { FEnterAsTab = value; }
  bool UpDownKeys() const { return FUpDownKeys; }
  void SetUpDownKeys(bool value) { FUpDownKeys = value; }

  // Called for every typed character after the edit's own filter and the
  // Enter handling; a swallowed character arrives as 0.
  TKeyPressEvent OnKeyPress;

  // The character a key types as the library counts it: Backspace 8, Enter
  // 13, the clipboard keys 3, 22 and 24, Ctrl+letter 1 to 26, a printable
  // character itself; 0 for a key that types nothing.
  static QChar KeyChar(const QKeyEvent* event);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Runs first for a typed character; setting Key to 0 rejects it.
  virtual void FilterChar(QChar& key);
  // Types Key (the character Typed, or what the handlers made of it).
  virtual void ProcessChar(QKeyEvent* event, QChar typed, QChar key);
  // Runs after every key but Up and Down; Typed is 0 for a key that types nothing.
  virtual void KeyProcessed(QKeyEvent* event, QChar typed);
  // Moves the focus once the current event has been handled.
  void PostFocusMove(bool next);
  // Gives the focus back once the focus change under way has settled.
  void PostFocusBack();
  // Characters before the caret, or before the selection.
  int SelStart() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }
  // Focus that leaves for another window, a menu or a pop-up and comes back
  // is no move between the form's controls: it neither enters nor leaves.
  static bool IsWindowSwitch(Qt::FocusReason reason);

 private:
  bool FEnterAsTab = true;
  bool FUpDownKeys = true;
};

// The base edit as forms place it.
class TZELEdit : public TZELCustomEdit {
  Q_OBJECT
 public:
  using TZELCustomEdit::TZELCustomEdit;
};

// The numeric edit: takes digits only (and one separator when it has
// decimals), shows its number right-aligned in fill characters while it does
// not have the focus, and puts it back within MinValue..MaxValue when left.
// Value follows the text whenever code sets the text; what the user types is
// read from the text.
class TZELCustomNumEdit : public TZELCustomEdit {
  Q_OBJECT
 public:
  explicit TZELCustomNumEdit(QWidget* parent = nullptr);

  bool Beep() const { return FBeep; }
  void SetBeep(bool value) { FBeep = value; }
  QChar FillChar() const { return FFormat.FillChar; }
  void SetFillChar(QChar value);  // a blank or a digit; anything else is ignored
  int FillCount() const { return FFormat.FillCount; }
  void SetFillCount(int value);  // 1..10
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int value);  // never below MinValue; 0: no upper bound when left
  int MinValue() const { return FMinValue; }
  void SetMinValue(int value);  // raises MaxValue when needed
  double Value() const { return FValue; }
  void SetValue(double value);  // a different value rewrites the text; no bounds applied
  // The limit on what the user types or pastes, 0 for none. Unlike the
  // toolkit's own limit it never cuts a text set by code, which carries fill.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int value);
  // The toolkit's names lead here too, so its limit is never switched on.
  int maxLength() const { return FMaxLength; }
  void setMaxLength(int value) { SetMaxLength(value); }

  // Replace putting MaxValue (MinValue) into a field left too large,
  // unreadable (too small); the focus returns to the field either way.
  TNotifyEvent OnToLarge;
  TNotifyEvent OnToSmall;

 protected:
  int DecimalPositions() const { return FFormat.DecimalPositions; }
  void SetDecimalPositions(int value);  // 0..10
  QChar DecimalSeparator() const { return FFormat.DecimalSeparator; }
  void SetDecimalSeparator(QChar value);  // "," or "."; anything else is ignored

  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void FilterChar(QChar& key) override;
  void ProcessChar(QKeyEvent* event, QChar typed, QChar key) override;
  void KeyProcessed(QKeyEvent* event, QChar typed) override;

 private:
  void TextSetByCode();
  bool FormatsNow() const;
  void FormatText();
  void Enter();
  void Exit();
  void PutBack(int bound);
  void RepairText();
  void PropertyChanged() { TextSetByCode(); }

  TNumEditFormat FFormat;
  bool FBeep = true;
  bool FFirstChangeDone = false;
  bool FHasFocus = false;  // entered and not yet left
  bool FInTextSet = false;
  bool FKeepUnformatted = false;
  int FMaxValue = 2147483647;
  int FMinValue = 0;
  int FMaxLength = 0;
  double FValue = 0;
  bool FUserEdit = false;  // textEdited came, its textChanged not yet
  QString FEditedText;
};

// The whole-number edit.
class TIntEdit : public TZELCustomNumEdit {
  Q_OBJECT
 public:
  using TZELCustomNumEdit::TZELCustomNumEdit;
};

// The decimal-number edit.
class TRealEdit : public TZELCustomNumEdit {
  Q_OBJECT
 public:
  using TZELCustomNumEdit::DecimalPositions;
  using TZELCustomNumEdit::DecimalSeparator;
  using TZELCustomNumEdit::SetDecimalPositions;
  using TZELCustomNumEdit::SetDecimalSeparator;
  using TZELCustomNumEdit::TZELCustomNumEdit;
};
