#include "site/site_check_view.h"

namespace {

const char* const ColumnTitles[CheckColumnCount] = {"Page", "Line", "Kind", "Message"};

template <typename Text>
int LeadingBlanks(const Text& line) {
  int n = 0;
  while (n < line.size() && (line[n] == ' ' || line[n] == '\t')) ++n;
  return n;
}

}  // namespace

void TCheckFindingsModel::SetFindings(std::vector<TCheckFinding> findings) {
  beginResetModel();
  FFindings = std::move(findings);
  endResetModel();
}

int TCheckFindingsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(FFindings.size());
}

int TCheckFindingsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : CheckColumnCount;
}

QVariant TCheckFindingsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= int(FFindings.size())) return {};
  const TCheckFinding& f = FFindings[std::size_t(index.row())];
  if (role == Qt::ToolTipRole) return CheckFindingLine(f);
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case ccPage:
      return f.Page;
    case ccLine:
      return f.Line;
    case ccKind:
      return CheckKindName(f.Kind);
    case ccMessage:
      return f.Message;
    default:
      return {};
  }
}

QVariant TCheckFindingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= CheckColumnCount)
    return QAbstractTableModel::headerData(section, orientation, role);
  return QString::fromLatin1(ColumnTitles[section]);
}

TCheckFindingsFilter::TCheckFindingsFilter(QObject* parent) : QSortFilterProxyModel(parent) {
  setSortCaseSensitivity(Qt::CaseInsensitive);
}

void TCheckFindingsFilter::SetKind(std::optional<TCheckKind> kind) {
  FKind = kind;
  invalidateFilter();
}

const TCheckFinding* TCheckFindingsFilter::FindingAt(int row) const {
  const auto* model = qobject_cast<const TCheckFindingsModel*>(sourceModel());
  const QModelIndex source = mapToSource(index(row, 0));
  if (!model || !source.isValid()) return nullptr;
  return &model->Findings()[std::size_t(source.row())];
}

std::vector<TCheckFinding> TCheckFindingsFilter::ShownFindings() const {
  std::vector<TCheckFinding> shown;
  shown.reserve(std::size_t(rowCount()));
  for (int row = 0; row < rowCount(); ++row) shown.push_back(*FindingAt(row));
  return shown;
}

bool TCheckFindingsFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
  if (!FKind) return true;
  const auto* model = qobject_cast<const TCheckFindingsModel*>(sourceModel());
  return model && model->Findings()[std::size_t(sourceRow)].Kind == *FKind;
}

QString CheckMaskFor(const QString& fileListMask) {
  QStringList patterns = fileListMask.split(u';', Qt::SkipEmptyParts);
  for (QString& p : patterns) p = p.trimmed();
  patterns.removeAll(QString());
  return patterns.size() == 1 ? patterns.front() : QStringLiteral("*.*");
}

void ApplyCheckSettings(const QString& indexPages, int imageLimitKb, TCheckOptions* options) {
  options->IndexPages = IndexPagesFromSetting(indexPages);
  if (imageLimitKb >= 0) options->ImageLimit = qint64(imageLimitKb) * 1024;
}

TCheckResult ShownResult(const TCheckResult& result, std::vector<TCheckFinding> shown) {
  TCheckResult copy = result;
  copy.Findings = std::move(shown);
  return copy;
}

TCheckKinds ShownKinds(const TCheckOptions& options, std::optional<TCheckKind> kind) {
  return kind ? KindBit(*kind) : options.Kinds;
}

QByteArray PageLine(const QByteArray& page, int line) {
  if (line < 1) return {};
  qsizetype start = 0;
  for (int n = 1; n < line; ++n) {
    while (start < page.size() && page[start] != '\r' && page[start] != '\n') ++start;
    if (start >= page.size()) return {};
    // CR LF is one break; a lone CR or LF is one too.
    start += (page[start] == '\r' && start + 1 < page.size() && page[start + 1] == '\n') ? 2 : 1;
  }
  qsizetype stop = start;
  while (stop < page.size() && page[stop] != '\r' && page[stop] != '\n') ++stop;
  return page.mid(start, stop - start);
}

int EditorColumn(const QByteArray& diskLine, int column, const QString& editorLine) {
  const int diskLead = LeadingBlanks(diskLine);
  const int editorLead = LeadingBlanks(editorLine);
  const int col = editorLead + std::max(0, column - 1 - diskLead);
  return std::clamp(col, 0, int(editorLine.size()));
}
