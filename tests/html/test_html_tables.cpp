#include <QTest>

#include "html/html_snippets.h"
#include "html/special_chars.h"

class TestHtmlTables : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void elementRows_data();
  void elementRows();
  void htmlRowIndentation();
  void docTypeRows();
  void elementNames();
  void specCharRows_data();
  void specCharRows();
  void specCharChosenText();
};

// clang-format off
void TestHtmlTables::elementRows_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<QString>("listText");
  QTest::addColumn<QString>("inserted");
  QTest::newRow("A") << 0 << "<A>" << "<A href=\"\"></A>\r\n";
  QTest::newRow("ABBR") << 1 << "<ABBR>" << "<ABBR>Indicates an abbreviated form (e.g., WWW, HTTP, URI, Mass., etc.)</ABBR>\r\n";
  QTest::newRow("ACRONYM") << 2 << "<ACRONYM>" << "<ACRONYM>Indicates an acronym (e.g., WAC, radar, etc.)</ACRONYM>\r\n";
  QTest::newRow("ADDRESS") << 3 << "<ADDRESS>" << "<ADDRESS>\r\n   info about the author\r\n</ADDRESS>\r\n";
  QTest::newRow("APPLET") << 4 << "<APPLET>" << "<APPLET>\r\n   DEPRECATED!!\r\n</APPLET>\r\n";
  QTest::newRow("AREA") << 5 << "<AREA>" << "<AREA href=\"\" alt=\"\" shape=\"rect\" coords=\"0,0,100,100\">\r\n";
  QTest::newRow("B") << 6 << "<B>" << "<SPAN style=\"font-weight: bold\"></SPAN>\r\n";
  QTest::newRow("BASE") << 7 << "<BASE>" << "<BASE href=\"http://www.....\">\r\n";
  QTest::newRow("BASEFONT") << 8 << "<BASEFONT>" << "<BASEFONT>DEPRECATED!!\r\n";
  QTest::newRow("BDO") << 9 << "<BDO>" << "<BDO dir=\"LTR\"></BDO>\r\n";
  QTest::newRow("BIG") << 10 << "<BIG>" << "<BIG></BIG>\r\n";
  QTest::newRow("BLOCKQUOTE") << 11 << "<BLOCKQUOTE>" << "<BLOCKQUOTE>\r\n   ...\r\n</BLOCKQUOTE>\r\n";
  QTest::newRow("BODY") << 12 << "<BODY>" << "<BODY>\r\n   ...\r\n</BODY>\r\n";
  QTest::newRow("BR") << 13 << "<BR>" << "<BR>\r\n";
  QTest::newRow("BUTTON") << 14 << "<BUTTON>" << "<BUTTON name=\"submit\" value=\"submit\" type=\"submit\">Submit</BUTTON>\r\n";
  QTest::newRow("CAPTION") << 15 << "<CAPTION>" << "<CAPTION>table-caption</CAPTION>\r\n";
  QTest::newRow("CENTER") << 16 << "<CENTER>" << "<DIV style=\"text-align: center\">\r\n   ...\r\n</DIV>\r\n";
  QTest::newRow("CITE") << 17 << "<CITE>" << "<CITE>Contains a citation or a reference to other sources</CITE>\r\n";
  QTest::newRow("CODE") << 18 << "<CODE>" << "<CODE>Designates a fragment of computer code</CODE>\r\n";
  QTest::newRow("COL") << 19 << "<COL>" << "<COL width=\"100%\" style=\"text-align: left\">\r\n";
  QTest::newRow("COLGROUP") << 20 << "<COLGROUP>" << "<COLGROUP>\r\n   <COL width=\"100%\" style=\"text-align: left\">\r\n</COLGROUP>\r\n";
  QTest::newRow("DD") << 21 << "<DD>" << "<DD>\r\n";
  QTest::newRow("DEL") << 22 << "<DEL>" << "<DEL>deleted text goes here</DEL><INS>inserted text goes here</INS> \r\n";
  QTest::newRow("DFN") << 23 << "<DFN>" << "<DFN>Indicates that this is the defining instance of the enclosed term</DFN>\r\n";
  QTest::newRow("DIR") << 24 << "<DIR>" << "<DIR>DEPRECATED!!</DIR>\r\n";
  QTest::newRow("DIV") << 25 << "<DIV>" << "<DIV>\r\n   ...\r\n</DIV>\r\n";
  QTest::newRow("DL") << 26 << "<DL>" << "<DL>\r\n   <DT>...\r\n   <DD>...\r\n</DL>\r\n";
  QTest::newRow("DT") << 27 << "<DT>" << "<DT>\r\n";
  QTest::newRow("EM") << 28 << "<EM>" << "<EM>Indicates emphasis</EM>\r\n";
  QTest::newRow("FIELDSET") << 29 << "<FIELDSET>" << "<FIELDSET>\r\n   <INPUT name=\"\" type=\"text\" tabindex=\"1\">\r\n   <INPUT name=\"\" type=\"text\" tabindex=\"2\">\r\n</FIELDSET>\r\n";
  QTest::newRow("FONT") << 30 << "<FONT>" << "<SPAN style=\"color: red\">font is deprecated</SPAN>\r\n";
  QTest::newRow("FORM") << 31 << "<FORM>" << "<FORM id=\"myform\" action=\"http://www.....\" method=\"get\">\r\n   <INPUT name=\"\" type=\"text\" tabindex=\"1\">\r\n   <INPUT name=\"\" type=\"text\" tabindex=\"2\">\r\n</FORM>\r\n";
  QTest::newRow("FRAME") << 32 << "<FRAME>" << "<FRAME frameborder=\"0\" marginwidth= \"5\" marginheight=\"10\" scrolling=\"auto\" noresize name=\"MainMenu\" src=\"\">\r\n";
  QTest::newRow("FRAMESET") << 33 << "<FRAMESET>" << "<FRAMESET rows=\"100pt,*\" cols=\"*\">\r\n   ...\r\n</FRAMESET>\r\n<NOFRAMES>\r\n   ...\r\n</NOFRAMES>\r\n";
  QTest::newRow("H1") << 34 << "<H1>" << "<H1></H1>\r\n";
  QTest::newRow("H2") << 35 << "<H2>" << "<H2></H2>\r\n";
  QTest::newRow("H3") << 36 << "<H3>" << "<H3></H3>\r\n";
  QTest::newRow("H4") << 37 << "<H4>" << "<H4></H4>\r\n";
  QTest::newRow("H5") << 38 << "<H5>" << "<H5></H5>\r\n";
  QTest::newRow("H6") << 39 << "<H6>" << "<H6></H6>\r\n";
  QTest::newRow("HEAD") << 40 << "<HEAD>" << "<HEAD>\r\n   <TITLE>doc-title</TITLE>\r\n</HEAD>\r\n";
  QTest::newRow("HR") << 41 << "<HR>" << "<HR>\r\n";
  QTest::newRow("HTML") << 42 << "<HTML>" << "<HTML>\r\n   <HEAD>\r\n      <TITLE>doc-title</TITLE>\r\n   </HEAD>\r\n   <BODY>\r\n      <DIV>\r\n         ...\r\n      </DIV>\r\n   </BODY>\r\n</HTML>\r\n";
  QTest::newRow("I") << 43 << "<I>" << "<SPAN style=\"font-style: italic\"></SPAN>\r\n";
  QTest::newRow("IFRAME") << 44 << "<IFRAME>" << "<IFRAME src=\"foo.html\" width=\"400\" height=\"500\" scrolling=\"auto\" frameborder=\"1\">\r\n   no-frames supported!\r\n</IFRAME>\r\n";
  QTest::newRow("IMG") << 45 << "<IMG>" << "<IMG border=\"0\" src=\"\" width=\"100\" height=\"30\" alt=\"\">\r\n";
  QTest::newRow("INPUT") << 46 << "<INPUT>" << "<INPUT name=\"\" type=\"text\" tabindex=\"1\">\r\n";
  QTest::newRow("INS") << 47 << "<INS>" << "<DEL>deleted text goes here</DEL><INS>inserted text goes here</INS> \r\n";
  QTest::newRow("ISINDEX") << 48 << "<ISINDEX>" << "<ISINDEX>DEPRECATED!!\r\n";
  QTest::newRow("KBD") << 49 << "<KBD>" << "<KBD>Indicates text to be entered by the user</KBD>\r\n";
  QTest::newRow("LABEL") << 50 << "<LABEL>" << "<LABEL for=\"fname\">First Name</LABEL>\r\n";
  QTest::newRow("LEGEND") << 51 << "<LEGEND>" << "<LEGEND> ..... </LEGEND>\r\n";
  QTest::newRow("LI") << 52 << "<LI>" << "<LI>\r\n";
  QTest::newRow("LINK") << 53 << "<LINK>" << "<LINK rel=\"stylesheet\" type=\"text/css\" href=\"../css/general.css\">\r\n";
  QTest::newRow("MAP") << 54 << "<MAP>" << "<MAP name=\"map1\">\r\n   <P>Navigate the site:\r\n      <A href=\"\" shape=\"rect\" coords=\"0,0,100,30\">...</A>\r\n   </P>\r\n</MAP>\r\n";
  QTest::newRow("MENU") << 55 << "<MENU>" << "<MENU>DEPRECATED!!</MENU>\r\n";
  QTest::newRow("META") << 56 << "<META>" << "<META http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">\r\n<META name=\"author\" content=\"myname\">\r\n";
  QTest::newRow("NOFRAMES") << 57 << "<NOFRAMES>" << "<NOFRAMES>\r\n   ...\r\n</NOFRAMES>\r\n";
  QTest::newRow("NOSCRIPT") << 58 << "<NOSCRIPT>" << "<NOSCRIPT>\r\n   ...\r\n</NOSCRIPT>\r\n";
  QTest::newRow("OBJECT") << 59 << "<OBJECT>" << "<OBJECT>\r\n   <PARAM name=\"height\" value=\"40\" valuetype=\"data\">\r\n</OBJECT>\r\n";
  QTest::newRow("OL") << 60 << "<OL>" << "<OL>\r\n   <LI value=\"30\"> item number 30\r\n   <LI value=\"40\"> item number 40\r\n</OL>\r\n";
  QTest::newRow("OPTGROUP") << 61 << "<OPTGROUP>" << "<OPTGROUP>\r\n   <OPTION selected value=\"1\">item 1</OPTION>\r\n</OPTGROUP>\r\n";
  QTest::newRow("OPTION") << 62 << "<OPTION>" << "<OPTION selected value=\"1\">item 1</OPTION>\r\n";
  QTest::newRow("P") << 63 << "<P>" << "<P>\r\n   ...\r\n</P>\r\n";
  QTest::newRow("PARAM") << 64 << "<PARAM>" << "<PARAM name=\"height\" value=\"40\" valuetype=\"data\">\r\n";
  QTest::newRow("PRE") << 65 << "<PRE>" << "<PRE>\r\n   ...\r\n</PRE>\r\n";
  QTest::newRow("Q") << 66 << "<Q>" << "<Q lang=\"en-us\"> ...quotation... </Q>\r\n";
  QTest::newRow("S") << 67 << "<S>" << "<SPAN style=\"text-decoration: line-through\"></SPAN>\r\n";
  QTest::newRow("SAMP") << 68 << "<SAMP>" << "<SAMP>Designates sample output from programs, scripts, etc</SAMP>\r\n";
  QTest::newRow("SCRIPT") << 69 << "<SCRIPT>" << "<SCRIPT type=\"text/javascript\">\r\n<!--\r\n   ...\r\n//-->\r\n</SCRIPT>\r\n<NOSCRIPT>\r\n   ...\r\n</NOSCRIPT>\r\n";
  QTest::newRow("SELECT") << 70 << "<SELECT>" << "<SELECT name=\"\">\r\n   <OPTION selected value=\"1\">item 1</OPTION>\r\n</SELECT>\r\n";
  QTest::newRow("SMALL") << 71 << "<SMALL>" << "<SMALL></SMALL>\r\n";
  QTest::newRow("SPAN") << 72 << "<SPAN>" << "<SPAN></SPAN>\r\n";
  QTest::newRow("STRIKE") << 73 << "<STRIKE>" << "<SPAN style=\"text-decoration: line-through\"></SPAN>\r\n";
  QTest::newRow("STRONG") << 74 << "<STRONG>" << "<STRONG>Indicates stronger emphasis</STRONG>\r\n";
  QTest::newRow("STYLE") << 75 << "<STYLE>" << "<STYLE type=\"text/css\">\r\n   ...\r\n</STYLE>\r\n";
  QTest::newRow("SUB") << 76 << "<SUB>" << "<SUB></SUB>\r\n";
  QTest::newRow("SUP") << 77 << "<SUP>" << "<SUP></SUP>\r\n";
  QTest::newRow("TABLE") << 78 << "<TABLE>" << "<TABLE width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" summary=\"\">\r\n   <TR>\r\n      <TD> ...data cell... </TD>\r\n   </TR>\r\n</TABLE>\r\n";
  QTest::newRow("TBODY") << 79 << "<TBODY>" << "<TBODY>\r\n   <TR>\r\n      <TD> ...body information... </TD>\r\n   </TR>\r\n</TBODY>\r\n";
  QTest::newRow("TD") << 80 << "<TD>" << "<TD></TD>\r\n";
  QTest::newRow("TEXTAREA") << 81 << "<TEXTAREA>" << "<TEXTAREA name=\"thetext\" rows=\"20\" cols=\"80\">\r\n   ...\r\n</TEXTAREA>\r\n";
  QTest::newRow("TFOOT") << 82 << "<TFOOT>" << "<TFOOT>\r\n   <TR>\r\n      <TD> ...footer information... </TD>\r\n   </TR>\r\n</TFOOT>\r\n";
  QTest::newRow("TH") << 83 << "<TH>" << "<TH></TH>\r\n";
  QTest::newRow("THEAD") << 84 << "<THEAD>" << "<THEAD>\r\n   <TR>\r\n      <TD> ...header information... </TD>\r\n   </TR>\r\n</THEAD>\r\n";
  QTest::newRow("TITLE") << 85 << "<TITLE>" << "<TITLE>doc-title</TITLE>\r\n";
  QTest::newRow("TR") << 86 << "<TR>" << "<TR>\r\n   <TD> cell </TD>\r\n</TR>\r\n";
  QTest::newRow("TT") << 87 << "<TT>" << "<TT>\r\n   ...\r\n</TT>\r\n";
  QTest::newRow("U") << 88 << "<U>" << "<SPAN style=\"text-decoration: underline\"></SPAN>\r\n";
  QTest::newRow("UL") << 89 << "<UL>" << "<UL>\r\n   <LI>.....\r\n<LI>.....\r\n</UL>\r\n";
  QTest::newRow("VAR") << 90 << "<VAR>" << "<VAR>Indicates an instance of a variable or program argument</VAR>\r\n";
}
// clang-format on

// Each element row lists as "<NAME>" and inserts its snippet with line breaks
// as CR LF and one more CR LF at the end.
void TestHtmlTables::elementRows() {
  QFETCH(int, row);
  QFETCH(QString, listText);
  QFETCH(QString, inserted);
  QCOMPARE(QString::fromStdString(HtmlToolsetRowText(row)), listText);
  QCOMPARE(QString::fromStdString(HtmlToolsetChosenText(row)), inserted);
}

// Ten lines indented by 0, 3, 6 and 9 blanks, the last one ending in a break.
void TestHtmlTables::htmlRowIndentation() {
  QCOMPARE(HtmlToolsetRowText(42), std::string("<HTML>"));
  const QString text = QString::fromStdString(HtmlToolsetChosenText(42));
  QVERIFY(text.endsWith("</HTML>\r\n"));
  const QStringList expected = {"<HTML>",       "   <HEAD>",    "      <TITLE>doc-title</TITLE>",
                                "   </HEAD>",   "   <BODY>",    "      <DIV>",
                                "         ...", "      </DIV>", "   </BODY>",
                                "</HTML>"};
  QCOMPARE(text.chopped(2).split("\r\n"), expected);
}

void TestHtmlTables::docTypeRows() {
  QCOMPARE(HtmlToolsetRowText(91), std::string("HTML 4.0 Transitional"));
  QCOMPARE(HtmlToolsetRowText(92), std::string("HTML 4.0 Strict"));
  QCOMPARE(HtmlToolsetRowText(93), std::string("HTML 4.0 Frameset"));
  QCOMPARE(HtmlToolsetChosenText(91),
           std::string("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\"\r\n"
                       "\"http://www.w3.org/TR/REC-html40/loose.dtd\">\r\n"));
  QCOMPARE(HtmlToolsetChosenText(92),
           std::string("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\"\r\n"
                       "\"http://www.w3.org/TR/REC-html40/strict.dtd\">\r\n"));
  QCOMPARE(HtmlToolsetChosenText(93),
           std::string("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Frameset//EN\"\r\n"
                       "\"http://www.w3.org/TR/REC-html40/frameset.dtd\">\r\n"));
  for (int row : {-1, 94, 1000}) {
    QCOMPARE(HtmlToolsetRowText(row), std::string());
    QCOMPARE(HtmlToolsetChosenText(row), std::string());
  }
}

// The case conversion relies on these being the HTML 4.0 names in order.
void TestHtmlTables::elementNames() {
  QStringList names;
  for (const THtmlElement& e : HtmlElements) {
    QVERIFY(std::strlen(e.Name) <= 10);
    names << e.Name;
  }
  QCOMPARE(
      names.join(", "),
      QString("A, ABBR, ACRONYM, ADDRESS, APPLET, AREA, B, BASE, BASEFONT, BDO, BIG, BLOCKQUOTE, "
              "BODY, BR, BUTTON, CAPTION, CENTER, CITE, CODE, COL, COLGROUP, DD, DEL, DFN, DIR, "
              "DIV, DL, DT, EM, FIELDSET, FONT, FORM, FRAME, FRAMESET, H1, H2, H3, H4, H5, H6, "
              "HEAD, HR, HTML, I, IFRAME, IMG, INPUT, INS, ISINDEX, KBD, LABEL, LEGEND, LI, LINK, "
              "MAP, MENU, META, NOFRAMES, NOSCRIPT, OBJECT, OL, OPTGROUP, OPTION, P, PARAM, PRE, "
              "Q, S, SAMP, SCRIPT, SELECT, SMALL, SPAN, STRIKE, STRONG, STYLE, SUB, SUP, TABLE, "
              "TBODY, TD, TEXTAREA, TFOOT, TH, THEAD, TITLE, TR, TT, U, UL, VAR"));
  QStringList sorted = names;
  sorted.sort();
  QCOMPARE(sorted, names);
}

// clang-format off
void TestHtmlTables::specCharRows_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<QString>("label");
  QTest::addColumn<int>("code");  // Windows-1252; 0 a separator, -1 no character shown
  QTest::addColumn<QString>("entity");
  QTest::newRow("0") << 0 << "Copyright" << 0xA9 << "&copy;";
  QTest::newRow("1") << 1 << "Reg. Trademark" << 0xAE << "&reg;";
  QTest::newRow("2") << 2 << "Trademark" << 0x99 << "&#8482;";
  QTest::newRow("3") << 3 << "Less than" << 0x3C << "&lt;";
  QTest::newRow("4") << 4 << "Greater than" << 0x3E << "&gt;";
  QTest::newRow("5") << 5 << "Ampersand" << 0x26 << "&amp;";
  QTest::newRow("6") << 6 << "Nonbreaking space" << -1 << "&nbsp;";
  QTest::newRow("7") << 7 << "Em dash" << 0x97 << "&#8212;";
  QTest::newRow("8") << 8 << "Quotation mark" << 0x22 << "&quot;";
  QTest::newRow("9") << 9 << "L. single-quote" << 0x91 << "&lsquo;";
  QTest::newRow("10") << 10 << "R. single-quote" << 0x92 << "&rsquo;";
  QTest::newRow("11") << 11 << "" << 0x00 << "";
  QTest::newRow("12") << 12 << "a grave" << 0xE0 << "&agrave;";
  QTest::newRow("13") << 13 << "a acute" << 0xE1 << "&aacute;";
  QTest::newRow("14") << 14 << "a circonflex" << 0xE2 << "&acirc;";
  QTest::newRow("15") << 15 << "a tilde" << 0xE3 << "&atilde;";
  QTest::newRow("16") << 16 << "a umlaut" << 0xE4 << "&auml;";
  QTest::newRow("17") << 17 << "a ring" << 0xE5 << "&aring;";
  QTest::newRow("18") << 18 << "e grave" << 0xE8 << "&egrave;";
  QTest::newRow("19") << 19 << "e acute" << 0xE9 << "&eacute;";
  QTest::newRow("20") << 20 << "e circonflex" << 0xEA << "&ecirc;";
  QTest::newRow("21") << 21 << "e umlaut" << 0xEB << "&euml;";
  QTest::newRow("22") << 22 << "i grave" << 0xEC << "&igrave;";
  QTest::newRow("23") << 23 << "i acute" << 0xED << "&iacute;";
  QTest::newRow("24") << 24 << "i circonflex" << 0xEE << "&icirc;";
  QTest::newRow("25") << 25 << "i umlaut" << 0xEF << "&iuml;";
  QTest::newRow("26") << 26 << "o grave" << 0xF2 << "&ograve;";
  QTest::newRow("27") << 27 << "o acute" << 0xF3 << "&oacute;";
  QTest::newRow("28") << 28 << "o circonflex" << 0xF4 << "&ocirc;";
  QTest::newRow("29") << 29 << "o tilde" << 0xF5 << "&otilde;";
  QTest::newRow("30") << 30 << "o umlaut" << 0xF6 << "&ouml;";
  QTest::newRow("31") << 31 << "o slash" << 0xF8 << "&oslash;";
  QTest::newRow("32") << 32 << "u grave" << 0xF9 << "&ugrave;";
  QTest::newRow("33") << 33 << "u acute" << 0xFA << "&uacute;";
  QTest::newRow("34") << 34 << "u circonflex" << 0xFB << "&ucirc;";
  QTest::newRow("35") << 35 << "u umlaut" << 0xFC << "&uuml;";
  QTest::newRow("36") << 36 << "y acute" << 0xFD << "&yacute;";
  QTest::newRow("37") << 37 << "y umlaut" << 0xFF << "&yuml;";
  QTest::newRow("38") << 38 << "" << 0x00 << "";
  QTest::newRow("39") << 39 << "A" << 0xC0 << "&Agrave;";
  QTest::newRow("40") << 40 << "A" << 0xC1 << "&Aacute;";
  QTest::newRow("41") << 41 << "A" << 0xC2 << "&Acirc;";
  QTest::newRow("42") << 42 << "A" << 0xC3 << "&Atilde;";
  QTest::newRow("43") << 43 << "A" << 0xC4 << "&Auml;";
  QTest::newRow("44") << 44 << "A" << 0xC5 << "&Aring;";
  QTest::newRow("45") << 45 << "E" << 0xC8 << "&Egrave;";
  QTest::newRow("46") << 46 << "E" << 0xC9 << "&Eacute;";
  QTest::newRow("47") << 47 << "E" << 0xCA << "&Ecirc;";
  QTest::newRow("48") << 48 << "E" << 0xCB << "&Euml;";
  QTest::newRow("49") << 49 << "I" << 0xCC << "&Igrave;";
  QTest::newRow("50") << 50 << "I" << 0xCD << "&Iacute;";
  QTest::newRow("51") << 51 << "I" << 0xCE << "&Icirc;";
  QTest::newRow("52") << 52 << "I" << 0xCF << "&Iuml;";
  QTest::newRow("53") << 53 << "O" << 0xD2 << "&Ograve;";
  QTest::newRow("54") << 54 << "O" << 0xD3 << "&Oacute;";
  QTest::newRow("55") << 55 << "O" << 0xD4 << "&Ocirc;";
  QTest::newRow("56") << 56 << "O" << 0xD5 << "&Otilde;";
  QTest::newRow("57") << 57 << "O" << 0xD6 << "&Ouml;";
  QTest::newRow("58") << 58 << "O" << 0xD8 << "&Oslash;";
  QTest::newRow("59") << 59 << "U" << 0xD9 << "&Ugrave;";
  QTest::newRow("60") << 60 << "U" << 0xDA << "&Uacute;";
  QTest::newRow("61") << 61 << "U" << 0xDB << "&Ucirc;";
  QTest::newRow("62") << 62 << "U" << 0xDC << "&Uuml;";
  QTest::newRow("63") << 63 << "Y" << 0xDD << "&Yacute;";
  QTest::newRow("64") << 64 << "" << 0x00 << "";
  QTest::newRow("65") << 65 << "ae" << 0xE6 << "&aelig;";
  QTest::newRow("66") << 66 << "AE" << 0xC6 << "&AElig;";
  QTest::newRow("67") << 67 << "c cedille" << 0xE7 << "&ccedil;";
  QTest::newRow("68") << 68 << "C cedille" << 0xC7 << "&Ccedil;";
  QTest::newRow("69") << 69 << "Etha" << 0xF0 << "&eth;";
  QTest::newRow("70") << 70 << "Etha" << 0xD0 << "&ETH;";
  QTest::newRow("71") << 71 << "n tilde" << 0xF1 << "&ntilde;";
  QTest::newRow("72") << 72 << "N tilde" << 0xD1 << "&Ntilde;";
  QTest::newRow("73") << 73 << "thorn" << 0xFE << "&thorn;";
  QTest::newRow("74") << 74 << "thorn" << 0xDE << "&THORN;";
  QTest::newRow("75") << 75 << "double-s" << 0xDF << "&szlig;";
  QTest::newRow("76") << 76 << "" << 0x00 << "";
  QTest::newRow("77") << 77 << "currency" << 0xA4 << "&curren;";
  QTest::newRow("78") << 78 << "cent" << 0xA2 << "&cent;";
  QTest::newRow("79") << 79 << "euro" << 0x80 << "&euro;";
  QTest::newRow("80") << 80 << "pound" << 0xA3 << "&pound;";
  QTest::newRow("81") << 81 << "yen" << 0xA5 << "&yen;";
  QTest::newRow("82") << 82 << "" << 0x00 << "";
  QTest::newRow("83") << 83 << "paragraph" << 0xB6 << "&para;";
  QTest::newRow("84") << 84 << "section" << 0xA7 << "&sect;";
  QTest::newRow("85") << 85 << "separator" << 0xA6 << "&brvbar;";
  QTest::newRow("86") << 86 << "times" << 0xD7 << "&times;";
  QTest::newRow("87") << 87 << "divide" << 0xF7 << "&divide;";
  QTest::newRow("88") << 88 << "not" << 0xAC << "&not;";
  QTest::newRow("89") << 89 << "plusminus" << 0xB1 << "&plusmn;";
  QTest::newRow("90") << 90 << "degree" << 0xB0 << "&deg;";
  QTest::newRow("91") << 91 << "superscript 1" << 0xB9 << "&sup1;";
  QTest::newRow("92") << 92 << "superscript 2" << 0xB2 << "&sup2;";
  QTest::newRow("93") << 93 << "superscript 3" << 0xB3 << "&sup3;";
  QTest::newRow("94") << 94 << "one fourth" << 0xBC << "&frac14;";
  QTest::newRow("95") << 95 << "one half" << 0xBD << "&frac12;";
  QTest::newRow("96") << 96 << "three fourth" << 0xBE << "&frac34;";
  QTest::newRow("97") << 97 << "" << 0x00 << "";
  QTest::newRow("98") << 98 << "" << 0xAD << "&shy;";
  QTest::newRow("99") << 99 << "" << 0xAF << "&macr;";
  QTest::newRow("100") << 100 << "" << 0xAA << "&ordf;";
  QTest::newRow("101") << 101 << "" << 0xBA << "&ordm;";
  QTest::newRow("102") << 102 << "umlaut" << 0xA8 << "&uml;";
  QTest::newRow("103") << 103 << "left aquo" << 0xAB << "&laquo;";
  QTest::newRow("104") << 104 << "right aquo" << 0xBB << "&raquo;";
  QTest::newRow("105") << 105 << "acute" << 0xB4 << "&acute;";
  QTest::newRow("106") << 106 << "micro" << 0xB5 << "&micro;";
  QTest::newRow("107") << 107 << "mid-dot" << 0xB7 << "&middot;";
  QTest::newRow("108") << 108 << "cedille" << 0xB8 << "&cedil;";
  QTest::newRow("109") << 109 << "i-question" << 0xBF << "&iquest;";
  QTest::newRow("110") << 110 << "i-exclamation" << 0xA1 << "&iexcl;";
  QTest::newRow("111") << 111 << "" << 0x00 << "";
}
// clang-format on

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; these are the codes
// of that range the list uses.
static QChar FromWindows1252(int code) {
  switch (code) {
    case 0x80:
      return QChar(0x20AC);
    case 0x91:
      return QChar(0x2018);
    case 0x92:
      return QChar(0x2019);
    case 0x97:
      return QChar(0x2014);
    case 0x99:
      return QChar(0x2122);
  }
  return QChar(code);
}

void TestHtmlTables::specCharRows() {
  QFETCH(int, row);
  QFETCH(QString, label);
  QFETCH(int, code);
  QFETCH(QString, entity);
  QString expected;
  if (code == 0)
    expected = QString(28, '-');
  else if (code < 0)
    expected = label + " = " + entity;
  else
    expected = label.leftJustified(16) + FromWindows1252(code) + " = " + entity;
  QCOMPARE(QString::fromStdString(SpecCharRowText(row)), expected);
  QCOMPARE(QString::fromStdString(SpecCharChosenText(SpecCharRowText(row))), entity);
}

void TestHtmlTables::specCharChosenText() {
  QCOMPARE(SpecCharRowText(-1), std::string());
  QCOMPARE(SpecCharRowText(SpecCharRowCount), std::string());
  QCOMPARE(SpecCharChosenText(""), std::string());
  // Only the first "=" counts.
  QCOMPARE(SpecCharChosenText("x = a=b "), std::string("a=b"));
}

QTEST_APPLESS_MAIN(TestHtmlTables)
#include "test_html_tables.moc"
