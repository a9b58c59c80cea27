#pragma once

#include <span>
#include <string_view>

namespace taloven {

// The pages of the help file a window opens with F1. Each has a context
// number, declared with the same number in the help project (its [MAP] and
// [ALIAS] sections), by which a help viewer opens the page itself.
enum class HelpTopic {
  kMainWindow,
  kSendCommand,
  kResults,
  kSettings,
  kSequences,
  kTotalsVerifier,
  kProgramming,
  kMfdWindow,
  kScanner,
  kInstalling,
  kCommandLine,
};

struct HelpPage {
  HelpTopic topic;
  int contextId;
  std::string_view page;  // the HTML file in the help project
};

// Every topic's page, in the enum's order.
std::span<const HelpPage> HelpPages();
const HelpPage& HelpPageOf(HelpTopic topic);

}  // namespace taloven
