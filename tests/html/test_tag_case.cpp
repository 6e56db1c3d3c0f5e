#include <QRandomGenerator>
#include <QTest>

#include "html/html_snippets.h"
#include "html/tag_case.h"

namespace {

// The conversion done the long way, as the editor's search would do it: for
// every name in table order, "<" + name and then "</" + name are replaced,
// found without regard to case, by the pattern in the chosen case; each search
// goes on just after the text it replaced.
std::string RepeatedSearch(const std::string& page, bool toUpper) {
  QString text = QString::fromStdString(page);
  for (const THtmlElement& e : HtmlElements) {
    for (const QString prefix : {"<", "</"}) {
      const QString pattern = prefix + e.Name;
      text.replace(pattern, toUpper ? pattern.toUpper() : pattern.toLower(), Qt::CaseInsensitive);
    }
  }
  return text.toStdString();
}

// Markup made to probe the edges: listed names in mixed case, names that a
// listed one is a prefix of, stray "<", "</" and "/", non-ASCII letters.
std::string RandomMarkup(QRandomGenerator& random) {
  static const char* const pieces[] = {
      "<",     "</",   ">",       " ",  "=\"", "\"", "/",    "<<",   "<//", "\xC3\xA9", "\xC3\x9F",
      "<!-- ", " -->", "bgsound", "h7", "x",   "s",  "text", "\r\n", "\t",  "&amp;",    "1"};
  std::string s;
  const int count = random.bounded(1, 40);
  for (int i = 0; i < count; ++i) {
    if (random.bounded(3) == 0) {
      std::string name = HtmlElements[random.bounded(HtmlElementCount)].Name;
      for (char& c : name)
        if (random.bounded(2)) c = static_cast<char>(QChar::toLower(c));
      s += name;
    } else {
      s += pieces[random.bounded(int(std::size(pieces)))];
    }
  }
  return s;
}

}  // namespace

class TestTagCase : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  // The texts are checked against the long way below; these rows hold the
  // count of names found, which tells the caller whether there was an edit.
  void conversion() {
    const std::tuple<const char*, bool, const char*, int> rows[] = {
        {"<P>Some <B>BOLD</B> text</P>", false, "<p>Some <b>BOLD</b> text</p>", 4},
        {"<HTML><BODY class=x><P>Text</P></BODY></HTML>", true,
         "<HTML><BODY class=x><P>Text</P></BODY></HTML>", 6},
        {"<Table BorDer=\"1\" WIDTH=100%>", false, "<table BorDer=\"1\" WIDTH=100%>", 1},
        {"<bgsound></bgsound>", true, "<Bgsound></Bgsound>", 2},
        {"<basefont><base><b><bdo><br><body><big><blockquote>", true,
         "<BASEFONT><BASE><B><BDO><BR><BODY><BIG><BLOCKQUOTE>", 8},
        {"<TEXTAREAS><tablex><h1x>", false, "<textareaS><tablex><h1x>", 3},
        {"<h7>x</h7>", true, "<h7>x</h7>", 0},
        {"&lt;b&gt; < b> <//b> <\\b>", true, "&lt;b&gt; < b> <//b> <\\b>", 0},
        {"<b<b></b</b>", true, "<B<B></B</B>", 4},
        {"<b\xC3\xA9><\xC3\xA9m>", true, "<B\xC3\xA9><\xC3\xA9m>", 1},
        {"<i>x</", true, "<I>x</", 1},
        {"", true, "", 0},
    };
    for (const auto& [input, toUpper, expected, namesFound] : rows) {
      const TTagCaseResult r = ConvertTagCase(input, toUpper);
      QCOMPARE(QString::fromStdString(r.Text), QString(expected));
      QVERIFY2(r.NamesFound == namesFound, input);
      QCOMPARE(r.Changed, std::string(input) != expected);
    }
  }

  void sameAsRepeatedSearch() {
    QRandomGenerator random(20240611);
    for (int i = 0; i < 3000; ++i) {
      const std::string page = RandomMarkup(random);
      for (bool toUpper : {true, false}) {
        const TTagCaseResult r = ConvertTagCase(page, toUpper);
        const std::string expected = RepeatedSearch(page, toUpper);
        if (r.Text != expected)
          QFAIL(qPrintable(
              QString("input \"%1\" upper %2: got \"%3\", expected \"%4\"")
                  .arg(QString::fromStdString(page))
                  .arg(toUpper)
                  .arg(QString::fromStdString(r.Text), QString::fromStdString(expected))));
        QCOMPARE(r.Changed, r.Text != page);
      }
    }
  }
};

QTEST_APPLESS_MAIN(TestTagCase)
#include "test_tag_case.moc"
