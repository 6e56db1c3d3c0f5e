#include "doc/edit_file_info.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <bit>
#include <cerrno>

#include "components/date_func.h"
#include "components/errors.h"
#include "components/file_names.h"
#include "components/text_codec.h"
#include "doc/load_converter.h"
#include "doc/stale_temporaries.h"
#include "doc/whitespace_rules.h"

namespace {

// Only a name that is certainly absent counts as no file; any other doubt is
// left to the read, which reports it.
bool FileExists(const QString& name) {
  if (name.isEmpty()) return false;
  struct stat info {};
  if (::stat(PathBytes(name).constData(), &info) == 0) return true;
  return errno != ENOENT && errno != ENOTDIR;
}

}  // namespace

void TEditFileInfo::SetTabSize(int TabInterval) {
  const int columns = TabInterval / 4;
  TabSize = columns > 0 ? columns : 32;
}

bool TEditFileInfo::Load(const QString& Name, const std::function<bool()>& Accept) {
  Baseline.Clear();
  FileName = FileExists(Name) ? Name : QString();
  try {
    Reload();
  } catch (const EInOutError&) {
    // The editor must not keep showing the previous document under no name.
    RaiseLoaded();
    RaiseChange();
    throw;
  }
  if (!FileName.isEmpty() && Accept && !Accept()) {
    Baseline.Clear();
    FDeletedLines.clear();
    FileName.clear();
    FLongestLine = 0;
    DiskStamp = {};
    return false;
  }
  RaiseLoaded();
  RaiseChange();
  return true;
}

void TEditFileInfo::Reload() {
  Baseline.Clear();
  FDeletedLines.clear();
  FLongestLine = 0;
  Encoding = TTextEncoding::Utf8;
  Modified = false;
  DiskStamp = {};
  if (FileName.isEmpty()) return;
  // Taken before the read: a change made during it shows as a change later.
  DiskStamp = FileStampOf(FileName);
  // Each line is converted as it is split, while it is in the cache, and
  // written once, at its converted size: the whitespace rules treat UTF-8
  // and Windows-1252 bytes alike, so the encoding need not be known yet.
  TLoadConverter converter(Baseline, FDeletedLines, EffectiveTabSize(), Conversion,
                           DeleteEmptyLines);
  ++FReads;
  // Room for the file and a line break more on every 32 bytes, so that the
  // text is not copied while it grows.
  const std::size_t size = static_cast<std::size_t>(std::max<qint64>(DiskStamp.Size, 0));
  try {
    try {
      Baseline.Reserve(size + size / 32 + 64);
      Encoding = ReadDocumentFile(
          FileName, [&converter](const char* data, std::size_t n) { converter.Feed(data, n); });
      converter.Finish();
      FLongestLine = static_cast<qint64>(converter.LongestLine());
      if (Encoding == TTextEncoding::Windows1252) Windows1252ToUtf8InPlace(Baseline.Text());
    } catch (const std::bad_alloc&) {
      throw EInOutError(
          QStringLiteral("Cannot read \"%1\": there is not enough memory").arg(FileName));
    }
  } catch (const EInOutError&) {
    // No name stays behind, so a later save cannot write an empty document
    // over a file that merely could not be read.
    Baseline.Clear();
    FDeletedLines.clear();
    FileName.clear();
    FLongestLine = 0;
    Encoding = TTextEncoding::Utf8;
    DiskStamp = {};
    throw;
  }
}

bool TEditFileInfo::Convert(TLines& Lines) const {
  const std::size_t count = Lines.size();
  bool changed = false;
  std::string before;
  for (std::string& line : Lines) {
    if (!changed) before = line;
    ConvertLine(line, EffectiveTabSize(), Conversion);
    changed = changed || line != before;
  }
  ConvertLines(Lines, EffectiveTabSize(), 2, DeleteEmptyLines);
  return changed || Lines.size() != count;
}

void TEditFileInfo::Save(TWriteMode Mode) {
  if (FileName.isEmpty()) throw EInOutError(QStringLiteral("Cannot save: no file is open."));
  // A save cut short by a kill may have left a temporary beside the page.
  CleanStaleTemporaries(QFileInfo(FileName).absolutePath());
  const int tabSize = EffectiveTabSize();
  // The file is written from the normalised lines first and Baseline takes
  // them only after that succeeded, so a failed save changes nothing.
  WriteDocumentFile(FileName, Baseline, Encoding, tabSize, Mode);
  DiskStamp = FileStampOf(FileName);
  Baseline.ShrinkEach([tabSize](const char* data, std::size_t size, char* out) {
    return NormaliseSavedLine(data, size, tabSize, out);
  });
  // The file now holds Baseline line for line.
  FDeletedLines.clear();
  Modified = false;
  RaiseChange();
}

TDiskChange TEditFileInfo::DiskChange() const {
  if (FileName.isEmpty()) return TDiskChange::None;
  const TFileStamp now = FileStampOf(FileName);
  if (now == DiskStamp) return TDiskChange::None;
  if (!now.Exists) return TDiskChange::Deleted;
  if (now.Device != DiskStamp.Device || now.Inode != DiskStamp.Inode) return TDiskChange::Replaced;
  return TDiskChange::Changed;
}

qint64 TEditFileInfo::LoadedLine(qint64 DiskLine) const {
  if (DiskLine <= 1 || FDeletedLines.empty()) return DiskLine;
  // Deleted lines before DiskLine, whose bit index is DiskLine - 1.
  const std::size_t before = static_cast<std::size_t>(DiskLine - 1);
  qint64 deleted = 0;
  const std::size_t words = std::min(before / 64, FDeletedLines.size());
  for (std::size_t i = 0; i < words; ++i) deleted += std::popcount(FDeletedLines[i]);
  if (words < FDeletedLines.size() && before % 64)
    deleted += std::popcount(FDeletedLines[words] & ((std::uint64_t(1) << (before % 64)) - 1));
  return DiskLine - deleted;
}

void TEditFileInfo::SetModified(bool Value) {
  Modified = Value;
  RaiseChange();
}

void TEditFileInfo::RaiseLoaded() {
  if (OnLoaded) OnLoaded();
}

void TEditFileInfo::RaiseChange() {
  if (OnChange) OnChange();
}

QString TEditFileInfo::FileDateText() const {
  if (FileName.isEmpty()) return {};
  return DateTimeToDateTimeStr(GetFileDate(FileName));
}
