#include "components/post_it_rules.h"

#include <algorithm>

namespace {
constexpr int ScreenGap = 8;
constexpr int BelowGap = 24;
}  // namespace

QString PostItSection(const QString& name) { return (QStringLiteral("PostIt-") + name).left(20); }

QPoint PostItAutoPos(const QRect& button, const QSize& note, const QSize& screen) {
  int left = button.x() + button.width() + ScreenGap;
  if (left + note.width() > screen.width() - ScreenGap)
    left = left - button.width() - note.width() - ScreenGap;
  int top = button.y() + button.height() + BelowGap;
  if (top + note.height() > screen.height() - BelowGap) top = top - button.height() - note.height();
  return {std::max(left, ScreenGap), std::max(top, ScreenGap)};
}

QPoint PostItCenterPos(const QSize& note, const QSize& screen) {
  return {(screen.width() - note.width()) / 2, (screen.height() - note.height()) / 2};
}

int PostItTextLength(const QStringList& lines) {
  int n = 0;
  for (const QString& line : lines) n += static_cast<int>(line.length());
  return lines.isEmpty() ? 0 : n + 2 * static_cast<int>(lines.size() - 1);
}

int IniIntOr(const QString& text, int current) {
  bool ok = false;
  const int v = text.trimmed().toInt(&ok);
  return ok ? v : current;
}
