#include "components/mask_edit_rules.h"

#include "components/date_func.h"
#include "components/num_edit_rules.h"
#include "components/str_func.h"

namespace {

std::string Std(const QString& s) { return s.toLatin1().toStdString(); }

bool IsInt(const QString& s) { return IsIntStr(Std(s)); }

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool IsLetter(QChar c) { return c >= u'A' && c <= u'Z'; }

// Letters and pairs of letters that no postcode uses.
bool HasIllegalLetters(const QString& text) {
  const QString t = text.toUpper();
  for (QChar c : QStringLiteral("FIOQUY"))
    if (t.contains(c)) return true;
  for (const char* pair : {"SA", "SD", "SS", "WA", "MM", "MW", "WM", "WW"})
    if (t.contains(QLatin1String(pair))) return true;
  return false;
}

// A number part above Max becomes Max; anything that is no number stays.
QString Cap(const QString& part, int max) {
  if (!IsInt(part)) return part;
  bool ok = false;
  const int v = TrimBlanks(part).toInt(&ok);
  return ok && v <= max ? part : QString::number(max);
}

// The text with a leading "0" when its first separator is second, so that a
// one-digit hour or day reads as two; null when it is short otherwise.
QString FullShape(const QString& text, QChar sep, int length) {
  if (text.length() == length) return text;
  if (text.indexOf(sep) == 1) return QLatin1Char('0') + text;
  return {};
}

QChar Separator(TMaskKind kind) {
  switch (kind) {
    case TMaskKind::Time:
      return QLatin1Char(':');
    case TMaskKind::Date:
      return QLatin1Char('-');
    default:
      return {};
  }
}

bool IsControlKey(ushort c) {
  return c == KeyCopy || c == KeyBackspace || c == KeyEnter || c == KeyPaste || c == KeyCut;
}

enum class TKeyVerdict { Reject, Accept, Drop };

// Which printable characters a kind takes where; the separator typed after
// a one-digit part pads that part with a "0" and moves past it.
TKeyVerdict Verdict(TMaskKind kind, QChar k, TMaskEditState& s) {
  const int caret = s.SelStart;
  switch (kind) {
    case TMaskKind::Postcode:
      if (IsDigit(k) && caret < 4) return TKeyVerdict::Accept;
      if (IsLetter(k) && (caret == 4 || caret == 5)) return TKeyVerdict::Accept;
      return TKeyVerdict::Reject;
    case TMaskKind::Time:
      if (IsDigit(k)) return caret < 5 ? TKeyVerdict::Accept : TKeyVerdict::Reject;
      if (k != u':') return TKeyVerdict::Reject;
      if (caret == 1 && s.Text.indexOf(u':') == 1) {
        s.Text.prepend(QLatin1Char('0'));
        s.SelStart = 3;
        s.SelLength = 0;
        return TKeyVerdict::Drop;
      }
      if (caret == 2) return s.Text.contains(u':') ? TKeyVerdict::Drop : TKeyVerdict::Accept;
      return TKeyVerdict::Reject;
    case TMaskKind::Date:
      if (IsDigit(k)) return caret < 10 ? TKeyVerdict::Accept : TKeyVerdict::Reject;
      if (k != u'-') return TKeyVerdict::Reject;
      if ((caret == 1 || caret == 4) && caret < s.Text.length() && s.Text[caret] == u'-') {
        s.Text.insert(caret - 1, QLatin1Char('0'));
        s.SelStart = caret + 2;
        s.SelLength = 0;
        return TKeyVerdict::Drop;
      }
      if (caret == 2 || caret == 5)
        return s.Text.count(u'-') >= 2 ? TKeyVerdict::Drop : TKeyVerdict::Accept;
      return TKeyVerdict::Reject;
  }
  return TKeyVerdict::Reject;
}

// The caret steps over a separator: forward for a typed character in front
// of one, back for Backspace behind one, so that Backspace takes the digit
// before the separator and never the separator itself.
void StepOverSeparator(TMaskKind kind, QChar key, TMaskEditState& s) {
  const QChar sep = Separator(kind);
  if (sep.isNull()) return;
  const int caret = s.SelStart;
  if (key.unicode() == KeyBackspace) {
    if (s.SelLength == 0 && caret > 0 && caret <= s.Text.length() && s.Text[caret - 1] == sep)
      s.SelStart = caret - 1;
    return;
  }
  const bool beforeSeparator = caret == 2 || (kind == TMaskKind::Date && caret == 5);
  if (beforeSeparator && caret < s.Text.length() && s.Text[caret] == sep) {
    s.SelStart = caret + 1;
    s.SelLength = 0;
  }
}

// Overwrite: the character after the caret goes, unless it is a separator.
void SelectOverwritten(TMaskKind kind, TMaskEditState& s) {
  if (s.SelLength == 0 && s.SelStart < s.Text.length() && s.Text[s.SelStart] != Separator(kind))
    s.SelLength = 1;
}

}  // namespace

TPostcodeState PostcodeState(const QString& text) {
  TPostcodeState state = psOK;
  if (text.length() != 6) state = psNotFull;
  const QString number = text.left(4);
  if (!IsInt(number) || TrimBlanks(number).toInt() < 1000) state = psWrongNum;
  if (TrimBlanks(text).isEmpty()) state = psEmpty;
  if (HasIllegalLetters(text)) state = psIllegalChars;
  return state;
}

TTimeState TimeState(const QString& text) {
  const QString trimmed = TrimBlanks(text);
  if (trimmed.isEmpty() || trimmed == QLatin1String(":")) return tsEmpty;
  const QString full = FullShape(text, QLatin1Char(':'), 5);
  if (full.isNull()) return tsNotFull;
  return IsTimeStr(Std(full)) ? tsOK : tsNoTime;
}

TDateState DateState(const QString& text) {
  const QString trimmed = TrimBlanks(text);
  if (trimmed.isEmpty() || trimmed == QLatin1String("--")) return dsEmpty;
  const QString full = FullShape(text, QLatin1Char('-'), 10);
  if (full.isNull()) return dsNotFull;
  if (IsValidDateStr(full)) return dsOK;
  const QString year = full.mid(6, 4);
  return IsInt(year) && TrimBlanks(year).toInt() < SmallestYear ? dsToSmall : dsNoDate;
}

QString PostcodeFromText(const QString& text) {
  return text.left(4) + QLatin1Char(' ') + text.mid(4, 2);
}

QString PostcodeToText(const QString& value) {
  QString v = value.toUpper();
  if (v.length() == 6) v.insert(4, QLatin1Char(' '));
  if (v.length() != 7 || !IsInt(v.left(4)) || v[4] != u' ' || !IsAlphaStr(Std(v.mid(5, 2))))
    return {};
  return v.left(4) + v.mid(5, 2);
}

QString TimeValue(const QString& text) {
  return TimeState(text) == tsOK ? FullShape(text, QLatin1Char(':'), 5) : QString();
}

QString DateValue(const QString& text) {
  const TDateStrNL date = ToDateStrNL(text);
  return IsValidDateStr(date) ? date : QString();
}

QChar MaskPrepareKey(TMaskKind kind, QChar key, TMaskEditState& state, bool& rejected) {
  rejected = false;
  const ushort code = key.unicode();
  if (IsControlKey(code)) {
    if (code == KeyBackspace) StepOverSeparator(kind, key, state);
    // Cut and copy take the character that typing would overwrite.
    if ((code == KeyCopy || code == KeyCut) && state.SelLength == 0) {
      StepOverSeparator(kind, key, state);
      SelectOverwritten(kind, state);
    }
    return key;
  }
  const QChar k = key.toUpper();
  const TKeyVerdict verdict = Verdict(kind, k, state);
  if (verdict == TKeyVerdict::Reject) {
    rejected = true;
    return {};
  }
  StepOverSeparator(kind, k, state);
  if (verdict == TKeyVerdict::Drop) return {};
  SelectOverwritten(kind, state);
  return k;
}

void MaskPrepareDelete(TMaskKind kind, TMaskEditState& state) {
  const QChar sep = Separator(kind);
  const int caret = state.SelStart;
  if (!sep.isNull() && state.SelLength == 0 && caret < state.Text.length() &&
      state.Text[caret] == sep)
    state.SelStart = caret + 1;
}

QString MaskRepair(TMaskKind kind, const QString& text) {
  const QString t = text.toUpper();
  switch (kind) {
    case TMaskKind::Postcode: {
      QString r = t;
      if (!IsAlphaStr(Std(TrimBlanks(r.mid(4, 2))))) r.truncate(4);
      while (!IsInt(TrimBlanks(r.left(4))) && !r.isEmpty() && IsLetter(r.back())) r.chop(1);
      return r;
    }
    case TMaskKind::Time: {
      const int p = t.indexOf(u':');
      QString hours = p < 0 ? TrimBlanks(t) : t.left(p);
      const QString minutes = p < 0 ? QString() : t.mid(p + 1);
      if (hours.isEmpty() && !minutes.isEmpty()) hours = QStringLiteral("0");
      return Cap(hours, 23) + QLatin1Char(':') + Cap(minutes, 59);
    }
    case TMaskKind::Date: {
      const int p1 = t.indexOf(u'-');
      const int p2 = p1 < 0 ? -1 : t.indexOf(u'-', p1 + 1);
      QString day = p1 < 0 ? TrimBlanks(t) : t.left(p1);
      QString month = p1 < 0 ? QString() : t.mid(p1 + 1, p2 < 0 ? -1 : p2 - p1 - 1);
      const QString year = p2 < 0 ? QString() : t.mid(p2 + 1);
      if (day.isEmpty() && !(month.isEmpty() && year.isEmpty())) day = QStringLiteral("0");
      if (month.isEmpty() && !year.isEmpty()) month = QStringLiteral("0");
      return Cap(day, 31) + QLatin1Char('-') + Cap(month, 12) + QLatin1Char('-') + year;
    }
  }
  return t;
}

QString MaskEntryText(TMaskKind kind, const QString& text) {
  switch (kind) {
    case TMaskKind::Time:
      return TimeValue(text).isEmpty() ? QStringLiteral(":") : text;
    case TMaskKind::Date:
      return DateValue(text).isEmpty() ? QStringLiteral("--") : text;
    default:
      return text;
  }
}
