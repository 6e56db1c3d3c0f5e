#pragma once
// The site window's rules, window-free: when Testpage may run, what a root
// field becomes on leaving it, where SaveAs writes and what, and how the
// total size is shown.
#include <QByteArray>
#include <QString>
#include <QStringList>

// The beginning every usable remote root has, in this case.
inline constexpr char RemoteRootPrefix[] = "http://www.";

// Testpage needs a listing and a remote root that begins with
// RemoteRootPrefix and has more after it.
bool TestPageAllowed(bool listed, const QString& remoteRoot);

// A root field's text on leaving it: "/" added when Wanted (always for the
// local root, for the remote root while Testpage may run), missing, and the
// text is not empty.
QString RootOnExit(const QString& text, bool wanted);

// SaveAs's target: FileName in LocalRoot when the last walk found files,
// otherwise none.
QString SaveAsTarget(const QString& localRoot, const QString& fileName, int fileCount);

// The pane as SaveAs writes it: UTF-8, every line ended by CR LF.
QByteArray OutputBytes(const QStringList& lines);

// "%10.0n": the locale's thousands separator, no decimals, right-aligned in
// 10 characters.
QString FormatTotalSize(quint64 size);
