#include "components/num_edit_rules.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <string>

#include "components/str_func.h"

namespace {

bool IsBlank(QChar c) { return c.unicode() <= 32; }

constexpr int MaxNumTextLength = 21;

// Right-aligns Part in Width characters. Where Part is wider, only leading
// fill and blanks are dropped: cutting digits would show another number.
QString PadIntPart(QString part, QChar fill, int width) {
  int drop = 0;
  while (part.length() - drop > width && (IsBlank(part[drop]) || part[drop] == fill)) ++drop;
  part.remove(0, drop);
  if (part.length() < width) part.prepend(QString(width - part.length(), fill));
  return part;
}

QString PadFraction(const QString& fraction, QChar fill, int width) {
  QString r = fraction.left(width);
  if (r.length() < width) r.append(QString(width - r.length(), fill));
  return r;
}

}  // namespace

bool IsValidFillChar(QChar c) { return c == QLatin1Char(' ') || (c >= u'0' && c <= u'9'); }

bool IsValidDecimalSeparator(QChar c) { return c == QLatin1Char(',') || c == QLatin1Char('.'); }

int ClampFillCount(int count) { return std::clamp(count, 1, 10); }

int ClampDecimalPositions(int positions) { return std::clamp(positions, 0, 10); }

QString TrimBlanks(const QString& text) {
  int b = 0, e = text.length();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return text.mid(b, e - b);
}

void SplitNumText(const QString& text, const TNumEditFormat& format, QString& intPart,
                  QString& fracPart) {
  const int p = text.indexOf(format.DecimalSeparator);
  intPart = p < 0 ? text : text.left(p);
  fracPart = p < 0 ? QString() : text.mid(p + 1);
  for (int i = 0; i < intPart.length() - 1 && intPart[i] == QLatin1Char('0'); ++i)
    intPart[i] = format.FillChar;
}

QString FormatNumText(const QString& text, const TNumEditFormat& format) {
  QString intPart, fracPart;
  SplitNumText(text, format, intPart, fracPart);
  intPart = PadIntPart(intPart, format.FillChar, format.FillCount);
  const QChar fill = format.DecimalPositions > 0 ? QLatin1Char('0') : QLatin1Char(' ');
  QString fraction =
      format.DecimalSeparator + TrimBlanks(PadFraction(fracPart, fill, format.DecimalPositions));
  if (fraction.length() == 1) fraction.clear();
  return intPart + fraction;
}

QString NumToText(double value, const TNumEditFormat& format) {
  const char sep = static_cast<char>(format.DecimalSeparator.toLatin1());
  return QString::fromStdString(
      FloatToStrSep(value, format.DecimalPositions, format.DecimalPositions, sep));
}

bool ReadNumText(const QString& text, QChar separator, double& value) {
  QString t = text;
  t.replace(separator, QLatin1Char('.'));
  std::string s = t.left(MaxNumTextLength).toStdString();
  if (!IsFloatStr(s)) return false;
  // IsFloatStr also takes the locale's separator; from_chars knows only ".".
  s = TrimStr(s);
  const lconv* lc = std::localeconv();
  const std::string localeSep =
      (lc && lc->decimal_point && *lc->decimal_point) ? lc->decimal_point : ".";
  if (localeSep != ".") s = ReplaceAllStr(s, localeSep, ".");
  if (!s.empty() && s[0] == '+') s.erase(0, 1);
  double v = 0;
  const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
  if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return false;
  value = v;
  return true;
}

bool NumCharAccepted(QChar key, const TNumKeyContext& context, const TNumEditFormat& format) {
  const ushort k = key.unicode();
  const int decimals = format.DecimalPositions;
  if (key == format.DecimalSeparator)
    return decimals > 0 && !context.Text.contains(format.DecimalSeparator);
  const bool digit = k >= '0' && k <= '9';
  // Copy changes nothing, so it never needs room.
  const bool changesText = digit || k == KeyPaste || k == KeyCut;
  if (!changesText && k != KeyCopy && k != KeyBackspace && k != KeyEnter) return false;
  if (decimals == 0 || !changesText) return true;

  const int sepPos = context.Text.indexOf(format.DecimalSeparator) + 1;  // 1-based, 0 none
  const int p = sepPos > 0 ? sepPos : context.MaxLength;
  if (p <= context.SelStart) {
    const int fraction = sepPos > 0 ? context.Text.length() - sepPos : 0;
    return fraction < decimals + context.SelLength;
  }
  if (context.MaxLength == 0) return true;
  const int integer = sepPos > 0 ? sepPos - 1 : context.Text.length();
  return integer < context.MaxLength - decimals - 1 + context.SelLength;
}

bool RepairLeadingZero(QString& text, int& caret, QChar separator) {
  const QString s = TrimBlanks(text);
  if (s.isEmpty() || s[0] == separator) {
    text.prepend(QLatin1Char('0'));
    caret = 1;
    return true;
  }
  if (s.length() >= 2 && s[0] == QLatin1Char('0') && s[1] != separator) {
    // The zero goes, not whatever blank a text set by code may start with.
    const int zero = text.indexOf(s);
    text = text.left(zero) + s.mid(1);
    caret = std::max(caret - 1, 0);
    return true;
  }
  return false;
}

TNumExitCheck CheckNumExit(const QString& text, QChar separator, int minValue, int maxValue) {
  double v = 0;
  const bool readable = ReadNumText(text, separator, v);
  if (readable && v < minValue) return TNumExitCheck::ToSmall;
  if (!readable || (maxValue != 0 && v > maxValue)) return TNumExitCheck::ToLarge;
  return TNumExitCheck::Accept;
}

int NumCharLimit(int maxLength, int maxValue, int decimalPositions) {
  if (maxLength == 0) return 0;
  const int digits = std::min(static_cast<int>(QString::number(maxValue).length()), 10);
  const int m = digits + (decimalPositions > 0 ? decimalPositions + 1 : 0);
  return m < maxLength ? m : maxLength;
}
