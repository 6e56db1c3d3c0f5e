#include "app/doc_commands.h"

TDocCommands DocCommandsFor(int lines, bool modified, bool open) {
  const bool text = lines > 0;
  TDocCommands c{};
  c.Goto = text;
  c.Files = !modified;
  c.New = !modified;
  c.Delete = !modified && open;
  c.Rename = open;
  c.Save = text && modified;
  c.SaveAs = text;
  c.View = text && !modified;
  c.Cancel = text && modified;
  c.SelectAll = text;
  c.Settings = !modified;
  c.SearchAll = !modified;
  return c;
}
