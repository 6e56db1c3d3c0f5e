#include "doc/edit_file_info.h"
#include "doc/file_names.h"

#include "doc/whitespace_rules.h"
#include "components/errors.h"
#include "site/date_func.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>

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

void TEditFileInfo::Load(const QString& Name) {
  TLines().swap(Baseline);
  FileName = FileExists(Name) ? Name : QString();
  try {
    Reload();
  } catch (const EInOutError&) {
    // The editor must not keep showing the previous document under no name.
    RaiseLoaded();
    RaiseChange();
    throw;
  }
  RaiseLoaded();
  RaiseChange();
}

void TEditFileInfo::Reload() {
  TLines().swap(Baseline);
  Encoding = TTextEncoding::Utf8;
  Modified = false;
  DiskStamp = {};
  if (FileName.isEmpty()) return;
  // Taken before the read: a change made during it shows as a change later.
  DiskStamp = FileStampOf(FileName);
  const int tabSize = EffectiveTabSize();
  // Each line is converted as it is split, while it is in the cache, and
  // stored at its converted size: the whitespace rules treat UTF-8 and
  // Windows-1252 bytes alike, so the encoding need not be known yet.
  auto addLine = [this, tabSize](TLines& lines, const char* data, std::size_t size) {
    std::string& line = lines.emplace_back();
    ConvertLineTo(data, size, tabSize, Conversion, line);
    if (DeleteEmptyLines && line.empty()) lines.pop_back();
  };
  try {
    Encoding = ReadDocumentFile(FileName, Baseline, addLine);
  } catch (const EInOutError&) {
    // No name stays behind, so a later save cannot write an empty document
    // over a file that merely could not be read.
    TLines().swap(Baseline);
    FileName.clear();
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
  if (FileName.isEmpty())
    throw EInOutError(QStringLiteral("Cannot save: no file is open."));
  const int tabSize = EffectiveTabSize();
  // The file is written from the normalised lines first and Baseline takes
  // them only after that succeeded, so a failed save changes nothing.
  WriteDocumentFile(FileName, Baseline, Encoding, tabSize, Mode);
  DiskStamp = FileStampOf(FileName);
  for (std::string& line : Baseline) NormaliseSavedLine(line, tabSize);
  Modified = false;
  RaiseChange();
}

TDiskChange TEditFileInfo::DiskChange() const {
  if (FileName.isEmpty()) return TDiskChange::None;
  const TFileStamp now = FileStampOf(FileName);
  if (now == DiskStamp) return TDiskChange::None;
  if (!now.Exists) return TDiskChange::Deleted;
  if (now.Device != DiskStamp.Device || now.Inode != DiskStamp.Inode)
    return TDiskChange::Replaced;
  return TDiskChange::Changed;
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
