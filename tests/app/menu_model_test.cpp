#include "app/menu_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/encoding.h"

namespace taloven {
namespace {

struct Command {
  std::string group;
  std::string title;
  uint32_t equipmentMask = 0xFFFF;
};

CommandCatalogue CatalogueOf(const std::vector<Command>& commands) {
  CommandCatalogue catalogue;
  for (const auto& c : commands) {
    CommandRecord record;
    record.group = c.group;
    record.title = c.title;
    record.equipmentMask = c.equipmentMask;
    catalogue.Append(std::move(record));
  }
  return catalogue;
}

// Each popup as its title and the ids of its items, for compact comparison.
struct PopupShape {
  std::string title;
  std::vector<int> ids;
  bool operator==(const PopupShape&) const = default;
};

std::vector<PopupShape> Shape(const std::vector<MenuPopup>& bar) {
  std::vector<PopupShape> shape;
  for (const auto& popup : bar) {
    PopupShape p{popup.title, {}};
    for (const auto& entry : popup.entries) p.ids.push_back(entry.id);
    shape.push_back(p);
  }
  return shape;
}

void PrintTo(const PopupShape& p, std::ostream* os) {
  *os << "'" << p.title << "':";
  for (int id : p.ids) *os << " " << id;
}

TEST(MenuBar, FixedPopupsCarryTheirIdsAndTexts) {
  const auto bar = BuildMenuBar(CommandCatalogue{}, AppSettings{});
  ASSERT_EQ(bar.size(), 2u);

  EXPECT_EQ(bar[0].title, W("Operações"));
  const struct {
    MenuEntry::Kind kind;
    int id;
    const char* text;
  } operations[] = {
      {MenuEntry::Kind::Item, 108, "Programar Equipamento"},
      {MenuEntry::Kind::Item, 112, "Sequências de Comandos"},
      {MenuEntry::Kind::Item, 111, "Programar Clichê Gráfico"},
      {MenuEntry::Kind::Item, 109, "MFD"},
      {MenuEntry::Kind::Item, 121, "Monitor de comunicação"},
      {MenuEntry::Kind::Separator, 0, ""},
      {MenuEntry::Kind::Item, 119, "Configurações"},
      {MenuEntry::Kind::Item, 2, "Sair"},
  };
  ASSERT_EQ(bar[0].entries.size(), std::size(operations));
  for (size_t i = 0; i < std::size(operations); ++i) {
    EXPECT_EQ(bar[0].entries[i].kind, operations[i].kind) << i;
    EXPECT_EQ(bar[0].entries[i].id, operations[i].id) << i;
    EXPECT_EQ(bar[0].entries[i].text, W(operations[i].text)) << i;
  }

  EXPECT_EQ(bar[1].title, "Ajuda");
  const struct {
    int id;
    const char* text;
  } help[] = {
      {113, "Sobre o Taloven"}, {110, "Tópicos da Ajuda (F1)"}, {120, "Referência dos Comandos"}};
  ASSERT_EQ(bar[1].entries.size(), std::size(help));
  for (size_t i = 0; i < std::size(help); ++i) {
    EXPECT_EQ(bar[1].entries[i].id, help[i].id);
    EXPECT_EQ(bar[1].entries[i].text, W(help[i].text));
  }
}

TEST(MenuBar, GroupsAppearInOrderOfTheirFirstCommand) {
  const std::vector<int> ops{108, 112, 111, 109, 121, 0, 119, 2};
  const std::vector<int> help{113, 110, 120};
  const struct {
    const char* name;
    std::vector<Command> commands;
    std::vector<PopupShape> expected;
  } cases[] = {
      {"one group", {{"A", "a0"}, {"A", "a1"}}, {{"A", {1083, 1084}}}},
      {"non-adjacent commands of a group share its popup",
       {{"A", "a0"}, {"B", "b0"}, {"A", "a1"}, {"C", "c0"}, {"B", "b1"}},
       {{"A", {1083, 1085}}, {"B", {1084, 1087}}, {"C", {1086}}}},
      {"empty group name gives an untitled popup",
       {{"", "x"}, {"A", "a0"}, {"", "y"}},
       {{"", {1083, 1085}}, {"A", {1084}}}},
      {"names compare exactly: case and blanks count",
       {{"Leituras", "a"}, {"leituras", "b"}, {"Leituras ", "c"}},
       {{"Leituras", {1083}}, {"leituras", {1084}}, {"Leituras ", {1085}}}},
  };
  for (const auto& c : cases) {
    std::vector<PopupShape> expected{{W("Operações"), ops}};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    expected.push_back({"Ajuda", help});
    EXPECT_EQ(Shape(BuildMenuBar(CatalogueOf(c.commands), AppSettings{})), expected) << c.name;
  }
}

TEST(MenuBar, ItemsShowTheCommandTitles) {
  const auto bar =
      BuildMenuBar(CatalogueOf({{"G", W("Leitura X")}, {"G", W("Redução Z")}}), AppSettings{});
  ASSERT_EQ(bar[1].entries.size(), 2u);
  EXPECT_EQ(bar[1].entries[0].text, W("Leitura X"));
  EXPECT_EQ(bar[1].entries[1].text, W("Redução Z"));
}

TEST(MenuBar, GreysCommandsOfOtherModelsOnlyWhenFiltering) {
  const struct {
    int filterByModel;
    uint32_t modelMask;
    uint32_t equipmentMask;
    bool enabled;
  } cases[] = {
      {0, 0x0001, 0x0000, true},  {0, 0x0001, 0x0002, true},  {0, 0xFFFF, 0x0000, true},
      {1, 0x0001, 0x0001, true},  {1, 0x0001, 0x0003, true},  {1, 0x0001, 0x0002, false},
      {1, 0x0400, 0x0000, false}, {1, 0xFFFF, 0x0000, false},  // unknown model: only mask 0
      {1, 0xFFFF, 0x0001, true},  {1, 0xFFFF, 0x8000, true},  {1, 0x2000, 0xDFFF, false},
  };
  for (const auto& c : cases) {
    AppSettings settings;
    settings.filterByModel = c.filterByModel;
    settings.modelMask = c.modelMask;
    const auto bar = BuildMenuBar(CatalogueOf({{"G", "cmd", c.equipmentMask}}), settings);
    ASSERT_EQ(bar.size(), 3u);
    EXPECT_EQ(bar[1].entries.at(0).enabled, c.enabled)
        << "filter " << c.filterByModel << " model " << std::hex << c.modelMask << " command "
        << c.equipmentMask;
  }
}

TEST(MenuBar, GroupsPastTheLimitStayReachableUnderOutros) {
  // 98 groups, then one more command of the first group.
  std::vector<Command> commands;
  for (int g = 0; g < kMaxGroupPopups + 2; ++g) commands.push_back({"G" + std::to_string(g), "c"});
  commands.push_back({"G0", "late"});
  commands.push_back({"G97", "late"});

  const auto bar = BuildMenuBar(CatalogueOf(commands), AppSettings{});
  ASSERT_EQ(bar.size(), 1u + kMaxGroupPopups + 2u);
  EXPECT_EQ(bar[1].title, "G0");
  EXPECT_EQ(Shape(bar)[1].ids, (std::vector<int>{1083, 1083 + 98}));
  EXPECT_EQ(bar[kMaxGroupPopups].title, "G95");

  const MenuPopup& overflow = bar[kMaxGroupPopups + 1];
  EXPECT_EQ(overflow.title, "Outros");
  ASSERT_EQ(overflow.entries.size(), 2u);
  EXPECT_EQ(overflow.entries[0].kind, MenuEntry::Kind::Submenu);
  EXPECT_EQ(overflow.entries[0].text, "G96");
  ASSERT_EQ(overflow.entries[0].entries.size(), 1u);
  EXPECT_EQ(overflow.entries[0].entries[0].id, 1083 + 96);
  EXPECT_EQ(overflow.entries[1].text, "G97");
  ASSERT_EQ(overflow.entries[1].entries.size(), 2u);
  EXPECT_EQ(overflow.entries[1].entries[0].id, 1083 + 97);
  EXPECT_EQ(overflow.entries[1].entries[1].id, 1083 + 99);
  EXPECT_EQ(bar.back().title, "Ajuda");
}

TEST(MenuBar, ExactlyTheLimitNeedsNoOverflowPopup) {
  std::vector<Command> commands;
  for (int g = 0; g < kMaxGroupPopups; ++g) commands.push_back({"G" + std::to_string(g), "c"});
  const auto bar = BuildMenuBar(CatalogueOf(commands), AppSettings{});
  ASSERT_EQ(bar.size(), 2u + kMaxGroupPopups);
  EXPECT_EQ(bar[kMaxGroupPopups].title, "G95");
  EXPECT_EQ(bar.back().title, "Ajuda");
}

TEST(MenuIds, MapOnlyThisCataloguesCommands) {
  const auto catalogue = CatalogueOf({{"G", "a"}, {"G", "b"}});
  const struct {
    int id;
    int index;
  } cases[] = {{1083, 0}, {1084, 1}, {1085, -1}, {1082, -1}, {113, -1}, {2, -1}};
  for (const auto& c : cases) EXPECT_EQ(CommandIndexForMenuId(c.id, catalogue), c.index) << c.id;
}

}  // namespace
}  // namespace taloven
