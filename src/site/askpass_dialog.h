#pragma once
// quillmere --askpass PROMPT: the small dialog ssh starts (SSH_ASKPASS) when
// it needs a password, a passphrase or a yes to a new host key while
// Quillmere publishes. The answer goes to standard output, a pipe that ssh
// reads; it is never put on a command line or into a file.
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmAskPass : public QDialog {
  Q_OBJECT
 public:
  // A Question shows Yes and No and no field; the window grows to show
  // the whole prompt (ssh's host key text runs to six lines).
  TfrmAskPass(const QString& prompt, bool question, QWidget* parent = nullptr);
  QString Password() const;

 private:
  QLabel* lblPrompt = nullptr;
  QLineEdit* edtPassword = nullptr;
  QPushButton *bbtOK = nullptr, *bbtCancel = nullptr;
};

struct TAskPassAnswer {
  bool Given = false;  // false: the user cancelled or said No
  QString Text;        // what ssh reads (without the line end)
};

// Asks Prompt the way ssh means it: Kind is SSH_ASKPASS_PROMPT ("confirm"
// for a yes or no, "none" for a notice, empty for a text to type). A host
// key question ("... (yes/no/[fingerprint])?") becomes a Yes/No question.
TAskPassAnswer AskPass(const QString& prompt, const QString& kind);

// The whole program for "quillmere --askpass PROMPT"; its exit status.
int RunAskPassProgram(int argc, char** argv);
