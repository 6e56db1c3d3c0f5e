#include "site/askpass_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

#include "components/app_title.h"
#include "components/msg_func.h"
#include "config/dialog_frame.h"

TfrmAskPass::TfrmAskPass(const QString& prompt, bool question, QWidget* parent) : QDialog(parent) {
  setObjectName("frmAskPass");
  setWindowTitle("Quillmere - SSH");
  constexpr int width = 480, margin = 12, buttonHeight = 28;
  SetDialogFrame(this, {width, 100}, false);
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
  lblPrompt = new QLabel(prompt, this);
  lblPrompt->setObjectName("lblPrompt");
  lblPrompt->setWordWrap(true);
  lblPrompt->setTextInteractionFlags(Qt::TextSelectableByMouse);
  const int textHeight =
      lblPrompt->fontMetrics()
          .boundingRect(QRect(0, 0, width - 2 * margin, 10000), Qt::TextWordWrap, prompt)
          .height();
  lblPrompt->setGeometry(margin, margin, width - 2 * margin, textHeight);
  int y = margin + textHeight + 8;
  edtPassword = new QLineEdit(this);
  edtPassword->setObjectName("edtPassword");
  edtPassword->setGeometry(margin, y, width - 2 * margin, 24);
  edtPassword->setEchoMode(QLineEdit::Password);
  edtPassword->setAccessibleName(prompt);
  edtPassword->setVisible(!question);
  if (!question) y += 24 + 12;
  bbtOK = new QPushButton(question ? "&Yes" : "&OK", this);
  bbtOK->setObjectName("bbtOK");
  bbtOK->setGeometry(width - 2 * (84 + 8) - 4, y, 84, buttonHeight);
  bbtCancel = new QPushButton(question ? "&No" : "&Cancel", this);
  bbtCancel->setObjectName("bbtCancel");
  bbtCancel->setGeometry(width - 84 - margin, y, 84, buttonHeight);
  // A question is answered No by Enter, as every question here is.
  (question ? bbtCancel : bbtOK)->setDefault(true);
  connect(bbtOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(bbtCancel, &QPushButton::clicked, this, &QDialog::reject);
  setFixedSize(width, y + buttonHeight + margin);
  (question ? static_cast<QWidget*>(bbtCancel) : edtPassword)->setFocus();
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
  const bool question = kind == QLatin1String("confirm") || hostKey;
  TfrmAskPass dialog(prompt, question);
  answer.Given = dialog.exec() == QDialog::Accepted;
  if (hostKey) {
    // The host key question wants the word typed; a confirm only the status.
    answer.Text = answer.Given ? QStringLiteral("yes") : QStringLiteral("no");
    answer.Given = true;
  } else if (answer.Given && !question) {
    answer.Text = dialog.Password();
  }
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
