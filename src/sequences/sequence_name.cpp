#include "sequences/sequence_name.h"

#include <algorithm>

#include "catalogue/entry_forms.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {
namespace {

bool IsRemoved(char c) {
  return std::string_view("<>\\'\"/!?;.").find(c) != std::string_view::npos;
}

}  // namespace

SequenceName CleanSequenceName(const std::string& typed) {
  if (static_cast<int>(typed.size()) > kSequenceNameLength) return {SequenceNameCheck::Invalid, {}};
  // The code page of the printer's own texts holds the 7-bit characters
  // unchanged and every other one elsewhere: a name must survive both.
  if (std::any_of(typed.begin(), typed.end(),
                  [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
    return {SequenceNameCheck::Invalid, {}};
  std::string name = PadWithBlanks(typed, kSequenceNameLength);
  std::string cleaned;
  for (char c : name) {
    if (IsRemoved(c)) continue;
    cleaned += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  if (cleaned.find_first_not_of(' ') == std::string::npos) return {SequenceNameCheck::Empty, {}};
  return {SequenceNameCheck::Ok, cleaned};
}

bool SameListedSequenceName(const std::string& a, const std::string& b) {
  const auto listed = [](const std::string& name) {
    std::string shown = name.substr(0, name.find_last_not_of(' ') + 1);
    for (char& c : shown)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return shown;
  };
  return listed(a) == listed(b);
}

std::optional<std::string> AcceptSequenceName(const std::string& typed, Ui& ui) {
  SequenceName result = CleanSequenceName(typed);
  switch (result.check) {
    case SequenceNameCheck::Ok:
      return result.name;
    case SequenceNameCheck::Invalid:
      ui.Message(Str(StrId::kInvalidName), Str(StrId::kProductName), MessageButtons::Ok,
                 MessageIcon::Exclamation);
      return std::nullopt;
    case SequenceNameCheck::Empty:
      ui.Message(Str(StrId::kRecordNotSaved), Str(StrId::kProductName), MessageButtons::Ok,
                 MessageIcon::Exclamation);
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::string> AskSequenceName(const std::string& preset, Ui& ui) {
  std::optional<std::string> typed =
      ui.TextEntry(Str(StrId::kEnterSequenceName), kSequenceNameLength, preset);
  if (!typed) return std::nullopt;
  return AcceptSequenceName(*typed, ui);
}

}  // namespace taloven
