#pragma once

#include <array>
#include <string>

#include "catalogue/command_record.h"
#include "link/execute.h"

namespace taloven {

class Ui;

// The command dialog without its window: its own copy of one command, a
// text per parameter row, collecting, editing and sending. The rows show
// the first twelve parameters; any further ones are sent with their
// catalogue values.
class CommandDialogLogic {
 public:
  static constexpr int kRows = 12;

  explicit CommandDialogLogic(CommandRecord record);

  const CommandRecord& Record() const { return record_; }

  // Rows with a parameter of their own, shown or not.
  int UsedRows() const;
  // A row is shown when it has a parameter the user fills.
  bool RowShown(int row) const;
  // Characters the row's value field accepts.
  int RowLimit(int row) const;
  // The parameter's title, with " *" when it is mandatory.
  std::string RowLabel(int row) const;
  const std::string& RowText(int row) const { return rows_[static_cast<size_t>(row)]; }
  void SetRowText(int row, std::string text);
  // Says which parameters the rows cannot show; empty when all fit.
  std::string ExtraParametersNote() const;

  // What happens as the dialog opens: the date-and-time command offers the
  // computer's clock and, confirmed, is sent at once; otherwise every
  // editable parameter is asked for in turn until one is cancelled.
  void Open(ExecutionContext& context);
  // "Editar": asks for one row's value again; a cancel leaves "ERRO".
  void Edit(int row, Ui& ui);
  // Ok: sends with the row texts; returns Execute's result.
  int Send(ExecutionContext& context);

 private:
  bool OfferComputerClock(ExecutionContext& context);
  void CollectAll(Ui& ui);

  CommandRecord record_;
  std::array<std::string, kRows> rows_;
};

}  // namespace taloven
