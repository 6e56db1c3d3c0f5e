#include "components/post_it.h"

#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <algorithm>
#include <utility>

#include "components/desktop.h"
#include "components/errors.h"
#include "components/msg_func.h"
#include "config/ini_helpers.h"

// ---- TZELPostIt ----

TZELPostIt::TZELPostIt(QWidget* parent) : QAbstractButton(parent) {
  setText(QStringLiteral("&Memo..."));
  setFocusPolicy(Qt::NoFocus);
  resize(60, 22);
  // Handlers run in the order they were connected, this one first; the note
  // opens once the click has reached them all: in event() after a mouse or
  // key click, posted after a click() by code.
  connect(this, &QAbstractButton::clicked, this, [this] {
    FClicked = true;
    QMetaObject::invokeMethod(this, &TZELPostIt::OpenAfterClick, Qt::QueuedConnection);
  });
}

bool TZELPostIt::event(QEvent* e) {
  const bool result = QAbstractButton::event(e);
  OpenAfterClick();
  return result;
}

void TZELPostIt::OpenAfterClick() {
  if (!std::exchange(FClicked, false)) return;
  FOpen = true;
  update();
  Execute();
  FOpen = false;
  update();
}

void TZELPostIt::SetColor(const QColor& value) {
  FColor = value;
  update();
}

void TZELPostIt::SetAlignment(Qt::Alignment value) {
  FAlignment = value;
  update();
}

void TZELPostIt::SetCornerLines(int value) {
  FCornerLines = std::max(value, 1);
  update();
}

void TZELPostIt::SetCornerGap(int value) {
  FCornerGap = std::max(value, 1);
  update();
}

void TZELPostIt::SetPosition(TPIPosition value) {
  FPosition = value;
  if (value != poDesigned) ComputePlace();
}

void TZELPostIt::SetINIFile(const QString& fileName) {
  FINIFile = fileName;
  FSection = PostItSection(objectName());
}

void TZELPostIt::SetPILeft(int value) {
  FPILeft = value;
  FPosition = poDesigned;
}

void TZELPostIt::SetPITop(int value) {
  FPITop = value;
  FPosition = poDesigned;
}

void TZELPostIt::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  const bool muted = !isEnabled() || FOpen;
  const QColor fill = muted ? pal.color(QPalette::Button) : FColor;
  p.setPen(pal.color(QPalette::Shadow));      // the thin window border
  p.drawRect(rect().adjusted(0, 0, -1, -1));  // a QRect outline covers its right edge + 1
  const QRect r = rect().adjusted(1, 1, -1, -1);
  p.fillRect(r, fill);
  p.setPen(pal.color(QPalette::Light));
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(pal.color(QPalette::Dark));
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
  p.setPen(QColor::fromRgb(fill.rgb() ^ 0xFFFFFF));
  const QRect in = r.adjusted(1, 1, -1, -1);
  for (int i = 0; i <= FCornerLines; ++i)
    p.drawLine(in.right() - i * FCornerGap, in.bottom(), in.right(), in.bottom() - i * FCornerGap);
  p.setPen(muted ? QColor(221, 221, 221) : pal.color(QPalette::ButtonText));
  // The caption keeps clear of the corner lines; cut short if it must.
  const QRect textRect = in.adjusted(2, 0, -2 - CornerExtent(), 0);
  const int flags = Qt::TextSingleLine | Qt::TextShowMnemonic;
  p.drawText(textRect, int(FAlignment | Qt::AlignVCenter) | flags,
             fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width(), flags));
}

QSize TZELPostIt::sizeHint() const {
  // Room for the caption beside the corner lines, at least the designed size.
  const int caption = fontMetrics().horizontalAdvance(QString(text()).remove(QLatin1Char('&')));
  return {std::max(60, caption + 8 + CornerExtent() + 2), 22};
}

void TZELPostIt::LoadPlace() {
  if (FINIFile.isEmpty()) return;
  auto read = [this](const char* key, int current) {
    return IniIntOr(ReadIniStr(FSection, QLatin1String(key), QString::number(current), FINIFile),
                    current);
  };
  if (FPosition == poDesigned) {
    FPITop = read("Top", FPITop);
    FPILeft = read("Left", FPILeft);
  }
  PIHeight = read("Height", PIHeight);
  PIWidth = read("Width", PIWidth);
}

void TZELPostIt::ComputePlace() {
  const QSize note(PIWidth, PIHeight);
  const QSize screen = Desktop().ScreenSize();
  QPoint at;
  if (FPosition == poAutoPos)
    at = PostItAutoPos(QRect(mapToGlobal(QPoint(0, 0)), size()), note, screen);
  else if (FPosition == poScreenCenter)
    at = PostItCenterPos(note, screen);
  else
    return;
  FPILeft = at.x();
  FPITop = at.y();
}

void TZELPostIt::SavePlace() {
  if (FINIFile.isEmpty()) return;
  try {
    WriteIniStr(FSection, QStringLiteral("Top"), QString::number(FPITop), FINIFile);
    WriteIniStr(FSection, QStringLiteral("Left"), QString::number(FPILeft), FINIFile);
    WriteIniStr(FSection, QStringLiteral("Height"), QString::number(PIHeight), FINIFile);
    WriteIniStr(FSection, QStringLiteral("Width"), QString::number(PIWidth), FINIFile);
  } catch (const EInOutError&) {
    MsgInfo(QStringLiteral("Niet in staat instellingen op te slaan in ") + FINIFile,
            QStringLiteral("Schrijfbeveiling"));
  }
}

void TZELPostIt::Execute() {
  LoadPlace();
  ComputePlace();
  if (OnBeforeOpen) OnBeforeOpen(this);
  {
    TfrmPostIt frm(*this);
    frm.exec();
    FPILeft = frm.x();
    FPITop = frm.y();
    PIWidth = frm.width();
    PIHeight = frm.height();
  }
  SavePlace();
  if (OnAfterClose) OnAfterClose(this);
}

// ---- TfrmPostIt ----

namespace {

void Colour(QWidget* w, const QColor& c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, c);
  pal.setColor(QPalette::Base, c);
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

constexpr int ButtonPanelHeight = 39;

}  // namespace

TfrmPostIt::TfrmPostIt(TZELPostIt& owner) : QDialog(owner.window()), FOwner(owner) {
  setObjectName(QStringLiteral("frmPostIt"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(QLatin1Char(' ') + owner.PICaption);
  setFont(owner.font());
  Colour(this, QColor(255, 255, 0));
  pnlPostIt = new QFrame(this);
  pnlPostIt->setObjectName(QStringLiteral("pnlPostIt"));
  pnlPostIt->setFrameStyle(QFrame::Box | QFrame::Plain);
  memPostIt = new QPlainTextEdit(pnlPostIt);
  memPostIt->setObjectName(QStringLiteral("memPostIt"));
  pnlButtons = new QFrame(pnlPostIt);
  pnlButtons->setObjectName(QStringLiteral("pnlButtons"));
  bbtClose = new QPushButton(QStringLiteral("&Sluit"), pnlButtons);
  bbtClose->setObjectName(QStringLiteral("bbtClose"));
  bbtClose->setToolTip(QStringLiteral("Sluit dit scherm."));
  bbtClose->resize(89, 25);
  connect(bbtClose, &QPushButton::clicked, this, &QDialog::accept);

  Colour(pnlPostIt, owner.PIBorderColor);
  Colour(pnlButtons, owner.PIBorderColor);
  Colour(memPostIt, owner.PIColor);
  const bool relief = owner.PIColor != owner.PIBorderColor;
  memPostIt->setFrameStyle(relief ? (QFrame::StyledPanel | QFrame::Sunken) : QFrame::NoFrame);
  pnlButtons->setFrameStyle(relief ? (QFrame::Panel | QFrame::Raised) : QFrame::NoFrame);
  memPostIt->setReadOnly(owner.PIReadOnly);
  const bool hBar = owner.PIScrollBars == ssHorizontal || owner.PIScrollBars == ssBoth;
  const bool vBar = owner.PIScrollBars == ssVertical || owner.PIScrollBars == ssBoth;
  memPostIt->setHorizontalScrollBarPolicy(hBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  memPostIt->setVerticalScrollBarPolicy(vBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  memPostIt->setTabChangesFocus(!owner.PIWantTabs);
  memPostIt->setLineWrapMode(owner.PIWordWrap ? QPlainTextEdit::WidgetWidth
                                              : QPlainTextEdit::NoWrap);
  memPostIt->installEventFilter(this);
  pnlButtons->setVisible(owner.PIShowOK);
  memPostIt->setPlainText(owner.Lines.join(QLatin1Char('\n')));
  memPostIt->moveCursor(QTextCursor::Start);
  // Connected after the text is set: a stored note that is already too long
  // is shown whole, and the close check asks for it to be shortened.
  if (owner.PIMaxLength > 0)
    connect(memPostIt->document(), &QTextDocument::contentsChange, this, &TfrmPostIt::KeepToLimit);
  resize(owner.PIWidth, owner.PIHeight);
  move(owner.PILeft(), owner.PITop());
}

void TfrmPostIt::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  pnlPostIt->setGeometry(rect());
  const int b = FOwner.PIBorderSize;
  const int w = pnlPostIt->width(), h = pnlPostIt->height();
  const int buttons = pnlButtons->isVisibleTo(this) ? ButtonPanelHeight : 0;
  memPostIt->setGeometry(b, b, w - 2 * b - 1, h - 2 * b - 1 - buttons);
  pnlButtons->setGeometry(1, h - 1 - ButtonPanelHeight, w - 2, ButtonPanelHeight);
  bbtClose->move((pnlButtons->width() - bbtClose->width()) / 2,
                 (pnlButtons->height() - bbtClose->height()) / 2);
}

bool TfrmPostIt::eventFilter(QObject* watched, QEvent* event) {
  // Without WantReturns, Enter types no line break.
  if (watched == memPostIt && event->type() == QEvent::KeyPress && !FOwner.PIWantReturns) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
  }
  return QDialog::eventFilter(watched, event);
}

// Typing and pasting stop at PIMaxLength characters, a line end counting
// as its two: what was just inserted is cut back from its end.
void TfrmPostIt::KeepToLimit(int position, int /*removed*/, int added) {
  if (added <= 0) return;
  QTextDocument* doc = memPostIt->document();
  const auto length = [doc] {
    const QString text = doc->toPlainText();
    return text.size() + text.count(QLatin1Char('\n'));
  };
  int over = length() - FOwner.PIMaxLength;
  if (over <= 0) return;
  QTextCursor cut(doc);
  int end = position + added;
  while (over > 0 && end > position) {
    cut.setPosition(end - 1);
    cut.setPosition(end, QTextCursor::KeepAnchor);
    over -= cut.selectedText() == QChar(QChar::ParagraphSeparator) ? 2 : 1;
    cut.removeSelectedText();
    --end;
  }
  Desktop().Beep();
}

void TfrmPostIt::done(int result) {
  FOwner.Lines = memPostIt->toPlainText().split(QLatin1Char('\n'));
  if (FOwner.Lines == QStringList{QString()}) FOwner.Lines.clear();
  const int max = FOwner.PIMaxLength;
  if (max != 0 && FOwner.TextLength() > max) {
    MsgWarning(QStringLiteral("De tekst is te lang door automatische einde-regel tekens\r\n"
                              "Pas dit a.u.b. aan en sluit opnieuw."),
               QStringLiteral("Tekst langer dan %1 tekens").arg(max));
    return;
  }
  QDialog::done(result);
}
