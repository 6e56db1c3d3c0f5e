#include "site/askpass_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

#include "components/app_title.h"
#include "components/msg_func.h"
#include "config/dialog_frame.h"

TfrmAskPass::TfrmAskPass(const QString& prompt, QWidget* parent) : QDialog(parent) {
  setObjectName("frmAskPass");
  setWindowTitle("Quillmere - SSH");
  SetDialogFrame(this, {360, 150}, false);
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
  lblPrompt = new QLabel(prompt, this);
  lblPrompt->setObjectName("lblPrompt");
  lblPrompt->setGeometry(12, 12, 336, 56);
  lblPrompt->setWordWrap(true);
  edtPassword = new QLineEdit(this);
  edtPassword->setObjectName("edtPassword");
  edtPassword->setGeometry(12, 76, 336, 24);
  edtPassword->setEchoMode(QLineEdit::Password);
  edtPassword->setAccessibleName(prompt);
  bbtOK = new QPushButton("&OK", this);
  bbtOK->setObjectName("bbtOK");
  bbtOK->setGeometry(176, 112, 84, 28);
  bbtOK->setDefault(true);
  bbtCancel = new QPushButton("&Cancel", this);
  bbtCancel->setObjectName("bbtCancel");
  bbtCancel->setGeometry(268, 112, 84, 28);
  connect(bbtOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(bbtCancel, &QPushButton::clicked, this, &QDialog::reject);
  edtPassword->setFocus();
}

QString TfrmAskPass::Password() const { return edtPassword->text(); }

TAskPassAnswer AskPass(const QString& prompt, const QString& kind) {
  TAskPassAnswer answer;
  if (kind == QLatin1String("none")) {
    MsgInfo(prompt, "SSH");
    answer.Given = true;
    return answer;
  }
  const bool hostKey = prompt.contains(QLatin1String("(yes/no"));
  if (kind == QLatin1String("confirm") || hostKey) {
    answer.Given = MsgYesNo(prompt, "SSH") == mrYes;
    // The host key question wants the word typed; a confirm only the status.
    if (hostKey) {
      answer.Text = answer.Given ? QStringLiteral("yes") : QStringLiteral("no");
      answer.Given = true;
    }
    return answer;
  }
  TfrmAskPass dialog(prompt);
  answer.Given = dialog.exec() == QDialog::Accepted;
  if (answer.Given) answer.Text = dialog.Password();
  return answer;
}

int RunAskPassProgram(int argc, char** argv) {
  QApplication app(argc, argv);
  SetApplicationTitle("Quillmere");
  const QString prompt = QString::fromLocal8Bit(argc > 2 ? argv[2] : "");
  const TAskPassAnswer answer = AskPass(prompt, qEnvironmentVariable("SSH_ASKPASS_PROMPT"));
  if (!answer.Given) return 1;
  const QByteArray bytes = answer.Text.toUtf8() + '\n';
  std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
