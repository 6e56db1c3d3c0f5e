#include "app/syntax_language.h"

#include <QFileInfo>

TSyntaxLanguage SyntaxLanguageFor(const QString& fileName) {
  // The last extension only: "page.html.bak" is no page to colour.
  const QString ext = QFileInfo(fileName).suffix().toLower();
  if (ext == u"htm" || ext == u"html" || ext == u"shtml" || ext == u"shtm" || ext == u"xhtml")
    return TSyntaxLanguage::Html;
  if (ext == u"css") return TSyntaxLanguage::Css;
  if (ext == u"js" || ext == u"mjs") return TSyntaxLanguage::JavaScript;
  return TSyntaxLanguage::None;
}
