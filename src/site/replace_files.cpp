#include "site/replace_files.h"

#include <QDir>
#include <optional>

#include "components/file_names.h"
#include "components/text_codec.h"
#include "search/byte_search.h"
#include "site/site_change.h"
#include "site/site_files.h"
#include "site/site_journal.h"

namespace {

constexpr int MaxShownLine = 200;

bool IsAscii(const QByteArray& bytes) {
  for (const char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

// The byte forms of the find and replacement texts for one file: the same
// for every file when both are ASCII, else in the file's own encoding.
struct TForms {
  std::optional<TBytePattern> Pattern;
  QByteArray Find, Replacement;
  QString Problem;
};

TForms FormsFor(const QByteArray& text, const TReplaceOptions& o) {
  TForms f;
  QByteArray find = o.Find.toUtf8(), repl = o.Replacement.toUtf8();
  if ((!IsAscii(find) || !IsAscii(repl)) && !IsValidUtf8(View(text))) {
    std::string a, b;
    // A find text the file's code page cannot hold cannot occur in it.
    if (!Utf8ToWindows1252(View(find), a)) return f;
    if (!Utf8ToWindows1252(View(repl), b)) {
      f.Problem = QStringLiteral(
          "the replacement holds characters this file's encoding "
          "(Windows-1252) cannot hold");
      return f;
    }
    find = QByteArray::fromStdString(a);
    repl = QByteArray::fromStdString(b);
  }
  if (find.isEmpty()) return f;
  f.Pattern.emplace(find.toStdString(), o.CaseSensitive);
  f.Find = find;
  f.Replacement = repl;
  return f;
}

QString ShownLine(const QByteArray& text, std::size_t from, std::size_t to) {
  const QByteArray line = text.mid(qsizetype(from), qsizetype(to - from));
  QString shown = IsValidUtf8(View(text)) ? QString::fromUtf8(line)
                                          : QString::fromStdString(Windows1252ToUtf8(View(line)));
  if (shown.size() > MaxShownLine) shown = shown.left(MaxShownLine) + QChar(0x2026);
  return shown;
}

// Counts the hits of Forms in Text, noting the first ones with their lines.
int CountHits(const QByteArray& text, const TForms& forms, std::vector<TReplaceHit>* first) {
  if (!forms.Pattern) return 0;
  const char* data = text.constData();
  const std::size_t size = std::size_t(text.size());
  int hits = 0;
  qint64 line = 1;
  std::size_t counted = 0, lastLineStart = std::string::npos;
  for (std::size_t at = forms.Pattern->Find(data, size, 0); at != std::string::npos;
       at = forms.Pattern->Find(data, size, at + std::size_t(forms.Find.size()))) {
    ++hits;
    if (!first || first->size() >= std::size_t(MaxPreviewHits)) continue;
    line += qint64(CountLineBreaks(data, counted, at, counted ? data[counted - 1] : 0));
    counted = at;
    std::size_t start = at;
    while (start > 0 && data[start - 1] != '\r' && data[start - 1] != '\n') --start;
    if (start == lastLineStart) continue;  // one entry per line
    lastLineStart = start;
    first->push_back({line, ShownLine(text, start, FindLineBreak(data, size, at))});
  }
  return hits;
}

QByteArray ReplaceWith(const QByteArray& text, const TForms& forms, int* count) {
  *count = 0;
  if (!forms.Pattern) return text;
  const char* data = text.constData();
  const std::size_t size = std::size_t(text.size());
  QByteArray out;
  std::size_t from = 0;
  for (std::size_t at = forms.Pattern->Find(data, size, 0); at != std::string::npos;
       at = forms.Pattern->Find(data, size, from)) {
    if (out.isEmpty()) out.reserve(text.size() + 64);
    out.append(data + from, qsizetype(at - from));
    out.append(forms.Replacement);
    from = at + std::size_t(forms.Find.size());
    ++*count;
  }
  if (*count == 0) return text;
  out.append(data + from, qsizetype(size - from));
  return out;
}

// The text as the boxes show it: tab, CR and LF as their escape codes.
QString ShownEscapes(QString text) {
  return text.replace(u'\t', QLatin1String("%009"))
      .replace(u'\r', QLatin1String("%013"))
      .replace(u'\n', QLatin1String("%010"));
}

}  // namespace

int TReplacePreview::TotalHits() const {
  int total = 0;
  for (const TReplaceFile& f : Files) total += f.Hits;
  return total;
}

QByteArray ReplaceInText(const QByteArray& text, const TReplaceOptions& options, int* count,
                         QString* problem) {
  const TForms forms = FormsFor(text, options);
  if (problem) *problem = forms.Problem;
  return ReplaceWith(text, forms, count);
}

TReplacePreview PreviewReplace(const QString& root, const TReplaceOptions& options,
                               const TReplaceProgress& progress) {
  TReplacePreview preview;
  preview.Root = TSiteJournal::RootKey(root);
  preview.Options = options;
  const QStringList paths = SiteFiles(preview.Root, options.Mask, options.SubDirs);
  for (qsizetype i = 0; i < paths.size(); ++i) {
    if (progress && !progress(int(i), int(paths.size()))) break;
    QString reason;
    const auto text = ReadSiteFile(paths[i], &reason);
    if (!text) {
      preview.Problems << RelativeToRoot(paths[i], preview.Root) + QStringLiteral(": ") + reason;
      continue;
    }
    const TForms forms = FormsFor(*text, options);
    TReplaceFile file;
    file.Hits = CountHits(*text, forms, &file.FirstHits);
    if (file.Hits == 0) continue;
    if (!forms.Problem.isEmpty()) {
      preview.Problems << RelativeToRoot(paths[i], preview.Root) + QStringLiteral(": ") +
                              forms.Problem;
      continue;
    }
    // A replacement equal to the hit changes nothing (case folding aside).
    int n = 0;
    if (ReplaceWith(*text, forms, &n) == *text) continue;
    file.Path = paths[i];
    file.Stamp = FileStampOf(paths[i]);
    file.Print = TSiteJournal::Fingerprint(*text);
    preview.Files.push_back(std::move(file));
  }
  return preview;
}

TReplaceResult ApplyReplace(const TReplacePreview& preview, const std::vector<int>& chosen) {
  std::vector<TChangeItem> items;
  for (const int i : chosen) {
    const TReplaceFile& pf = preview.Files[std::size_t(i)];
    const TReplaceOptions& o = preview.Options;
    items.push_back({pf.Path, [&pf, &o](const QByteArray& now, QString* why) {
                       int count = 0;
                       QByteArray changed = ReplaceInText(now, o, &count);
                       if (TSiteJournal::Fingerprint(now) != pf.Print || count != pf.Hits) {
                         *why = QStringLiteral("changed on disk since the preview");
                         return std::optional<QByteArray>();
                       }
                       return std::optional<QByteArray>(std::move(changed));
                     }});
  }
  const QString what =
      QStringLiteral("Replace \"%1\" by \"%2\"")
          .arg(ShownEscapes(preview.Options.Find), ShownEscapes(preview.Options.Replacement));
  return ApplySiteChange(preview.Root, QStringLiteral("replace"), what, items);
}
