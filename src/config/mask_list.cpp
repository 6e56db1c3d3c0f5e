#include "config/mask_list.h"

#include <algorithm>

namespace {

bool IsBlank(QChar c) { return c.unicode() <= u' '; }

QString TrimBlanks(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.mid(b, e - b);
}

}  // namespace

QStringList SplitFileMask(const QString& fileMask) {
  QStringList rows = fileMask.split(u';');
  if (rows.last().isEmpty()) rows.removeLast();
  return rows;
}

QString JoinFileMask(const QStringList& rows) {
  QString mask;
  for (const QString& row : rows) mask += row + u';';
  return mask;
}

int TabCharsFromInterval(std::int32_t tabInterval) {
  return std::clamp(tabInterval / 4, 0, MaxTabChars);
}

std::int32_t TabIntervalFromChars(int chars) { return std::clamp(chars, 0, MaxTabChars) * 4; }

TMaskList::TMaskList(const QStringList& rows) {
  for (const QString& row : rows) Insert(row);
}

QString TMaskList::MaskText(const QString& typed) { return TrimBlanks(typed); }

bool TMaskList::CanAdd(const QString& typed) { return !MaskText(typed).isEmpty(); }

int TMaskList::InsertPos(const QString& mask) const {
  const auto at = std::upper_bound(
      FRows.begin(), FRows.end(), mask,
      [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  return static_cast<int>(at - FRows.begin());
}

void TMaskList::Insert(const QString& mask) { FRows.insert(InsertPos(mask), mask); }

int TMaskList::Add(const QString& typed) {
  const QString mask = MaskText(typed);
  if (mask.isEmpty()) return -1;
  for (const QString& row : FRows)
    if (row.compare(mask, Qt::CaseInsensitive) == 0) return -1;
  const int at = InsertPos(mask);
  FRows.insert(at, mask);
  return at;
}

bool TMaskList::Delete(int index) {
  if (index < 0 || index >= Count()) return false;
  FRows.removeAt(index);
  return true;
}
