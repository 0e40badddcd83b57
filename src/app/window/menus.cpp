#include "app/window/menus.h"

#include <cstring>

namespace quillmere {

const MenuItemText kMenuItems[10] = {
    {CommandReset, "&Reset\tCtrl+R"},
    {CommandExit, "&Exit"},
    {CommandStart, "&Start\tCtrl+S"},
    {CommandStop, "Sto&p\tCtrl+P"},
    {CommandTextured, "Te&xtured"},
    {CommandWireframe, "&Wireframe"},
    {CommandDefaultViewingDirection, "&Default Viewing Direction\tCtrl+B"},
    {CommandAbout, "&About Quillmere..."},
    {CommandFaster, "&Faster Playback\t+"},
    {CommandSlower, "S&lower Playback\t-"},
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
