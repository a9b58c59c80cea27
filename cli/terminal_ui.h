#pragma once

#include <cstdio>
#include <istream>
#include <ostream>

#include "ui/ui.h"

namespace taloven {

// The CLI's answer to the Ui seam: prompts and messages on the error stream,
// answers read line by line from the input stream. Results go to standard
// output through the commands themselves.
class TerminalUi : public Ui {
 public:
  TerminalUi(std::istream& in, std::ostream& err, bool raw) : in_(in), err_(err), raw_(raw) {}

  // Windows (terminal_ui_windows.cpp).
  MessageAnswer Message(const std::string& text, const std::string& caption, MessageButtons buttons,
                        MessageIcon icon) override;
  std::unique_ptr<WaitHandle> ShowWait(const std::string& text) override;
  std::unique_ptr<WaitHandle> ShowConnection(const std::string& text) override;
  std::unique_ptr<ProgressView> CreateProgress(const std::string& title, bool smooth) override;
  void Pause(int ms) override;
  std::optional<std::string> SaveFileName(const std::string& proposedName,
                                          const std::string& defaultExtension,
                                          const std::vector<FileFilter>& filters) override;
  std::optional<std::string> OpenFileName(const std::vector<FileFilter>& filters) override;

  // The fiscal-memory dialogs as prompts (terminal_ui_fiscalmem.cpp).
  std::optional<std::vector<std::string>> OpenFileNames(const std::string& title,
                                                        const std::vector<FileFilter>& filters,
                                                        bool several) override;
  std::optional<MfdInterval> MfdIntervalDialog() override;
  std::optional<MfReadingChoice> MfReadingDialog() override;
  bool ShellOpen(const std::string& path) override;
  void ShowResults(const std::string& message, const std::string& dump) override;
  // Kept for the command, which reports it with the exchange's result.
  void LogWriteFailed(const std::string& text) override { logFailure_ = text; }
  // The latest failure to write the daily log; empty when none.
  const std::string& LogFailure() const { return logFailure_; }

  // Entry dialogs as prompts (terminal_ui_entry.cpp).
  std::optional<std::string> TextEntry(const std::string& prompt, int limit,
                                       const std::string& preset) override;
  std::optional<std::string> LongText(const std::string& prompt, int limit,
                                      const std::string& preset) override;
  std::optional<std::string> Number(const std::string& prompt, int limit,
                                    const std::string& preset) override;
  std::optional<std::string> Amount(const std::string& prompt, int integerDigits, int decimals,
                                    const std::string& preset) override;
  std::optional<PercentAnswer> Percent(const std::string& prompt) override;
  std::optional<Date> DateEntry(const std::string& prompt) override;
  std::optional<TimeAnswer> TimeEntry(const std::string& prompt, bool clockMode) override;
  std::optional<int> Options(const std::string& prompt,
                             const std::vector<std::string>& options) override;
  std::optional<ChequeFields> ChequePositions(const ChequeFields& preset) override;
  std::optional<ClicheAnswer> ClicheEditor() override;
  TaxRates TaxRatePage(const TaxRates& preset, bool* accepted) override;

  // Converts a core text for the terminal (UTF-8 unless raw).
  std::string Out(const std::string& cp1252) const;
  // Reads one line; nothing at the end of the input (Ctrl-D).
  std::optional<std::string> ReadLine();

 private:
  std::istream& in_;
  std::ostream& err_;
  bool raw_;
  std::string logFailure_;
};

}  // namespace taloven
