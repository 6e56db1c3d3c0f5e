#pragma once
// The program-information box: the application's icon, its name, version,
// author and copyright lines and an OK button. The main window keeps one
// TAboutDialog configured; each Execute builds, shows and destroys the window.
#include <QColor>
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QStringList>

#include "components/zel_component.h"

class QLabel;
class QPlainTextEdit;
class TAboutWindow;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TDlgStyle { dsPanel, dsLine };
// A key sequence of at most 40 characters, kept in capitals.
using THiddenKey = QString;

class TAboutDialog : public TZELComponent {
  Q_OBJECT
 public:
  static constexpr int HiddenKeyLength = 40;

  explicit TAboutDialog(QObject* parent = nullptr);
  TVersionStamp VersionStamp() const override;  // "3.5.00", "10-01-2000"

  TAlignment Alignment = taLeftJustify;  // of the four lines
  bool AppIcon = true;                   // the application's icon, else Icon
  QString Author = QStringLiteral("auteur: ");
  TBevelCut BevelInner = bvNone;
  TBevelCut BevelOuter = bvNone;
  int BevelWidth = 1;
  QString Caption = QStringLiteral("Programma Informatie");
  QColor Color;        // the window's; the button face by default
  QFont Font;          // SansFamily 10 by default
  QColor HiddenColor;  // the hidden text's; the window text by default
  QStringList HiddenText;
  bool NameBold = true;
  QString ProgName;  // empty or blank: the application's title
  QString Version = QStringLiteral("versie: ");
  TNotifyEvent OnHiddenKey;  // replaces revealing the hidden text
  TOnHelpEvent OnHelp;       // F1, with the window's caption

  QString Copyright() const { return FCopyright; }
  // The empty text gives the default line: the sign, this year, the holder.
  void SetCopyright(const QString& value);
  TDlgStyle DlgStyle() const { return FDlgStyle; }
  // dsLine: no bevels; dsPanel: raised inside, lowered outside.
  void SetDlgStyle(TDlgStyle value);
  THiddenKey HiddenKey() const { return FHiddenKey; }
  void SetHiddenKey(const QString& value);
  QIcon Icon() const { return FIcon; }
  // An icon switches AppIcon off, no icon switches it on.
  void SetIcon(const QIcon& value);

  // Shows the window modally until OK, Enter or the close key.
  void Execute();
  // The hidden key has been typed in full.
  virtual void DoHiddenKey();
  // The compiler, system, executable and library versions in a message.
  void ShowVersionInfo();

 private:
  friend class TAboutWindow;
  QString FCopyright;
  TDlgStyle FDlgStyle = dsLine;
  THiddenKey FHiddenKey;
  QIcon FIcon;
  TAboutWindow* FWindow = nullptr;  // while one is shown
};

// The window of one Execute, laid out from its dialog's properties.
class TAboutWindow : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutWindow(TAboutDialog& owner);
  ~TAboutWindow() override;
  // Line height: the font's size in points times 1.9.
  static int LineHeight(const QFont& font);
  void ShowHiddenText();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLines(QWidget* panel, int left, int h);
  void BuildHiddenText(QWidget* panel, int left);
  bool HiddenKeyStep(const QKeyEvent* event);

  TAboutDialog& FOwner;
  QLabel* lblVersion = nullptr;
  QPlainTextEdit* memHidden = nullptr;
  int FMatchPos = 0;  // characters of the hidden key typed so far
};
