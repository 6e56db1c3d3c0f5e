#include "html/html_snippets.h"

#include "components/str_func.h"

// clang-format off
const THtmlElement HtmlElements[HtmlElementCount] = {
    {"A", "<A href=\"\"></A>"},
    {"ABBR", "<ABBR>Indicates an abbreviated form (e.g., WWW, HTTP, URI, Mass., etc.)</ABBR>"},
    {"ACRONYM", "<ACRONYM>Indicates an acronym (e.g., WAC, radar, etc.)</ACRONYM>"},
    {"ADDRESS", "<ADDRESS>%CR%   info about the author%CR%</ADDRESS>"},
    {"APPLET", "<APPLET>%CR%   DEPRECATED!!%CR%</APPLET>"},
    {"AREA", "<AREA href=\"\" alt=\"\" shape=\"rect\" coords=\"0,0,100,100\">"},
    {"B", "<SPAN style=\"font-weight: bold\"></SPAN>"},
    {"BASE", "<BASE href=\"http://www.....\">"},
    {"BASEFONT", "<BASEFONT>DEPRECATED!!"},
    {"BDO", "<BDO dir=\"LTR\"></BDO>"},
    {"BIG", "<BIG></BIG>"},
    {"BLOCKQUOTE", "<BLOCKQUOTE>%CR%   ...%CR%</BLOCKQUOTE>"},
    {"BODY", "<BODY>%CR%   ...%CR%</BODY>"},
    {"BR", "<BR>"},
    {"BUTTON", "<BUTTON name=\"submit\" value=\"submit\" type=\"submit\">Submit</BUTTON>"},
    {"CAPTION", "<CAPTION>table-caption</CAPTION>"},
    {"CENTER", "<DIV style=\"text-align: center\">%CR%   ...%CR%</DIV>"},
    {"CITE", "<CITE>Contains a citation or a reference to other sources</CITE>"},
    {"CODE", "<CODE>Designates a fragment of computer code</CODE>"},
    {"COL", "<COL width=\"100%\" style=\"text-align: left\">"},
    {"COLGROUP", "<COLGROUP>%CR%   <COL width=\"100%\" style=\"text-align: left\">%CR%</COLGROUP>"},
    {"DD", "<DD>"},
    {"DEL", "<DEL>deleted text goes here</DEL><INS>inserted text goes here</INS> "},
    {"DFN", "<DFN>Indicates that this is the defining instance of the enclosed term</DFN>"},
    {"DIR", "<DIR>DEPRECATED!!</DIR>"},
    {"DIV", "<DIV>%CR%   ...%CR%</DIV>"},
    {"DL", "<DL>%CR%   <DT>...%CR%   <DD>...%CR%</DL>"},
    {"DT", "<DT>"},
    {"EM", "<EM>Indicates emphasis</EM>"},
    {"FIELDSET", "<FIELDSET>%CR%   <INPUT name=\"\" type=\"text\" tabindex=\"1\">%CR%   <INPUT name=\"\" type=\"text\" tabindex=\"2\">%CR%</FIELDSET>"},
    {"FONT", "<SPAN style=\"color: red\">font is deprecated</SPAN>"},
    {"FORM", "<FORM id=\"myform\" action=\"http://www.....\" method=\"get\">%CR%   <INPUT name=\"\" type=\"text\" tabindex=\"1\">%CR%   <INPUT name=\"\" type=\"text\" tabindex=\"2\">%CR%</FORM>"},
    {"FRAME", "<FRAME frameborder=\"0\" marginwidth= \"5\" marginheight=\"10\" scrolling=\"auto\" noresize name=\"MainMenu\" src=\"\">"},
    {"FRAMESET", "<FRAMESET rows=\"100pt,*\" cols=\"*\">%CR%   ...%CR%</FRAMESET>%CR%<NOFRAMES>%CR%   ...%CR%</NOFRAMES>"},
    {"H1", "<H1></H1>"},
    {"H2", "<H2></H2>"},
    {"H3", "<H3></H3>"},
    {"H4", "<H4></H4>"},
    {"H5", "<H5></H5>"},
    {"H6", "<H6></H6>"},
    {"HEAD", "<HEAD>%CR%   <TITLE>doc-title</TITLE>%CR%</HEAD>"},
    {"HR", "<HR>"},
    {"HTML", "<HTML>%CR%   <HEAD>%CR%      <TITLE>doc-title</TITLE>%CR%   </HEAD>%CR%   <BODY>%CR%      <DIV>%CR%         ...%CR%      </DIV>%CR%   </BODY>%CR%</HTML>"},
    {"I", "<SPAN style=\"font-style: italic\"></SPAN>"},
    {"IFRAME", "<IFRAME src=\"foo.html\" width=\"400\" height=\"500\" scrolling=\"auto\" frameborder=\"1\">%CR%   no-frames supported!%CR%</IFRAME>"},
    {"IMG", "<IMG border=\"0\" src=\"\" width=\"100\" height=\"30\" alt=\"\">"},
    {"INPUT", "<INPUT name=\"\" type=\"text\" tabindex=\"1\">"},
    {"INS", "<DEL>deleted text goes here</DEL><INS>inserted text goes here</INS> "},
    {"ISINDEX", "<ISINDEX>DEPRECATED!!"},
    {"KBD", "<KBD>Indicates text to be entered by the user</KBD>"},
    {"LABEL", "<LABEL for=\"fname\">First Name</LABEL>"},
    {"LEGEND", "<LEGEND> ..... </LEGEND>"},
    {"LI", "<LI>"},
    {"LINK", "<LINK rel=\"stylesheet\" type=\"text/css\" href=\"../css/general.css\">"},
    {"MAP", "<MAP name=\"map1\">%CR%   <P>Navigate the site:%CR%      <A href=\"\" shape=\"rect\" coords=\"0,0,100,30\">...</A>%CR%   </P>%CR%</MAP>"},
    {"MENU", "<MENU>DEPRECATED!!</MENU>"},
    {"META", "<META http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">%CR%<META name=\"author\" content=\"myname\">"},
    {"NOFRAMES", "<NOFRAMES>%CR%   ...%CR%</NOFRAMES>"},
    {"NOSCRIPT", "<NOSCRIPT>%CR%   ...%CR%</NOSCRIPT>"},
    {"OBJECT", "<OBJECT>%CR%   <PARAM name=\"height\" value=\"40\" valuetype=\"data\">%CR%</OBJECT>"},
    {"OL", "<OL>%CR%   <LI value=\"30\"> item number 30%CR%   <LI value=\"40\"> item number 40%CR%</OL>"},
    {"OPTGROUP", "<OPTGROUP>%CR%   <OPTION selected value=\"1\">item 1</OPTION>%CR%</OPTGROUP>"},
    {"OPTION", "<OPTION selected value=\"1\">item 1</OPTION>"},
    {"P", "<P>%CR%   ...%CR%</P>"},
    {"PARAM", "<PARAM name=\"height\" value=\"40\" valuetype=\"data\">"},
    {"PRE", "<PRE>%CR%   ...%CR%</PRE>"},
    {"Q", "<Q lang=\"en-us\"> ...quotation... </Q>"},
    {"S", "<SPAN style=\"text-decoration: line-through\"></SPAN>"},
    {"SAMP", "<SAMP>Designates sample output from programs, scripts, etc</SAMP>"},
    {"SCRIPT", "<SCRIPT type=\"text/javascript\">%CR%<!--%CR%   ...%CR%//-->%CR%</SCRIPT>%CR%<NOSCRIPT>%CR%   ...%CR%</NOSCRIPT>"},
    {"SELECT", "<SELECT name=\"\">%CR%   <OPTION selected value=\"1\">item 1</OPTION>%CR%</SELECT>"},
    {"SMALL", "<SMALL></SMALL>"},
    {"SPAN", "<SPAN></SPAN>"},
    {"STRIKE", "<SPAN style=\"text-decoration: line-through\"></SPAN>"},
    {"STRONG", "<STRONG>Indicates stronger emphasis</STRONG>"},
    {"STYLE", "<STYLE type=\"text/css\">%CR%   ...%CR%</STYLE>"},
    {"SUB", "<SUB></SUB>"},
    {"SUP", "<SUP></SUP>"},
    {"TABLE", "<TABLE width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" summary=\"\">%CR%   <TR>%CR%      <TD> ...data cell... </TD>%CR%   </TR>%CR%</TABLE>"},
    {"TBODY", "<TBODY>%CR%   <TR>%CR%      <TD> ...body information... </TD>%CR%   </TR>%CR%</TBODY>"},
    {"TD", "<TD></TD>"},
    {"TEXTAREA", "<TEXTAREA name=\"thetext\" rows=\"20\" cols=\"80\">%CR%   ...%CR%</TEXTAREA>"},
    {"TFOOT", "<TFOOT>%CR%   <TR>%CR%      <TD> ...footer information... </TD>%CR%   </TR>%CR%</TFOOT>"},
    {"TH", "<TH></TH>"},
    {"THEAD", "<THEAD>%CR%   <TR>%CR%      <TD> ...header information... </TD>%CR%   </TR>%CR%</THEAD>"},
    {"TITLE", "<TITLE>doc-title</TITLE>"},
    {"TR", "<TR>%CR%   <TD> cell </TD>%CR%</TR>"},
    {"TT", "<TT>%CR%   ...%CR%</TT>"},
    {"U", "<SPAN style=\"text-decoration: underline\"></SPAN>"},
    {"UL", "<UL>%CR%   <LI>.....%CR%<LI>.....%CR%</UL>"},
    {"VAR", "<VAR>Indicates an instance of a variable or program argument</VAR>"},
};
// clang-format on

namespace {

struct TDocType {
  const char* Caption;
  const char* PublicId;
  const char* SystemId;
};

const TDocType DocTypes[HtmlDocTypeCount] = {
    {"HTML 4.0 Transitional", "-//W3C//DTD HTML 4.0 Transitional//EN",
     "http://www.w3.org/TR/REC-html40/loose.dtd"},
    {"HTML 4.0 Strict", "-//W3C//DTD HTML 4.0//EN", "http://www.w3.org/TR/REC-html40/strict.dtd"},
    {"HTML 4.0 Frameset", "-//W3C//DTD HTML 4.0 Frameset//EN",
     "http://www.w3.org/TR/REC-html40/frameset.dtd"},
};

}  // namespace

std::string HtmlToolsetRowText(int row) {
  if (row >= 0 && row < HtmlElementCount) return std::string("<") + HtmlElements[row].Name + ">";
  if (row >= HtmlElementCount && row < HtmlToolsetRowCount)
    return DocTypes[row - HtmlElementCount].Caption;
  return std::string();
}

std::string HtmlToolsetChosenText(int row) {
  if (row >= 0 && row < HtmlElementCount)
    return ReplaceAllStr(HtmlElements[row].Snippet, "%CR%", "\r\n") + "\r\n";
  if (row >= HtmlElementCount && row < HtmlToolsetRowCount) {
    const TDocType& d = DocTypes[row - HtmlElementCount];
    return std::string("<!DOCTYPE HTML PUBLIC \"") + d.PublicId + "\"\r\n\"" + d.SystemId +
           "\">\r\n";
  }
  return std::string();
}
