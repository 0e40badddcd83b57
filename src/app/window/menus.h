// The menu bar's commands: the items of the File, Controls and Help menus with
// their identifiers, texts and accelerators, and the Render menu of ours.
#pragma once

#include <string>

namespace quillmere {

enum MenuCommand {
  CommandReset = 32773,
  CommandExit = 57665,
  CommandStart = 32771,
  CommandStop = 32772,
  CommandTextured = 32774,
  CommandWireframe = 32775,
  CommandDefaultViewingDirection = 32776,
  CommandAbout = 57664,
  CommandFaster = 32777,
  CommandSlower = 32778,
};

struct MenuItemText {
  int command;
  const char* text; // as the menu resource writes it: "&" before the mnemonic, "\t" before the accelerator text
};

extern const MenuItemText kMenuItems[10];

// The label shown for a menu text: the text before "\t" without its "&".
std::string menuLabel(const char* text);
// The accelerator text after "\t", empty when there is none.
std::string menuShortcut(const char* text);
const char* menuText(int command);

} // namespace quillmere
