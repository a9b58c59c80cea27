#include "sequences/sequence_editor.h"

#include <algorithm>
#include <optional>

#include "base/encoding.h"
#include "catalogue/parameter_entry.h"
#include "resources/strings.h"
#include "sequences/sequence_name.h"
#include "sequences/sequence_store.h"
#include "sequences/sequences_file.h"
#include "sequences/verify_totals.h"
#include "ui/ui.h"

namespace taloven {
namespace {

constexpr int kRepetitionsLimit = 99;
constexpr int kWaitLimit = 99;

// Lower case in Windows-1252, accented capitals included.
unsigned char Lower(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
    return static_cast<unsigned char>(byte + 0x20);
  if (byte == 0x8A || byte == 0x8C || byte == 0x8E) return static_cast<unsigned char>(byte + 0x10);
  if (byte == 0x9F) return 0xFF;
  return byte;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace

SequenceEditor::SequenceEditor(AppSettings& settings, Ui& ui, PortFactory& ports, Clock& clock)
    : settings_(settings), ui_(ui), ports_(ports), clock_(clock) {}

std::string SequenceEditor::FilePath() const {
  return SequencesFilePath(settings_.workingDirectory);
}

void SequenceEditor::Open() {
  auto wait = ui_.ShowWait(Str(StrId::kPleaseWait));
  saved_.Clear();
  // Said once, on opening; each refused save says it again in its own words.
  if (const Result<RecordFile> loaded = LoadSequences(FilePath(), saved_); !loaded.ok())
    ui_.Message(DamagedFileKept(loaded.status().message()), Str(StrId::kProductName),
                MessageButtons::Ok, MessageIcon::Exclamation);
  // Without a catalogue the editor still opens; its command list is empty.
  static_cast<void>(LoadCatalogue(settings_.workingDirectory, catalogue_));
}

std::vector<std::string> SequenceEditor::Groups() const {
  std::vector<std::string> groups;
  for (const CommandRecord& record : catalogue_.Records()) {
    const bool known = std::any_of(groups.begin(), groups.end(), [&](const std::string& group) {
      return SameIgnoringCase(group, record.group);
    });
    if (!known && !SameIgnoringCase(record.group, Str(StrId::kAllGroups)))
      groups.push_back(record.group);
  }
  return groups;
}

std::vector<std::string> SequenceEditor::AvailableTitles(const std::string& group) const {
  const bool all = group == Str(StrId::kAllGroups);
  std::vector<std::string> titles;
  for (const CommandRecord& record : catalogue_.Records()) {
    if (!all && record.group != group) continue;
    if (settings_.filterByModel && (record.equipmentMask & settings_.modelMask) == 0) continue;
    titles.push_back(record.title);
  }
  return titles;
}

int SequenceEditor::AddCommand(const std::string& title, int selected) {
  for (const CommandRecord& record : catalogue_.Records()) {
    if (record.title != title) continue;
    const int position =
        selected < 0 || selected >= current_.commandCount ? current_.commandCount : selected + 1;
    current_.InsertCommand(record, position);
    return position;
  }
  return -1;
}

int SequenceEditor::RemoveCommand(int selected) {
  if (!current_.RemoveCommand(selected)) return -1;
  if (current_.commandCount == 0) return -1;
  return std::max(selected - 1, 0);
}

void SequenceEditor::SelectSaved(int index) {
  current_.ClearCommands();
  if (index < 0 || index >= saved_.Count()) return;
  for (const CommandRecord& record : saved_.At(index).commands) current_.InsertCommand(record);
}

bool SequenceEditor::EditParameter(int command, int parameter) {
  if (command < 0 || command >= current_.commandCount) return false;
  std::vector<CommandParameter>& parameters =
      current_.commands[static_cast<size_t>(command)].parameters;
  if (parameter < 0 || parameter >= static_cast<int>(parameters.size())) return false;
  CommandParameter& edited = parameters[static_cast<size_t>(parameter)];
  if (!IsEditableParameter(edited)) return false;
  std::string value = CollectParameterValue(edited, ui_);
  if (value == Str(StrId::kError)) return false;
  edited.value = std::move(value);
  return true;
}

void SequenceEditor::EditAllParameters(int command) {
  if (command < 0 || command >= current_.commandCount) return;
  const auto& parameters = current_.commands[static_cast<size_t>(command)].parameters;
  for (int p = 0; p < static_cast<int>(parameters.size()); ++p) {
    if (!IsEditableParameter(parameters[static_cast<size_t>(p)])) continue;
    if (!EditParameter(command, p)) return;
  }
}

bool SequenceEditor::New() {
  std::optional<std::string> name = AskSequenceName("", ui_);
  if (!name) return false;
  current_.ClearCommands();
  current_.name = *name;
  // The user has been told when it was not saved.
  static_cast<void>(StoreSequence(saved_, current_, FilePath(), ui_));
  Reload();
  return true;
}

void SequenceEditor::Save(const std::string& selectedName) {
  std::optional<std::string> name = AskSequenceName(selectedName, ui_);
  if (!name) return;
  CommandSequence copy = current_;
  copy.name = *name;
  static_cast<void>(StoreSequence(saved_, copy, FilePath(), ui_));
  Reload();
}

bool SequenceEditor::Delete(const std::string& selectedName) {
  if (ui_.Message(W("Confirma exclusão?"), "", MessageButtons::YesNo, MessageIcon::Question) !=
      MessageAnswer::Yes)
    return false;
  static_cast<void>(DeleteSequence(saved_, selectedName, FilePath(), ui_));
  Reload();
  return true;
}

void SequenceEditor::Reload() {
  auto wait = ui_.ShowWait(Str(StrId::kPleaseWait));
  saved_.Clear();
  static_cast<void>(LoadSequences(FilePath(), saved_));
}

int SequenceEditor::Run(const std::string& repetitionsText, const std::string& waitText,
                        bool stepByStep) {
  repetitions_ = ReadRunField(repetitionsText, 1, kRepetitionsLimit, repetitions_, ui_);
  waitSeconds_ = ReadRunField(waitText, 0, kWaitLimit, waitSeconds_, ui_);
  ExecutionContext context{settings_, ui_, ports_, clock_};
  return ExecuteSequence(current_, {repetitions_, waitSeconds_, stepByStep}, context);
}

void SequenceEditor::Verify(const std::string& repetitionsText, const std::string& waitText,
                            bool stepByStep) {
  repetitions_ = ReadRunField(repetitionsText, 1, kRepetitionsLimit, repetitions_, ui_);
  waitSeconds_ = ReadRunField(waitText, 0, kWaitLimit, waitSeconds_, ui_);
  ExecutionContext context{settings_, ui_, ports_, clock_};
  VerifyTotals(current_, {repetitions_, waitSeconds_, stepByStep}, context);
}

}  // namespace taloven
