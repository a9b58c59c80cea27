#include "catalogue/command_dialog_logic.h"

#include <algorithm>

#include "base/encoding.h"
#include "catalogue/entry_forms.h"
#include "catalogue/parameter_entry.h"
#include "catalogue/parameter_type.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {
namespace {

// The escape text of the command that sets the printer's date and time.
constexpr const char* kClockCommandEscape = "2";

struct RowIds {
  int label, value, edit;
};
constexpr std::array<RowIds, CommandDialogLogic::kRowCount> kRowIds{{
    {1028, 1003, 1052},
    {1029, 1004, 1053},
    {1030, 1005, 1054},
    {1031, 1006, 1055},
    {1032, 1007, 1056},
    {1033, 1008, 1057},
    {1034, 1009, 1058},
    {1035, 1010, 1059},
    {1036, 1011, 1060},
    {1037, 1012, 1061},
    {1039, 1015, 1062},
    {1040, 1013, 1063},
}};

int LengthLimit(const CommandParameter& parameter) {
  const ParameterType type = TypeOf(parameter);
  if (type == ParameterType::kBinary) return 3;
  if (type == ParameterType::kDigHex) return 2 * parameter.size;
  return parameter.size;
}

}  // namespace

CommandDialogLogic::CommandDialogLogic(CommandRecord record, const AppSettings& settings, Ui& ui,
                                       CommandSender& sender)
    : record_(std::move(record)), settings_(settings), ui_(ui), sender_(sender) {
  for (int row = 0; row < kRowCount; ++row) {
    CommandDialogRow& shown = rows_[static_cast<size_t>(row)];
    shown.labelId = kRowIds[static_cast<size_t>(row)].label;
    shown.valueId = kRowIds[static_cast<size_t>(row)].value;
    shown.editId = kRowIds[static_cast<size_t>(row)].edit;
    if (row >= UsedRows()) continue;
    const CommandParameter& parameter = record_.parameters[static_cast<size_t>(row)];
    shown.visible = IsEditableParameter(parameter);
    shown.lengthLimit = LengthLimit(parameter);
    shown.label = parameter.title + (parameter.mandatory ? " *" : "");
  }
}

int CommandDialogLogic::UsedRows() const {
  return std::min(static_cast<int>(record_.parameters.size()), kRowCount);
}

bool CommandDialogLogic::RowIsEditable(int row) const {
  return row >= 0 && row < UsedRows() && rows_[static_cast<size_t>(row)].visible;
}

int CommandDialogLogic::ExtraParameterCount() const {
  return std::max(static_cast<int>(record_.parameters.size()) - kRowCount, 0);
}

std::string CommandDialogLogic::ExtraParametersNote() const {
  const int extra = ExtraParameterCount();
  if (extra == 0) return {};
  if (extra == 1) return W("1 parâmetro adicional será enviado com o valor do catálogo");
  return std::to_string(extra) +
         W(" parâmetros adicionais serão enviados com os valores do catálogo");
}

void CommandDialogLogic::Open() {
  if (record_.escapeText == kClockCommandEscape && OpenAsClockCommand()) return;
  CollectAll();
}

bool CommandDialogLogic::OpenAsClockCommand() {
  // In clock mode the time window adds today's date to the question itself.
  const auto moment = ui_.TimeEntry(Str(StrId::kAcceptComputerClock), true);
  if (!moment) return false;
  const std::string date = DayMonthYear2(moment->date);
  const MessageAnswer answer =
      ui_.Message(Str(StrId::kDateCorrect) + "\r\n" + date, Str(StrId::kProductName),
                  MessageButtons::YesNo, MessageIcon::Exclamation);
  if (answer != MessageAnswer::Yes) return false;
  const std::array<std::string, 3> values{date, HoursMinutesSeconds(moment->time),
                                          moment->summerTime ? "1" : "0"};
  for (int row = 0; row < static_cast<int>(values.size()); ++row)
    if (RowIsEditable(row)) rows_[static_cast<size_t>(row)].text = values[static_cast<size_t>(row)];
  Send();
  return true;
}

void CommandDialogLogic::CollectAll() {
  for (int row = 0; row < UsedRows(); ++row) {
    if (!RowIsEditable(row)) continue;
    std::string value = CollectParameterValue(record_.parameters[static_cast<size_t>(row)], ui_);
    if (value == Str(StrId::kError)) return;
    rows_[static_cast<size_t>(row)].text = std::move(value);
  }
}

void CommandDialogLogic::Edit(int row) {
  if (!RowIsEditable(row)) return;
  rows_[static_cast<size_t>(row)].text =
      CollectParameterValue(record_.parameters[static_cast<size_t>(row)], ui_);
}

void CommandDialogLogic::SetRowText(int row, std::string text) {
  if (RowIsEditable(row)) rows_[static_cast<size_t>(row)].text = std::move(text);
}

int CommandDialogLogic::Send() {
  for (int row = 0; row < UsedRows(); ++row)
    if (RowIsEditable(row))
      record_.parameters[static_cast<size_t>(row)].value = rows_[static_cast<size_t>(row)].text;
  int result;
  {
    // Closed before the results window, which then has the screen alone.
    auto wait = ui_.ShowWait(Str(StrId::kPleaseWait));
    result = sender_.Send(record_);
  }
  if (result != CommandSender::kCompleted || settings_.showResults)
    ui_.ShowResults(record_.formattedReturn, record_.dumpText);
  return result;
}

}  // namespace taloven
