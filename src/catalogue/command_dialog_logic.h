#pragma once

#include <array>
#include <string>

#include "catalogue/command_record.h"
#include "catalogue/command_sender.h"
#include "ui/app_settings.h"

namespace taloven {

class Ui;

// One parameter row of the command dialog: label, value field, "Editar".
struct CommandDialogRow {
  int labelId = 0;
  int valueId = 0;
  int editId = 0;
  bool visible = false;
  std::string label;  // the parameter's title, " *" after it when mandatory
  int lengthLimit = 0;
  std::string text;  // what the value field holds
};

// The command dialog without its window: its own copy of a command record,
// twelve rows for the first twelve parameters, value collection on opening,
// row editing and sending. Parameters past the twelfth have no row; they are
// sent with the values they came with.
class CommandDialogLogic {
 public:
  static constexpr int kRowCount = 12;

  CommandDialogLogic(CommandRecord record, const AppSettings& settings, Ui& ui,
                     CommandSender& sender);

  // What the dialog does as it opens: the date-and-time command asks for the
  // computer's clock and, when confirmed, is sent at once; every other
  // command (or an unconfirmed clock) has its editable values collected in
  // order until one is cancelled.
  void Open();

  // "Editar" of row (0 to 11): the parameter's entry again; the result, a
  // cancel text included, becomes the row's text.
  void Edit(int row);

  // Takes the rows into the record, sends it and shows the results when it
  // failed or results are to be shown. Returns the sender's result.
  int Send();

  // The value field as the user left it.
  void SetRowText(int row, std::string text);

  const std::array<CommandDialogRow, kRowCount>& Rows() const { return rows_; }
  const CommandRecord& Record() const { return record_; }
  const std::string& Caption() const { return record_.title; }
  // Parameters without a row; empty note when there are none.
  int ExtraParameterCount() const;
  std::string ExtraParametersNote() const;

 private:
  int UsedRows() const;
  bool RowIsEditable(int row) const;
  bool OpenAsClockCommand();
  void CollectAll();

  CommandRecord record_;
  const AppSettings& settings_;
  Ui& ui_;
  CommandSender& sender_;
  std::array<CommandDialogRow, kRowCount> rows_;
};

}  // namespace taloven
