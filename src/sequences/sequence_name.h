#pragma once

#include <optional>
#include <string>

namespace taloven {

class Ui;

constexpr int kSequenceNameLength = 20;

enum class SequenceNameCheck {
  Ok,
  Invalid,  // a character outside 7-bit ASCII, or longer than a name can be
  Empty,    // nothing but blanks left after the clean-up
};

struct SequenceName {
  SequenceNameCheck check = SequenceNameCheck::Empty;
  std::string name;  // the stored form when check is Ok
};

// Turns a typed name into the stored one: padded with blanks to 20
// characters, upper case, without < > \ ' " / ! ? ; and '.'. The padding
// comes first, so "a.b" is stored as "AB" and seventeen blanks.
SequenceName CleanSequenceName(const std::string& typed);

// Whether two names are the same as the sequences list shows them: without
// their trailing blanks and whatever the letter case. The naming rules pad a
// name before removing characters, so "a.b" is stored one blank short of
// "AB"; the user sees the two alike and means one by the other.
bool SameListedSequenceName(const std::string& a, const std::string& b);

// The same, telling the user why a name is refused ("Nome inválido" or
// "Registro não salvo"); nothing then.
std::optional<std::string> AcceptSequenceName(const std::string& typed, Ui& ui);

// Asks for a name with the naming prompt, preset given; nothing when the
// user cancelled or the name was refused (and told so).
std::optional<std::string> AskSequenceName(const std::string& preset, Ui& ui);

}  // namespace taloven
