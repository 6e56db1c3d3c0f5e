#include "components/about_dialog.h"

#include <qdrawutil.h>

#include <QDate>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cmath>

#include "components/desktop.h"
#include "components/form_style.h"
#include "components/msg_func.h"
#include "components/sys_info.h"

namespace {

constexpr int ButtonWidth = 80;
constexpr int ButtonHeight = 25;
constexpr int IconSize = 32;

// Designed sizes are products rounded to the nearest pixel, halves to even.
int Round(double value) { return static_cast<int>(std::lrint(value)); }

void SetColor(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, color);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

Qt::Alignment ToQt(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify:
      return Qt::AlignRight | Qt::AlignTop;
    case taCenter:
      return Qt::AlignHCenter | Qt::AlignTop;
    default:
      return Qt::AlignLeft | Qt::AlignTop;
  }
}

bool IsModifierKey(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
         key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

// A panel with an outer and an inner bevel, each lowered, raised, blank
// space or none, BevelWidth pixels wide.
class TBevelPanel : public QFrame {
 public:
  TBevelPanel(QWidget* parent, TBevelCut inner, TBevelCut outer, int width)
      : QFrame(parent), FInner(inner), FOuter(outer), FWidth(width) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QRect r = rect();
    Draw(painter, r, FOuter);
    Draw(painter, r, FInner);
  }

 private:
  void Draw(QPainter& painter, QRect& r, TBevelCut cut) const {
    if (cut == bvNone || FWidth <= 0) return;
    if (cut != bvSpace) qDrawShadePanel(&painter, r, palette(), cut == bvLowered, FWidth);
    r.adjust(FWidth, FWidth, -FWidth, -FWidth);
  }

  TBevelCut FInner, FOuter;
  int FWidth;
};

}  // namespace

// ---- TAboutDialog ----

TAboutDialog::TAboutDialog(QObject* parent)
    : TZELComponent(parent),
      Color(QGuiApplication::palette().color(QPalette::Button)),
      Font(SansFamily, 10),
      HiddenColor(QGuiApplication::palette().color(QPalette::WindowText)),
      ProgName(QGuiApplication::applicationDisplayName()) {
  SetDlgStyle(dsLine);
  SetCopyright({});
}

TVersionStamp TAboutDialog::VersionStamp() const {
  return {QStringLiteral("3.5.00"), QStringLiteral("10-01-2000")};
}

void TAboutDialog::SetCopyright(const QString& value) {
  FCopyright = value.isEmpty() ? QStringLiteral("Copyright \u00A9 %1  the Quillmere authors")
                                     .arg(QDate::currentDate().toString(QStringLiteral("yyyy")))
                               : value;
}

void TAboutDialog::SetDlgStyle(TDlgStyle value) {
  FDlgStyle = value;
  BevelInner = value == dsPanel ? bvRaised : bvNone;
  BevelOuter = value == dsPanel ? bvLowered : bvNone;
}

void TAboutDialog::SetHiddenKey(const QString& value) {
  FHiddenKey = value.left(HiddenKeyLength).toUpper();
}

void TAboutDialog::SetIcon(const QIcon& value) {
  FIcon = value;
  AppIcon = value.isNull();
}

void TAboutDialog::Execute() {
  TAboutWindow window(*this);
  window.exec();
}

void TAboutDialog::DoHiddenKey() {
  if (OnHiddenKey)
    OnHiddenKey(this);
  else if (!HiddenText.isEmpty() && FWindow)
    FWindow->ShowHiddenText();
}

void TAboutDialog::ShowVersionInfo() {
  const TZELSysInfo info;
  MsgInfo(VersionInfoText(info), QStringLiteral("Version information"));
}

// ---- TAboutWindow ----

TAboutWindow::TAboutWindow(TAboutDialog& owner)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), FOwner(owner) {
  setObjectName(QStringLiteral("frmAbout"));
  owner.FWindow = this;
  setFont(owner.Font);
  SetColor(this, owner.Color);

  const int h = LineHeight(owner.Font);
  const bool line = owner.DlgStyle() == dsLine;
  int height = 6 * h + 100;
  const int width = Round(height * 1.8);
  int buttonTop = height - 2 * ButtonHeight - 8;
  int panelTop = 8;
  int panelHeight = buttonTop - 16;
  if (line) {
    // The panel reaches the top and the window closes up under the line.
    height -= 4;
    buttonTop -= 4;
    panelTop -= 8;
    panelHeight += 4;
  }
  setFixedSize(width, height);

  auto* panel = new TBevelPanel(this, owner.BevelInner, owner.BevelOuter, owner.BevelWidth);
  panel->setObjectName(QStringLiteral("pnlInfo"));
  panel->setGeometry(8, panelTop, width - 24, panelHeight);
  SetColor(panel, owner.Color);
  if (line) {
    auto* bevel = new QFrame(panel);
    bevel->setObjectName(QStringLiteral("bvlLine"));
    bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    bevel->setGeometry(0, panelHeight - 2, panel->width(), 2);
  }

  auto* button = new QPushButton(QStringLiteral("OK"), this);
  button->setObjectName(QStringLiteral("bbtOK"));
  button->setFocusPolicy(Qt::NoFocus);
  button->setAutoDefault(false);
  button->setGeometry((width - ButtonWidth) / 2, buttonTop, ButtonWidth, ButtonHeight);
  connect(button, &QPushButton::clicked, this, &QDialog::accept);

  auto* image = new QLabel(panel);
  image->setObjectName(QStringLiteral("imgIcon"));
  image->setGeometry(8, 16, IconSize, IconSize);
  const QIcon icon = owner.AppIcon ? QGuiApplication::windowIcon() : owner.Icon();
  if (!icon.isNull()) image->setPixmap(icon.pixmap(IconSize, IconSize));
  const int left = icon.isNull() ? 16 : IconSize + 24;

  BuildLines(panel, left, h);
  if (!owner.HiddenKey().isEmpty() && !owner.HiddenText.isEmpty()) BuildHiddenText(panel, left);

  setWindowTitle(owner.Caption);
  const QSize screen = Desktop().ScreenSize();
  move((screen.width() - width) / 2, (screen.height() - height) / 2);
}

TAboutWindow::~TAboutWindow() {
  if (FOwner.FWindow == this) FOwner.FWindow = nullptr;
}

int TAboutWindow::LineHeight(const QFont& font) {
  double points = font.pointSizeF();
  if (points <= 0) points = font.pixelSize() * 72.0 / 96.0;
  return Round(points * 1.9);
}

void TAboutWindow::BuildLines(QWidget* panel, int left, int h) {
  const int width = panel->width() - left - 32;
  auto addLine = [&](const char* name, const QString& text, int top, int height) {
    auto* label = new QLabel(text, panel);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(ToQt(FOwner.Alignment));
    label->setGeometry(left, top, width, height);
    return label;
  };
  const QString name = FOwner.ProgName.trimmed();
  QLabel* lblProgName = addLine(
      "lblProgName", name.isEmpty() ? QGuiApplication::applicationDisplayName() : name, 16, h);
  QFont bold = font();
  bold.setBold(FOwner.NameBold);
  lblProgName->setFont(bold);
  lblVersion = addLine("lblVersion", FOwner.Version, Round(1.5 * h) + 16, h);
  lblVersion->installEventFilter(this);
  addLine("lblAuthor", FOwner.Author, Round(2.5 * h) + 16, Round(2.4 * h))->setWordWrap(true);
  addLine("lblCopyright", FOwner.Copyright(), 5 * h + 16, h);
}

void TAboutWindow::BuildHiddenText(QWidget* panel, int left) {
  memHidden = new QPlainTextEdit(panel);
  memHidden->setObjectName(QStringLiteral("memHidden"));
  memHidden->setReadOnly(true);
  memHidden->setFrameShape(QFrame::NoFrame);
  memHidden->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memHidden->setFocusPolicy(Qt::NoFocus);
  QPalette palette = memHidden->palette();
  palette.setColor(QPalette::Text, FOwner.HiddenColor);
  palette.setColor(QPalette::Base, FOwner.Color);
  memHidden->setPalette(palette);
  memHidden->setGeometry(left, 8, panel->width() - left - 8, panel->height() - 16);
  memHidden->setPlainText(FOwner.HiddenText.join(QLatin1Char('\n')));
  memHidden->hide();
}

void TAboutWindow::ShowHiddenText() {
  if (memHidden) memHidden->show();
}

void TAboutWindow::keyPressEvent(QKeyEvent* event) {
  // No control takes the focus, so every key comes here first.
  if (event->key() == Qt::Key_F1 && FOwner.OnHelp) {
    FOwner.OnHelp(&FOwner, windowTitle());
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    close();
    return;
  }
  if (!IsModifierKey(event->key()) && !HiddenKeyStep(event)) FMatchPos = 0;
  QDialog::keyPressEvent(event);
}

bool TAboutWindow::HiddenKeyStep(const QKeyEvent* event) {
  const THiddenKey& key = FOwner.FHiddenKey;
  if (key.isEmpty() || (event->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) return false;
  const QChar typed = event->key() < 0x80 ? QChar(event->key()).toUpper() : QChar();
  if (typed != key[FMatchPos]) {
    FMatchPos = 0;  // the key itself is not tried as a first character
    return true;
  }
  if (++FMatchPos >= key.length()) {
    FMatchPos = 0;
    FOwner.DoHiddenKey();
  }
  return true;
}

bool TAboutWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lblVersion && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton &&
        lblVersion->rect().contains(mouse->position().toPoint())) {
      FOwner.ShowVersionInfo();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
