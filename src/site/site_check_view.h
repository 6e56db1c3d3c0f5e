#pragma once
// What the site check's window shows and does, window-free: the findings as
// a table model with a filter by kind, what "Save as…" writes of them, and
// where a finding lands in the editor, whose page may have had its leading
// whitespace converted when it was loaded.
#include <QAbstractTableModel>
#include <QByteArray>
#include <QSortFilterProxyModel>
#include <optional>
#include <vector>

#include "site/site_check.h"

// The table's columns, in order.
enum TCheckColumn : int { ccPage, ccLine, ccKind, ccMessage, CheckColumnCount };

// The findings of one check, one row each, in the order the check gave them.
class TCheckFindingsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void SetFindings(std::vector<TCheckFinding> findings);
  const std::vector<TCheckFinding>& Findings() const { return FFindings; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  // The line is a number, so that it sorts as one; Qt::ToolTipRole gives the
  // whole finding as the command prints it, for every cell.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::vector<TCheckFinding> FFindings;
};

// The rows of one kind, or all; sorting keeps the check's order among
// equal rows.
class TCheckFindingsFilter : public QSortFilterProxyModel {
  Q_OBJECT
 public:
  explicit TCheckFindingsFilter(QObject* parent = nullptr);

  // Nothing: every kind.
  void SetKind(std::optional<TCheckKind> kind);
  std::optional<TCheckKind> Kind() const { return FKind; }
  // The finding shown in Row of this model.
  const TCheckFinding* FindingAt(int row) const;
  // The shown findings, in the shown order.
  std::vector<TCheckFinding> ShownFindings() const;

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  std::optional<TCheckKind> FKind;
};

// The pattern the check takes for the file list's mask: a single pattern
// stays; a list ("*.htm*;*.css;") becomes "*.*", every page and style sheet,
// since the check walks by one pattern.
QString CheckMaskFor(const QString& fileListMask);
// The settings record's index pages (";" between them) and image limit in
// KB into Options; a limit below 0 keeps the default.
void ApplyCheckSettings(const QString& indexPages, int imageLimitKb, TCheckOptions* options);
// Result with only Shown as its findings, and the kinds whose counts a
// report of them gives: Kind alone, or all the check looked for.
TCheckResult ShownResult(const TCheckResult& result, std::vector<TCheckFinding> shown);
TCheckKinds ShownKinds(const TCheckOptions& options, std::optional<TCheckKind> kind);

// The 1-based line Line of Page's bytes (lines end in CR LF, CR or LF),
// without its line break; empty past the end.
QByteArray PageLine(const QByteArray& page, int line);
// The 0-based character of EditorLine that shows the 1-based Column of
// DiskLine, where loading converted the leading blanks and tabs of the line
// and kept the rest. A column inside the leading whitespace goes to the
// first character after it; the result stays within the line.
int EditorColumn(const QByteArray& diskLine, int column, const QString& editorLine);
