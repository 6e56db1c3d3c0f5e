#pragma once
// Where a line of a file on disk lands in the document as loaded: deleting
// empty lines on loading moves every later line up.
#include <QString>
#include <cstdint>

// The 1-based line of the loaded document that shows the file's 1-based
// line diskLine, for a load with the given tab size, conversion and
// empty-line rule. When diskLine itself is deleted, the line that follows
// it; diskLine unchanged when no line goes or the file cannot be read.
qint64 LoadedLineOf(const QString& fileName, qint64 diskLine, int tabSize,
                    std::uint8_t conversion, bool deleteEmptyLines);
