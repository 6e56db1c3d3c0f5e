#pragma once
// The one door to the desktop: the "open" action, program start, the beep and
// the screen size. The program installs the real one at start-up; tests
// install a recording stand-in, so no test starts a browser or a program.
#include <QSize>
#include <QString>
#include <QStringList>

class TDesktop {
 public:
  virtual ~TDesktop() = default;
  // Hands a file path or web address to the desktop's "open" action.
  virtual bool OpenDocument(const QString& pathOrUrl) = 0;
  // Starts Program detached with Args (no shell). On failure ErrorNumber gets
  // the system's error number.
  virtual bool StartProgram(const QString& program, const QStringList& args,
                            const QString& workingDir, int& errorNumber) = 0;
  virtual void Beep() = 0;
  // The primary screen's size in pixels.
  virtual QSize ScreenSize() = 0;
};

// The installed desktop; a quiet one with a 1024 by 768 screen until the
// program or a test installs its own.
TDesktop& Desktop();
// Installs D (not owned); nullptr puts the quiet one back.
void SetDesktop(TDesktop* d);
