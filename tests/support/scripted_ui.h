#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "ui/ui.h"

namespace taloven::testing {

class TestClock;

// A Ui that answers from a queue and records every prompt, so that each flow
// of the program runs without a display. Information boxes (Ok only) take no
// answer; every other request takes the next one, which must be of the kind
// the request expects (a mismatch or an empty queue fails the test and is
// taken as Cancel).
class ScriptedUi : public Ui {
 public:
  struct Cancel {};
  struct TaxPageAnswer {
    TaxRates rates;
    bool accepted = true;
  };
  using Answer = std::variant<Cancel, std::string, int, MessageAnswer, PercentAnswer, Date,
                              TimeAnswer, ChequeFields, ClicheAnswer, TaxPageAnswer,
                              std::vector<std::string>, MfdInterval, MfReadingChoice>;

  struct Prompt {
    std::string kind;                  // "message", "wait", "text", "number", "options", ...
    std::string text;                  // the prompt or message text (Windows-1252)
    std::vector<std::string> details;  // options, limits, presets, captions
  };

  struct ProgressRecord {
    std::string title;
    std::vector<std::string> captions;
    std::vector<std::string> messages;
    int lower = 0, upper = 0, position = 0;
    int pumps = 0;
    bool modal = false, hidden = false, destroyed = false;
  };

  ScriptedUi() = default;
  explicit ScriptedUi(TestClock* clock) : clock_(clock) {}
  ~ScriptedUi() override;

  void Push(Answer answer) { answers_.push_back(std::move(answer)); }
  template <typename... A>
  void PushAll(A&&... answers) {
    (Push(Answer(std::forward<A>(answers))), ...);
  }
  bool AllAnswered() const { return answers_.empty(); }
  size_t Remaining() const { return answers_.size(); }

  // What the user does to progress windows: called on every pump with the
  // window's record; return the events to report.
  std::function<ProgressEvents(ProgressRecord&)> onProgressPump;

  const std::vector<Prompt>& Prompts() const { return prompts_; }
  std::vector<std::string> PromptKinds() const;
  const std::vector<std::shared_ptr<ProgressRecord>>& Progress() const { return progress_; }
  const std::vector<int>& Pauses() const { return pauses_; }
  const std::vector<std::string>& WaitTexts() const { return waitTexts_; }
  // The filters of every file dialog, in order.
  const std::vector<std::vector<FileFilter>>& DialogFilters() const { return dialogFilters_; }
  // Every SetProgress(done, total) of the wait windows, in order.
  const std::vector<std::pair<long long, long long>>& WaitProgress() const { return waitProgress_; }
  const std::vector<std::pair<std::string, std::string>>& Results() const { return results_; }
  const std::vector<std::string>& Opened() const { return opened_; }
  // The context numbers of the help pages asked for, in order.
  const std::vector<int>& HelpContexts() const { return helpContexts_; }
  bool shellOpenSucceeds = true;

  MessageAnswer Message(const std::string& text, const std::string& caption, MessageButtons buttons,
                        MessageIcon icon) override;
  std::unique_ptr<WaitHandle> ShowWait(const std::string& text) override;
  std::unique_ptr<WaitHandle> ShowConnection(const std::string& text) override;
  std::unique_ptr<ProgressView> CreateProgress(const std::string& title, bool smooth) override;
  void Pause(int ms) override;
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
  std::optional<std::string> SaveFileName(const std::string& proposedName,
                                          const std::string& defaultExtension,
                                          const std::vector<FileFilter>& filters) override;
  std::optional<std::string> OpenFileName(const std::vector<FileFilter>& filters) override;
  // Recorded as "openfiles" with the title; details: "several" or "one".
  std::optional<std::vector<std::string>> OpenFileNames(const std::string& title,
                                                        const std::vector<FileFilter>& filters,
                                                        bool several) override;
  std::optional<MfdInterval> MfdIntervalDialog() override;
  std::optional<MfReadingChoice> MfReadingDialog() override;
  bool ShellOpen(const std::string& path) override;
  bool ShellOpenHelp(const std::string& path, int contextId) override {
    helpContexts_.push_back(contextId);
    return ShellOpen(path);
  }
  void ShowResults(const std::string& message, const std::string& dump) override;
  void LogWriteFailed(const std::string& text) override { logFailures_.push_back(text); }
  const std::vector<std::string>& LogFailures() const { return logFailures_; }

 private:
  template <typename T>
  std::optional<T> Next(const char* kind);
  // Records the request, then takes its answer.
  template <typename T>
  std::optional<T> Ask(const char* kind, std::string text, std::vector<std::string> details);
  std::unique_ptr<WaitHandle> Wait(const char* kind, const std::string& text);

  TestClock* clock_ = nullptr;
  std::deque<Answer> answers_;
  std::vector<Prompt> prompts_;
  std::vector<std::shared_ptr<ProgressRecord>> progress_;
  std::vector<int> pauses_;
  std::vector<std::string> waitTexts_;
  std::vector<std::pair<long long, long long>> waitProgress_;
  std::vector<std::vector<FileFilter>> dialogFilters_;
  std::vector<std::pair<std::string, std::string>> results_;
  std::vector<std::string> opened_;
  std::vector<int> helpContexts_;
  std::vector<std::string> logFailures_;
};

}  // namespace taloven::testing
