#pragma once
// Reading and writing a document file whole: bytes to UTF-8 lines on the way
// in, normalised lines back to the file's own encoding on the way out.
#include <QString>
#include <functional>

#include "doc/checked_write.h"
#include "doc/text_lines.h"

enum class TTextEncoding { Utf8, Windows1252 };

// Reads the file and hands its bytes to feed in pieces, in order, and
// returns the encoding the file was in: UTF-8 when its bytes are valid
// UTF-8, else Windows-1252. Throws EInOutError with the system's reason when
// the file cannot be read or is not a regular file, and refuses a file that
// is not text before any of it is fed.
using TFeedBytes = std::function<void(const char* data, std::size_t size)>;
TTextEncoding ReadDocumentFile(const QString& fileName, const TFeedBytes& feed);

// Writes every line, normalised for saving with tabSize (as it stands when
// tabSize is 0 or less) and followed by CR LF, in the given encoding,
// through the checked write. Throws EInOutError when that fails or when a
// character has no place in the encoding; the file on disk is then left as
// it was.
void WriteDocumentFile(const QString& fileName, const TLines& lines, TTextEncoding encoding,
                       int tabSize, TWriteMode mode = TWriteMode::Replace);
void WriteDocumentFile(const QString& fileName, const TJoinedLines& lines, TTextEncoding encoding,
                       int tabSize, TWriteMode mode = TWriteMode::Replace);
