#include "doc/loaded_line.h"

#include "doc/document_file.h"
#include "doc/whitespace_rules.h"
#include "components/errors.h"

qint64 LoadedLineOf(const QString& fileName, qint64 diskLine, int tabSize,
                    std::uint8_t conversion, bool deleteEmptyLines) {
  if (!deleteEmptyLines || diskLine <= 1) return diskLine;
  qint64 seen = 0, deleted = 0;
  std::string converted;
  // Lines are judged as they are read and never kept.
  auto countLine = [&](TLines&, const char* data, std::size_t size) {
    if (++seen >= diskLine) return;
    ConvertLineTo(data, size, tabSize, conversion, converted);
    if (converted.empty()) ++deleted;
  };
  TLines none;
  try {
    ReadDocumentFile(fileName, none, countLine);
  } catch (const EInOutError&) {
    return diskLine;
  }
  return diskLine - deleted;
}
