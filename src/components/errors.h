#pragma once
// The failures that travel to the caller with a text for the user: a
// conversion error (a text that does not read as a value) and an
// input/output error (a file that cannot be read, written or dated).
#include <QString>
#include <stdexcept>

class EQuillmereError : public std::runtime_error {
 public:
  explicit EQuillmereError(const QString& message)
      : std::runtime_error(message.toStdString()), Message(message) {}
  QString Message;
};

class EConvertError : public EQuillmereError {
 public:
  using EQuillmereError::EQuillmereError;
};

class EInOutError : public EQuillmereError {
 public:
  using EQuillmereError::EQuillmereError;
};
