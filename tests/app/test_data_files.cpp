#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app/command_table.h"
#include "app/edit_file_info.h"
#include "app/web_links.h"

// Checks the files shipped beside the program: the help page and the
// template for new pages.
class TestDataFiles : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void markupChecker_data();
  void markupChecker();
  void helpPageIsWellFormed();
  void helpPageNamesEveryCommand();
  void templateIsAStartingPage();
  void templateSurvivesLoadAndSave_data();
  void templateSurvivesLoadAndSave();
};

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString DataFile(const char* name) {
  return QFINDTESTDATA(QStringLiteral("../../data/") + QLatin1String(name));
}

bool ReferenceAt(const QString& s, qsizetype i) {
  static const QRegularExpression ref("&([A-Za-z][A-Za-z0-9]*|#[0-9]+|#[xX][0-9A-Fa-f]+);");
  return ref
      .match(s, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption)
      .hasMatch();
}

// Scans one start tag from its "<"; returns the index after its ">", or -1.
qsizetype ScanStartTag(const QString& s, qsizetype i, QStringList& problems, QString& tagText) {
  QChar quote;
  for (qsizetype k = i + 1; k < s.size(); ++k) {
    const QChar c = s[k];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      tagText = s.mid(i + 1, k - i - 1);
      return k + 1;
    } else if (c == '<') {
      break;
    }
    if (c == '&' && !ReferenceAt(s, k)) problems << QString("bare & in a tag at %1").arg(k);
  }
  problems << QString("unfinished tag at %1").arg(i);
  return -1;
}

// What is wrong with the markup: elements not closed or closed out of order,
// a "<" or "&" that begins no tag or reference, an in-page link without its
// target. Empty for sound markup.
QStringList MarkupProblems(const QString& s) {
  static const QStringList voids = {"area", "base",  "br",   "col",  "hr",
                                    "img",  "input", "link", "meta", "param"};
  static const QRegularExpression nameRe("^([A-Za-z][A-Za-z0-9]*)");
  static const QRegularExpression idRe("\\bid\\s*=\\s*\"([^\"]*)\"");
  static const QRegularExpression hrefRe("\\bhref\\s*=\\s*\"#([^\"]*)\"");
  QStringList problems, stack, ids, links;
  qsizetype i = 0;
  while (i < s.size()) {
    if (s.mid(i, 4) == "<!--") {
      const qsizetype end = s.indexOf("-->", i + 4);
      if (end < 0) return problems << "unfinished comment";
      i = end + 3;
    } else if (s.mid(i, 2) == "<!") {
      const qsizetype end = s.indexOf('>', i);
      if (end < 0) return problems << "unfinished declaration";
      i = end + 1;
    } else if (s.mid(i, 2) == "</") {
      const qsizetype end = s.indexOf('>', i);
      if (end < 0) return problems << "unfinished end tag";
      const QString name = s.mid(i + 2, end - i - 2).trimmed().toLower();
      if (stack.isEmpty() || stack.last() != name)
        problems << QString("</%1> at %2 closes <%3>")
                        .arg(name)
                        .arg(i)
                        .arg(stack.value(stack.size() - 1));
      else
        stack.removeLast();
      i = end + 1;
    } else if (s[i] == '<') {
      const QRegularExpressionMatch m = nameRe.match(s.mid(i + 1, 12));
      QString tagText;
      const qsizetype next = m.hasMatch() ? ScanStartTag(s, i, problems, tagText) : -1;
      if (next < 0) {
        if (!m.hasMatch()) problems << QString("stray < at %1").arg(i);
        ++i;
        continue;
      }
      const QString name = m.captured(1).toLower();
      if (const auto id = idRe.match(tagText); id.hasMatch()) ids << id.captured(1);
      if (const auto href = hrefRe.match(tagText); href.hasMatch()) links << href.captured(1);
      i = next;
      if (name == "style" || name == "script") {
        // Raw text: nothing inside is markup.
        const qsizetype end = s.indexOf("</" + name, i, Qt::CaseInsensitive);
        if (end < 0) return problems << "unfinished " + name;
        i = end;
      }
      if (!voids.contains(name)) stack << name;
    } else {
      if (s[i] == '&' && !ReferenceAt(s, i)) problems << QString("bare & at %1").arg(i);
      ++i;
    }
  }
  for (const QString& open : stack) problems << "<" + open + "> not closed";
  for (const QString& link : links)
    if (!ids.contains(link)) problems << "no target for #" + link;
  return problems;
}

// The text a reader sees: tags and the style sheet removed, the references
// the page uses for markup characters decoded, whitespace runs made one blank.
QString VisibleText(QString html) {
  html.remove(
      QRegularExpression("<style.*</style>", QRegularExpression::DotMatchesEverythingOption));
  html.remove(QRegularExpression("<[^>]*>"));
  html.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
  return html.replace(QRegularExpression("\\s+"), " ");
}

// A menu caption as the reader sees it: "&" marks an access key, "&&" is "&".
QString PlainCaption(QString caption) {
  caption.replace("&&", QChar(1));
  caption.remove('&');
  return caption.replace(QChar(1), '&');
}

}  // namespace

void TestDataFiles::markupChecker_data() {
  QTest::addColumn<QString>("html");
  QTest::addColumn<bool>("sound");
  QTest::newRow("nested") << "<p>a <b>b</b><br></p>" << true;
  QTest::newRow("references") << "<p title=\"a &amp; b\">&lt;&#946;&#x3B2;&eacute;</p>" << true;
  QTest::newRow("link with target") << "<h2 id=\"x\">x</h2><a href=\"#x\">x</a>" << true;
  QTest::newRow("crossed") << "<p><b>x</p></b>" << false;
  QTest::newRow("unclosed") << "<div><p>x</p>" << false;
  QTest::newRow("bare ampersand") << "<p>salt & pepper</p>" << false;
  QTest::newRow("bare ampersand in attribute") << "<a href=\"?a=1&b=2\">x</a>" << false;
  QTest::newRow("bare less-than") << "<p>1 < 2</p>" << false;
  QTest::newRow("link without target") << "<a href=\"#nowhere\">x</a>" << false;
}

void TestDataFiles::markupChecker() {
  QFETCH(QString, html);
  QFETCH(bool, sound);
  QCOMPARE(MarkupProblems(html).isEmpty(), sound);
}

void TestDataFiles::helpPageIsWellFormed() {
  const QByteArray bytes = ReadBytes(DataFile("quillmere.htm"));
  QVERIFY(!bytes.isEmpty());
  const QString page = QString::fromUtf8(bytes);
  QCOMPARE(page.toUtf8(), bytes);
  QVERIFY(page.startsWith("<!DOCTYPE html>"));
  QVERIFY(page.contains("<meta charset=\"utf-8\">"));
  const QStringList problems = MarkupProblems(page);
  QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

void TestDataFiles::helpPageNamesEveryCommand() {
  const QString page = QString::fromUtf8(ReadBytes(DataFile("quillmere.htm")));
  const QString text = VisibleText(page);
  QStringList rows;
  static const QRegularExpression rowRe("<tr>(.*?)</tr>",
                                        QRegularExpression::DotMatchesEverythingOption);
  for (auto it = rowRe.globalMatch(page); it.hasNext();) rows << VisibleText(it.next().captured(1));

  std::vector<TMenuRow> commands(MainMenuRows().begin(), MainMenuRows().end());
  commands.insert(commands.end(), FilePopupRows().begin(), FilePopupRows().end());
  for (const TMenuRow& row : commands) {
    const QString caption = PlainCaption(QString::fromUtf8(row.Caption));
    if (caption.isEmpty() || caption == "-") continue;  // separators, empty Tools slots
    QVERIFY2(text.contains(caption), qPrintable("not named: " + caption));
    if (!*row.Shortcut) continue;
    const QString shortcut = QString::fromLatin1(row.Shortcut);
    const bool together = std::any_of(rows.begin(), rows.end(), [&](const QString& r) {
      return r.contains(caption) && r.contains(shortcut);
    });
    QVERIFY2(together, qPrintable("no table row gives " + caption + " with " + shortcut));
  }
  for (const char* caption : {"UpperCase HTML", "LowerCase HTML", "Check for wrong chars"})
    QVERIFY2(text.contains(caption), caption);
  for (int tag : {903, 921, 922, 923, 926, 927, 928, 929}) {
    const QString key = WebLinkKey(tag);
    QVERIFY(!key.isEmpty());
    QVERIFY2(page.contains("<td>" + key + "</td>"), qPrintable("[Links] key not listed: " + key));
  }
}

void TestDataFiles::templateIsAStartingPage() {
  const QByteArray bytes = ReadBytes(DataFile("template.htm"));
  QVERIFY(bytes.endsWith("\r\n"));
  QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
  QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
  QVERIFY(bytes.startsWith("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\""));
  for (const QByteArray& line : bytes.split('\n')) {
    const QByteArray content = line.chopped(line.endsWith('\r') ? 1 : 0);
    QVERIFY2(!content.startsWith(' '), content.constData());
    QVERIFY2(!content.endsWith(' ') && !content.endsWith('\t'), content.constData());
    for (char c : content) QVERIFY2(c == '\t' || (c >= 32 && c < 127), content.constData());
  }
  const QString page = QString::fromLatin1(bytes);
  const QStringList problems = MarkupProblems(page);
  QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
  const auto has = [&page](const char* pattern) {
    return QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption)
        .match(page)
        .hasMatch();
  };
  QVERIFY(has("(?s)<head>.*<title>[^<\\s][^<]*</title>.*</head>"));
  QVERIFY(has("(?s)<head>.*<meta [^>]*charset=utf-8[^>]*>.*</head>"));
  QVERIFY(has("(?s)<head>.*<link rel=\"stylesheet\" [^>]*href=\"[^\"]+\"[^>]*>.*</head>"));
  QVERIFY(has("(?s)</head>\\s*<body>\\s*</body>\\s*</html>\\s*$"));
}

void TestDataFiles::templateSurvivesLoadAndSave_data() {
  QTest::addColumn<int>("conversion");
  QTest::newRow("spaces to tabs") << 0;
  QTest::newRow("tabs to spaces") << 1;
  QTest::newRow("no changes") << 2;
}

// A new page opened and saved without an edit must come back byte for byte,
// whichever conversion the user has chosen.
void TestDataFiles::templateSurvivesLoadAndSave() {
  QFETCH(int, conversion);
  const QString root = qEnvironmentVariable("QUILLMERE_TEST_TMP", QDir::tempPath());
  QDir().mkpath(root);
  QTemporaryDir dir(root + "/data-XXXXXX");
  QVERIFY(dir.isValid());
  const QString page = dir.filePath("__noname.html");
  QVERIFY(QFile::copy(DataFile("template.htm"), page));
  TEditFileInfo info;
  info.Conversion = static_cast<std::uint8_t>(conversion);
  info.DeleteEmptyLines = true;
  info.SetTabSize(12);
  info.Load(page);
  QVERIFY(info.LineCount() > 0);
  info.Save();
  QCOMPARE(ReadBytes(page), ReadBytes(DataFile("template.htm")));
}

QTEST_APPLESS_MAIN(TestDataFiles)
#include "test_data_files.moc"
