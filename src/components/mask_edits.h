#pragma once
// The masked edits: a postcode ("1234AB"), a time ("hh:nn") and a date
// ("dd-mm-yyyy"). Each takes only the characters that fit where the caret
// stands, types over what is there, steps over its separators and repairs
// its text after every key. Any state may be left unless OnAllowExit says
// otherwise; then the text of the entry comes back and the focus stays.
//
//   auto* edtDate = new TDateEdit(form);
//   edtDate->OnAllowExit = [](QObject*, TDateState s, int, bool& allow) {
//     allow = s == dsOK || s == dsEmpty;
//   };
//   ... edtDate->Date()  // "01-05-2001", or empty while no valid date
//
// The rules live in mask_edit_rules.h.
#include <functional>

#include "components/edit_controls.h"
#include "components/mask_edit_rules.h"

using TAllowPCExitEvent =
    std::function<void(QObject* sender, TPostcodeState state, bool& allowExit)>;
using TAllowTimeExitEvent = std::function<void(QObject* sender, TTimeState state, bool& allowExit)>;
using TAllowDateExitEvent =
    std::function<void(QObject* sender, TDateState state, int smallestYear, bool& allowExit)>;

// What the three masked edits share: the key rules of their kind, the beep,
// the text saved on entry and the exit check.
class TZELCustomMaskEdit : public TZELCustomEdit {
  Q_OBJECT
 public:
  TZELCustomMaskEdit(TMaskKind kind, QWidget* parent);

  bool Beep() const { return FBeep; }
  void SetBeep(bool value) { FBeep = value; }

 protected:
  // Whether the current text is in the OK state.
  virtual bool StateOK() const = 0;
  // Asks the exit handler, if any; true when it is absent.
  virtual bool AllowExit() = 0;

  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void FilterChar(QChar& key) override;
  void ProcessChar(QKeyEvent* event, QChar typed, QChar key) override;
  void KeyProcessed(QKeyEvent* event, QChar typed) override;

 private:
  // Types Text from the caret, character by character under the key rules,
  // so that a paste overwrites as typing does; one beep for what is refused.
  void TypeOver(const QString& text);
  void Repair();
  TMaskEditState EditState() const;
  void ApplyEditState(const TMaskEditState& state);

  TMaskKind FKind;
  bool FBeep = true;
  bool FHasFocus = false;
  QString FEntryText;
};

class TPostcodeEdit : public TZELCustomMaskEdit {
  Q_OBJECT
 public:
  explicit TPostcodeEdit(QWidget* parent = nullptr);
  TPostcodeState State() const { return PostcodeState(text()); }
  // "1234 AB"; set with "1234 AB" or "1234ab", anything else is ignored.
  QString Postcode() const { return PostcodeFromText(text()); }
  void SetPostcode(const QString& value);
  TAllowPCExitEvent OnAllowExit;

 protected:
  bool StateOK() const override { return State() == psOK; }
  bool AllowExit() override;
};

class TTimeEdit : public TZELCustomMaskEdit {
  Q_OBJECT
 public:
  explicit TTimeEdit(QWidget* parent = nullptr);
  TTimeState State() const { return TimeState(text()); }
  // "hh:nn", or empty while the text is no valid time; set only to a valid time.
  QString Time() const { return TimeValue(text()); }
  void SetTime(const QString& value);
  TAllowTimeExitEvent OnAllowExit;

 protected:
  bool StateOK() const override { return State() == tsOK; }
  bool AllowExit() override;
};

class TDateEdit : public TZELCustomMaskEdit {
  Q_OBJECT
 public:
  explicit TDateEdit(QWidget* parent = nullptr);
  TDateState State() const { return DateState(text()); }
  // The text while it is a valid date from 1900 on ("1-5-2001" too), else
  // empty; set only to such a date, as given.
  QString Date() const { return DateValue(text()); }
  void SetDate(const QString& value);
  TAllowDateExitEvent OnAllowExit;

 protected:
  bool StateOK() const override { return State() == dsOK; }
  bool AllowExit() override;
};
