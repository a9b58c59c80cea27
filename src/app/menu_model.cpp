#include "app/menu_model.h"

#include <unordered_map>

#include "base/encoding.h"
#include "resources/strings.h"

namespace taloven {
namespace {

MenuEntry Item(int id, StrId textId) {
  MenuEntry entry;
  entry.id = id;
  entry.text = Str(textId);
  return entry;
}

MenuEntry Item(int id, const char* utf8) {
  MenuEntry entry;
  entry.id = id;
  entry.text = W(utf8);
  return entry;
}

MenuEntry Separator() {
  MenuEntry entry;
  entry.kind = MenuEntry::Kind::Separator;
  return entry;
}

MenuPopup OperationsPopup() {
  return {Str(StrId::kOperationsMenu),
          {Item(kMenuProgramEquipment, StrId::kProgramEquipment),
           Item(kMenuSequences, StrId::kCommandSequences),
           Item(kMenuGraphicCliche, StrId::kProgramGraphicCliche), Item(kMenuMfd, StrId::kMfd),
           Item(kMenuMonitor, "Monitor de comunicação"), Separator(),
           Item(kMenuSettings, StrId::kSettings), Item(kMenuExit, StrId::kExit)}};
}

MenuPopup HelpPopup() {
  return {Str(StrId::kHelpMenu),
          {Item(kMenuAbout, StrId::kAboutTitle), Item(kMenuHelpTopics, StrId::kHelpTopics),
           Item(kMenuCommandReference, StrId::kCommandReferenceMenu)}};
}

}  // namespace

bool CommandSelectable(const CommandRecord& record, const AppSettings& settings) {
  return !settings.filterByModel || (settings.modelMask & record.equipmentMask) != 0;
}

int CommandIndexForMenuId(int id, const CommandCatalogue& catalogue) {
  const int index = id - kFirstCommandId;
  return index >= 0 && index < catalogue.Count() ? index : -1;
}

std::vector<MenuPopup> BuildMenuBar(const CommandCatalogue& catalogue,
                                    const AppSettings& settings) {
  std::vector<MenuPopup> bar{OperationsPopup()};

  // Groups past the limit become submenus of one extra popup, so that no
  // command of the catalogue is unreachable.
  MenuPopup overflow{kOverflowPopupTitle, {}};
  struct Place {
    bool overflow;
    size_t index;
  };
  std::unordered_map<std::string, Place> places;
  int groupCount = 0;

  for (int k = 0; k < catalogue.Count(); ++k) {
    const CommandRecord& record = catalogue.At(k);
    MenuEntry item;
    item.id = kFirstCommandId + k;
    item.text = record.title;
    item.enabled = CommandSelectable(record, settings);

    auto found = places.find(record.group);
    if (found == places.end()) {
      Place place;
      if (groupCount < kMaxGroupPopups) {
        place = {false, bar.size()};
        bar.push_back({record.group, {}});
      } else {
        place = {true, overflow.entries.size()};
        MenuEntry submenu;
        submenu.kind = MenuEntry::Kind::Submenu;
        submenu.text = record.group;
        overflow.entries.push_back(std::move(submenu));
      }
      ++groupCount;
      found = places.emplace(record.group, place).first;
    }
    const Place& place = found->second;
    auto& entries =
        place.overflow ? overflow.entries[place.index].entries : bar[place.index].entries;
    entries.push_back(std::move(item));
  }

  if (!overflow.entries.empty()) bar.push_back(std::move(overflow));
  bar.push_back(HelpPopup());
  return bar;
}

}  // namespace taloven
