#include "catalogue/command_dialog_logic.h"

#include <algorithm>

#include "app/ui.h"
#include "catalogue/entry_forms.h"
#include "catalogue/parameter_entry.h"
#include "resources/encoding.h"
#include "resources/strings.h"

namespace taloven {

CommandDialogLogic::CommandDialogLogic(CommandRecord record) : record_(std::move(record)) {}

int CommandDialogLogic::UsedRows() const {
  return std::min(static_cast<int>(record_.parameters.size()), kRows);
}

bool CommandDialogLogic::RowShown(int row) const {
  return row >= 0 && row < UsedRows() &&
         IsEditableParameter(record_.parameters[static_cast<size_t>(row)]);
}

int CommandDialogLogic::RowLimit(int row) const {
  const CommandParameter& p = record_.parameters[static_cast<size_t>(row)];
  if (p.type == "BINARIO") return 3;
  if (p.type == "DIG_HEX") return 2 * p.size;
  return p.size;
}

std::string CommandDialogLogic::RowLabel(int row) const {
  const CommandParameter& p = record_.parameters[static_cast<size_t>(row)];
  return p.mandatory ? p.title + " *" : p.title;
}

void CommandDialogLogic::SetRowText(int row, std::string text) {
  if (row >= 0 && row < kRows) rows_[static_cast<size_t>(row)] = std::move(text);
}

std::string CommandDialogLogic::ExtraParametersNote() const {
  const size_t count = record_.parameters.size();
  if (count <= kRows) return "";
  return W("Os parâmetros 13 a ") + std::to_string(count) +
         W(" não cabem nesta janela e são enviados com os valores do catálogo.");
}

void CommandDialogLogic::Open(ExecutionContext& context) {
  if (record_.escapeText == "2" && OfferComputerClock(context)) return;
  CollectAll(context.ui);
}

bool CommandDialogLogic::OfferComputerClock(ExecutionContext& context) {
  auto moment = context.ui.TimeEntry(Str(32997), true);
  if (!moment) return false;
  const std::string date = DayMonthYear2(moment->date);
  if (context.ui.Message(Str(32986) + "\r\n" + date, Str(32915), MessageButtons::YesNo,
                         MessageIcon::Exclamation) != MessageAnswer::Yes)
    return false;
  SetRowText(0, date);
  SetRowText(1, HoursMinutesSeconds(moment->time));
  SetRowText(2, moment->summerTime ? "1" : "0");
  Send(context);
  return true;
}

void CommandDialogLogic::CollectAll(Ui& ui) {
  for (int row = 0; row < UsedRows(); ++row) {
    if (!RowShown(row)) continue;
    std::string value = CollectParameterValue(record_.parameters[static_cast<size_t>(row)], ui);
    if (value == Str(32782)) break;
    SetRowText(row, std::move(value));
  }
}

void CommandDialogLogic::Edit(int row, Ui& ui) {
  if (!RowShown(row)) return;
  SetRowText(row, CollectParameterValue(record_.parameters[static_cast<size_t>(row)], ui));
}

int CommandDialogLogic::Send(ExecutionContext& context) {
  for (int row = 0; row < UsedRows(); ++row)
    if (RowShown(row)) record_.parameters[static_cast<size_t>(row)].value = RowText(row);
  int result;
  {
    auto wait = context.ui.ShowWait(Str(32964));
    result = Execute(record_, context);
  }
  // The wait window is gone before the results window opens over the dialog.
  if (result != kExecuteOk || context.settings.showResults)
    context.ui.ShowResults(record_.formattedReturn, record_.dumpText);
  return result;
}

}  // namespace taloven
