#pragma once
// Small path and file routines shared by the document, the file commands,
// the settings and the folder-tree engine. "/" is the path separator.
#include <QString>

// Path with "/" appended unless it already ends in one; empty stays empty.
QString AddBackslash(const QString& Path);
// Path without a trailing "/"; the root "/" itself is kept.
QString DelBackslash(const QString& Path);
// True when Path is a folder that exists and can be entered. A path that
// begins with two separators is a network path and fails. The process's
// current folder is never changed.
bool DriveReady(const QString& Path);
// Creates every missing folder above Name, then Name itself, empty (an
// existing file is emptied). False for an empty Name or on any failure.
bool CreateEmptyFile(const QString& Name);
// Copies Source to Target, never overwriting: false, and nothing written,
// when Target exists or anything fails. The copy is written to a temporary
// file beside Target and moved into place only when complete, so no
// half-written Target is ever seen. Permission bits follow Source.
bool CopyFileTo(const QString& Source, const QString& Target);
// True when both names reach one and the same file (through links, hard
// links or another spelling of the path); false when either is missing.
bool SameFile(const QString& A, const QString& B);
// What identifies a file's state on disk: a change by another program
// changes the time or size, a replacement the device or inode.
struct TFileStamp {
  bool Exists = false;
  qint64 MTimeNs = 0;
  qint64 Size = 0;
  quint64 Device = 0;
  quint64 Inode = 0;
  bool operator==(const TFileStamp&) const = default;
};
// The stamp of the file Name reaches (links followed); Exists false when none.
TFileStamp FileStampOf(const QString& Name);
// Size in bytes of the file, or -1 when it cannot be opened for reading
// (missing, unreadable, a folder).
qint64 FileSizeOf(const QString& Name);
// The last-write time stamp of the entry Name (a file or a folder), as
// whole seconds since 1970-01-01 00:00 UTC, or -1 when there is no such
// entry. Comparable and storable, not meant for display (see GetFileDate).
qint64 FileTimeOf(const QString& Name);
