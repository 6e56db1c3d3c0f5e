#pragma once
// The note button: a small yellow button that opens an editable note
// window modally; the note's text lives in Lines, and with INIFile set the
// window's place and size are kept in the section "PostIt-" + the button's
// object name (cut to 20 characters).
//
//   auto* pitNotes = new TZELPostIt(form);
//   pitNotes->setObjectName("pitNotes");   // before SetINIFile
//   pitNotes->SetINIFile(Environment->IniFileName);
//   pitNotes->Lines = {"Bel Jan terug"};
//   pitNotes->PIMaxLength = 200;            // closing refuses a longer note
#include <QAbstractButton>
#include <QDialog>
#include <QStringList>

#include "components/post_it_rules.h"
#include "components/zel_events.h"

class QFrame;
class QPlainTextEdit;
class QPushButton;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TZELPostIt : public QAbstractButton {
  Q_OBJECT
 public:
  explicit TZELPostIt(QWidget* parent = nullptr);

  QColor Color() const { return FColor; }
  void SetColor(const QColor& value);
  Qt::Alignment Alignment() const { return FAlignment; }
  void SetAlignment(Qt::Alignment value);
  int CornerLines() const { return FCornerLines; }
  void SetCornerLines(int value);  // at least 1
  int CornerGap() const { return FCornerGap; }
  void SetCornerGap(int value);  // at least 1
  TPIPosition Position() const { return FPosition; }
  // Anything but poDesigned places the note anew at once.
  void SetPosition(TPIPosition value);
  QString INIFile() const { return FINIFile; }
  // Also fixes the section from the object name as it is now.
  void SetINIFile(const QString& fileName);
  QString Section() const { return FSection; }
  int PILeft() const { return FPILeft; }
  void SetPILeft(int value);  // switches Position to poDesigned
  int PITop() const { return FPITop; }
  void SetPITop(int value);  // switches Position to poDesigned
  // The note's length with its line ends.
  int TextLength() const { return PostItTextLength(Lines); }

  // Loads the place, opens the note modally, keeps its place and text.
  void Execute();

  QStringList Lines;
  QString PICaption = QStringLiteral("Memo");
  QColor PIColor{255, 255, 136};
  QColor PIBorderColor{255, 255, 136};
  int PIBorderSize = 8;
  int PIHeight = 240;
  int PIWidth = 388;
  int PIMaxLength = 0;  // 0: no limit
  bool PIReadOnly = false;
  TScrollStyle PIScrollBars = ssNone;
  bool PIWantReturns = true;
  bool PIWantTabs = false;
  bool PIWordWrap = true;
  bool PIShowOK = false;
  TNotifyEvent OnBeforeOpen;
  TNotifyEvent OnAfterClose;

  QSize sizeHint() const override;

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  int CornerExtent() const { return FCornerLines * FCornerGap + 1; }
  void OpenAfterClick();
  void LoadPlace();
  void ComputePlace();
  void SavePlace();

  QColor FColor{255, 255, 136};
  Qt::Alignment FAlignment = Qt::AlignHCenter;
  int FCornerLines = 5;
  int FCornerGap = 2;
  TPIPosition FPosition = poAutoPos;
  QString FINIFile;
  QString FSection;
  int FPILeft = 0;
  int FPITop = 0;
  bool FOpen = false;
  bool FClicked = false;  // clicked, note not yet opened
};

// The note window of one Execute, laid out from its button's settings.
class TfrmPostIt : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmPostIt(TZELPostIt& owner);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Closing copies the text into the button's Lines and refuses a text
  // longer than PIMaxLength.
  void done(int result) override;

 private:
  void KeepToLimit(int position, int removed, int added);

  TZELPostIt& FOwner;
  QFrame* pnlPostIt;
  QPlainTextEdit* memPostIt;
  QFrame* pnlButtons;
  QPushButton* bbtClose;
};
