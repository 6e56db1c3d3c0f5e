#pragma once
// The component library's one-key settings-file helpers, used by the note
// window and the Tools maintenance dialog.
#include <QString>

// The value of Ident in [Section] of FileName, or Default when it is absent;
// with an empty Section or Ident, Default without touching the file.
QString ReadIniStr(const QString& section, const QString& ident, const QString& def,
                   const QString& fileName);
// Writes Ident=Value into [Section] of FileName; with an empty Section or
// Ident nothing is written (a key line without a name, or without a section,
// would only be junk in the file). Throws EInOutError "Unable to write to
// <FileName>" when the file cannot be replaced.
void WriteIniStr(const QString& section, const QString& ident, const QString& value,
                 const QString& fileName);
