#pragma once
// The file masks as the settings dialog edits them: FileMask split into rows,
// rows joined back, and the dialog's sorted mask list with its add and delete
// rules. Window-free so that the rules can be tested without a dialog.
#include <QString>
#include <QStringList>
#include <cstdint>

// The rows of FileMask in its own order: a piece at every ";" (an empty one
// too), and the rest after the last ";" only when it is not empty.
QStringList SplitFileMask(const QString& fileMask);
// Every row followed by ";"; empty for no rows.
QString JoinFileMask(const QStringList& rows);

// The tab interval as the dialog shows it, in whole characters, and back in
// the quarters the record keeps. The shown value stays within the field's
// 0 to 48, so that a stray value in the settings file is not mangled by the
// two-digit field.
inline constexpr int MaxTabChars = 48;
int TabCharsFromInterval(std::int32_t tabInterval);
std::int32_t TabIntervalFromChars(int chars);

// The mask list of the settings dialog: rows kept sorted without regard to
// case, as a sorted list box keeps them.
class TMaskList {
 public:
  // Rows in any order, each put in its sorted place.
  explicit TMaskList(const QStringList& rows = {});

  const QStringList& Rows() const { return FRows; }
  int Count() const { return static_cast<int>(FRows.size()); }
  QString FileMask() const { return JoinFileMask(FRows); }

  // The text a mask is added as: blanks removed at both ends.
  static QString MaskText(const QString& typed);
  // Whether Add may be pressed for Typed: it holds more than blanks.
  static bool CanAdd(const QString& typed);
  // Adds Typed's mask text in its sorted place unless an equal row (without
  // regard to case) is there; returns the new row's index or -1.
  int Add(const QString& typed);
  // Removes row Index; false when there is no such row.
  bool Delete(int index);

 private:
  // The sorted insertion point: after every row that sorts equal or before.
  int InsertPos(const QString& mask) const;
  void Insert(const QString& mask);

  QStringList FRows;
};
