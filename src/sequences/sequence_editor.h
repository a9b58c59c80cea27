#pragma once

#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "sequences/saved_sequences.h"
#include "sequences/sequence_runner.h"

namespace taloven {

class Clock;
class PortFactory;
class Ui;

// What the sequences window does, without the window: its own catalogue,
// the saved sequences and the sequence being composed. Positions are those
// of the window's lists; -1 is "nothing selected".
class SequenceEditor {
 public:
  // settings is the program's own: a run and the window's settings button
  // work on it.
  SequenceEditor(AppSettings& settings, Ui& ui, PortFactory& ports, Clock& clock);

  // Reads sequencias.xml and comandos.xml under the wait window.
  void Open();

  const CommandCatalogue& Catalogue() const { return catalogue_; }
  const SavedSequences& Saved() const { return saved_; }
  const CommandSequence& Current() const { return current_; }
  AppSettings& Settings() { return settings_; }

  // The distinct command groups in catalogue order, letter case ignored.
  std::vector<std::string> Groups() const;
  // Titles of the commands of group ("TODOS" for all) that the model filter
  // lets through, in catalogue order.
  std::vector<std::string> AvailableTitles(const std::string& group) const;

  // "Adicionar": a copy of the first catalogue command titled title, after
  // entry selected (at the end when -1). Returns the new entry's position,
  // or -1 when no command has that title.
  int AddCommand(const std::string& title, int selected);
  // "<<Excluir": returns the entry to select next (the one before), or -1.
  int RemoveCommand(int selected);
  // A saved sequence chosen: its commands become the current ones.
  void SelectSaved(int index);

  // Asks for one parameter's value; false when it was not editable or the
  // user cancelled (the value then stays as it was).
  bool EditParameter(int command, int parameter);
  // Asks every editable parameter of the command in order; the first
  // cancel ends the pass.
  void EditAllParameters(int command);

  // "Nova", "Salvar", "Excluir": each ends with Reload when it got past its
  // questions. selectedName is the name selected in the saved list.
  // New and Save are true when a name was accepted (New has then emptied
  // the current sequence, whatever the file said); a cancelled name
  // question changes nothing.
  bool New();
  bool Save(const std::string& selectedName);
  // True when the question was answered Yes (the lists then changed).
  bool Delete(const std::string& selectedName);
  void Reload();

  // "Executar" with the window's field texts; the result of the last run.
  int Run(const std::string& repetitionsText, const std::string& waitText, bool stepByStep);
  // "Verificar": the totals verifier on the current sequence with the same
  // fields.
  void Verify(const std::string& repetitionsText, const std::string& waitText, bool stepByStep);

 private:
  std::string FilePath() const;

  AppSettings& settings_;
  Ui& ui_;
  PortFactory& ports_;
  Clock& clock_;
  CommandCatalogue catalogue_;
  SavedSequences saved_;
  CommandSequence current_;
  int repetitions_ = 1;
  int waitSeconds_ = 0;
};

}  // namespace taloven
