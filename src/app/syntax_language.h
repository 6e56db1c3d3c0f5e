#pragma once
// Which language a page is coloured as, from its file name's extension.
#include <QString>

enum class TSyntaxLanguage { None, Html, Css, JavaScript };

TSyntaxLanguage SyntaxLanguageFor(const QString& fileName);
