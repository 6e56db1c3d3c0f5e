#pragma once
// The document being edited: its path, its lines as loaded or last saved, the
// modified flag and the whitespace rules applied on loading and saving. The
// main window owns the one instance, FileInfo.
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "doc/document_file.h"
#include "doc/file_helpers.h"
#include "doc/text_lines.h"
#include "doc/whitespace_rules.h"

// What another program did to the open file since it was loaded or saved.
enum class TDiskChange { None, Changed, Deleted, Replaced };

class TEditFileInfo {
 public:
  TEditFileInfo() = default;

  QString FileName;                      // empty when no file is open
  bool Modified = false;                 // edited since loaded, saved or restored
  TJoinedLines Baseline;                 // UTF-8 lines as loaded and converted, or as last saved
  std::int32_t TabSize = 32;             // columns one tab stands for
  std::uint8_t Conversion = convToTabs;  // on loading, a TConversion or above
  bool DeleteEmptyLines = false;
  TTextEncoding Encoding = TTextEncoding::Utf8;  // how the file was read, and is written
  TFileStamp DiskStamp;                          // the file as loaded or last saved
  std::function<void()> OnLoaded;                // after a load
  std::function<void()> OnChange;                // after a load, a save and every SetModified

  // TabInterval is in quarter characters; below one character gives 32.
  void SetTabSize(int TabInterval);
  // Opens Name, or no file when none of that name exists. A file that exists
  // but cannot be read leaves no file open, raises the events so the window
  // shows that, and throws EInOutError. Accept, when given, is asked after
  // the read and before the events (LongestLine is known then): false drops
  // what was read without raising them, leaves no file open and returns false.
  bool Load(const QString& Name, const std::function<bool()>& Accept = {});
  // Reads FileName again; on failure no file is open and EInOutError is thrown.
  void Reload();
  // Applies the loading conversion to Lines in place; true when it changed
  // or removed any line.
  bool Convert(TLines& Lines) const;
  // Normalises Baseline and writes it to FileName in the encoding it was
  // read in. On failure it throws EInOutError and the file on disk,
  // Baseline and Modified stay as they were.
  void Save(TWriteMode Mode = TWriteMode::Replace);
  void SetModified(bool Value);
  // Compares the file on disk with DiskStamp; None when no file is open.
  TDiskChange DiskChange() const;
  int LineCount() const { return static_cast<int>(Baseline.size()); }
  // The 1-based line of Baseline that shows the loaded file's 1-based line
  // DiskLine: deleting empty lines on loading moves every later line up. A
  // deleted line gives the line that follows it.
  qint64 LoadedLine(qint64 DiskLine) const;
  // Reads of the file since this record was made (loads and reloads).
  int ReadCount() const { return FReads; }
  // Bytes of the file's longest line as last read, its line break not
  // counted; 0 when no file is open.
  qint64 LongestLine() const { return FLongestLine; }
  // The file's last-write date and time, "dd-mm-yyyy hh:nn"; empty when no
  // file is open.
  QString FileDateText() const;

 private:
  int EffectiveTabSize() const { return TabSize > 0 ? TabSize : 32; }
  void RaiseLoaded();
  void RaiseChange();

  // One bit per line of the file as loaded, set where an empty line was
  // deleted; empty when none was. A bit a line keeps even a page of 25
  // million empty lines small.
  std::vector<std::uint64_t> FDeletedLines;
  int FReads = 0;
  qint64 FLongestLine = 0;
};
