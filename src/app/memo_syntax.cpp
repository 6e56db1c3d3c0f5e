// The editor's syntax colouring with QScintilla's lexers.
#include "app/memo.h"

// QScintilla's headers use Qt's signals/slots keywords (see memo.h).
#define signals Q_SIGNALS
#define slots Q_SLOTS
#include <Qsci/qscilexercss.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qscilexerjavascript.h>
#undef signals
#undef slots

namespace {

QsciLexer* NewLexer(TSyntaxLanguage language, QObject* owner) {
  switch (language) {
    case TSyntaxLanguage::Html:
      return new QsciLexerHTML(owner);
    case TSyntaxLanguage::Css:
      return new QsciLexerCSS(owner);
    case TSyntaxLanguage::JavaScript:
      return new QsciLexerJavaScript(owner);
    case TSyntaxLanguage::None:
      break;
  }
  return nullptr;
}

}  // namespace

void TZELMemo::SetSyntaxLanguage(TSyntaxLanguage language) {
  if (language == FSyntaxLanguage) return;
  FSyntaxLanguage = language;
  QsciLexer* previous = lexer();
  QsciLexer* next = NewLexer(language, this);
  if (next) {
    // One font for every style: bold or italic styles would move the
    // column-80 edge and the columns of the read-outs.
    next->setDefaultFont(EditorFont());
    next->setFont(EditorFont());
    setLexer(next);
    // Colouring the text before the view is left to idle time: after a
    // change near the start of a large page (a replace all), showing its end
    // waited for the lexer to colour everything up to there.
    Sci(SCI_SETIDLESTYLING, SC_IDLESTYLING_TOVISIBLE);
  } else {
    // Without a lexer the styling is never done, and idle styling would
    // keep the program busy for ever.
    Sci(SCI_SETIDLESTYLING, SC_IDLESTYLING_NONE);
    setLexer(nullptr);
    SetUpAppearance();
  }
  delete previous;
}
