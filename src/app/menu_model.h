#pragma once

#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "ui/app_settings.h"

namespace taloven {

// Command identifiers of the main window's menus.
enum MenuId : int {
  kMenuExit = 2,
  kMenuProgramEquipment = 108,
  kMenuMfd = 109,
  kMenuHelpTopics = 110,
  kMenuGraphicCliche = 111,
  kMenuSequences = 112,
  kMenuAbout = 113,
  kMenuSettings = 119,
  kMenuCommandReference = 120,
  kMenuMonitor = 121,
};

// Catalogue command k is menu command kFirstCommandId + k.
constexpr int kFirstCommandId = 1083;

// The menu bar holds at most this many command-group popups; the commands of
// any further group go, still grouped, under kOverflowPopupTitle.
constexpr int kMaxGroupPopups = 96;
constexpr const char* kOverflowPopupTitle = "Outros";

struct MenuEntry {
  enum class Kind { Item, Separator, Submenu };
  Kind kind = Kind::Item;
  int id = 0;        // items only
  std::string text;  // item text or submenu title, Windows-1252
  bool enabled = true;
  std::vector<MenuEntry> entries;  // submenus only
};

struct MenuPopup {
  std::string title;  // Windows-1252
  std::vector<MenuEntry> entries;
};

// The main window's menu bar, left to right: "Operações", one popup per
// command group in order of its first command, "Ajuda".
std::vector<MenuPopup> BuildMenuBar(const CommandCatalogue& catalogue, const AppSettings& settings);

// A command is greyed only when filtering is on and no model bit matches.
bool CommandSelectable(const CommandRecord& record, const AppSettings& settings);

// The catalogue index a menu id stands for, or -1 when it is no command id of
// this catalogue.
int CommandIndexForMenuId(int id, const CommandCatalogue& catalogue);

}  // namespace taloven
