#include "app/window/menus.h"

#include <cstring>

namespace quillmere {

const MenuItemText kMenuItems[8] = {
    {CommandReset, "&Reset\tStrg+R"},
    {CommandExit, "&Exit"},
    {CommandStart, "&Start\tStrg+S"},
    {CommandStop, "Sto&p\tStrg+P"},
    {CommandTextured, "Te&xtured"},
    {CommandWireframe, "&Wireframe"},
    {CommandDefaultViewingDirection, "&Default Viewing Direction\tStrg+B"},
    {CommandAbout, "Inf&o on Quillmere..."},
};

std::string menuLabel(const char* text) {
  std::string label;
  for (const char* c = text; *c && *c != '\t'; ++c)
    if (*c != '&') label += *c;
  return label;
}

std::string menuShortcut(const char* text) {
  const char* tab = std::strchr(text, '\t');
  return tab ? std::string(tab + 1) : std::string();
}

const char* menuText(int command) {
  for (const MenuItemText& item : kMenuItems)
    if (item.command == command) return item.text;
  return "";
}

} // namespace quillmere
