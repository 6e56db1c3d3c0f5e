#pragma once
// Reading and writing a document file whole: bytes to UTF-8 lines on the way
// in, normalised lines back to the file's own encoding on the way out.
#include "doc/checked_write.h"
#include "doc/text_lines.h"

#include <QString>

enum class TTextEncoding { Utf8, Windows1252 };

// Appends the file's lines to lines as UTF-8 and returns the encoding the
// file was in: UTF-8 when its bytes are valid UTF-8, else Windows-1252.
// addLine, when given, adds each line in place of a plain append; it sees
// the file's bytes, which differ from UTF-8 only above 127. Throws
// EInOutError with the system's reason when the file cannot be read or is
// not a regular file.
TTextEncoding ReadDocumentFile(const QString& fileName, TLines& lines,
                               const TAddLine& addLine = {});

// Writes every line, normalised for saving with tabSize (as it stands when
// tabSize is 0 or less) and followed by CR LF, in the given encoding,
// through the checked write. Throws EInOutError when that fails or when a
// character has no place in the encoding; the file on disk is then left as
// it was.
void WriteDocumentFile(const QString& fileName, const TLines& lines, TTextEncoding encoding,
                       int tabSize, TWriteMode mode = TWriteMode::Replace);
void WriteDocumentFile(const QString& fileName, const TJoinedLines& lines,
                       TTextEncoding encoding, int tabSize,
                       TWriteMode mode = TWriteMode::Replace);

// Length in bytes of the file's longest line (line breaks not counted), or
// -1 when the file cannot be read.
qint64 LongestLineBytes(const QString& fileName);
