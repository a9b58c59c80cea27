#include "support/scripted_ui.h"

#include <gtest/gtest.h>

#include "support/test_clock.h"

namespace taloven::testing {
namespace {

class ScriptedWait : public WaitHandle {
 public:
  ScriptedWait(std::vector<std::string>& texts,
               std::vector<std::pair<long long, long long>>& progress, int& open)
      : texts_(texts), progress_(progress), open_(open) {
    ++open_;
  }
  ~ScriptedWait() override { --open_; }
  void SetText(const std::string& text) override { texts_.push_back(text); }
  void SetProgress(long long done, long long total) override {
    progress_.emplace_back(done, total);
  }

 private:
  std::vector<std::string>& texts_;
  std::vector<std::pair<long long, long long>>& progress_;
  int& open_;
};

class ScriptedProgressView : public ProgressView {
 public:
  ScriptedProgressView(std::shared_ptr<ScriptedUi::ProgressRecord> record,
                       std::function<ProgressEvents(ScriptedUi::ProgressRecord&)>& onPump)
      : record_(std::move(record)), onPump_(onPump) {}
  ~ScriptedProgressView() override { record_->destroyed = true; }
  void SetCaption(const std::string& caption) override { record_->captions.push_back(caption); }
  void SetMessage(const std::string& message) override { record_->messages.push_back(message); }
  void SetRange(int lower, int upper) override {
    record_->lower = lower;
    record_->upper = upper;
  }
  void SetPosition(int position) override { record_->position = position; }
  void SetModal(bool modal) override { record_->modal = modal; }
  void Hide() override { record_->hidden = true; }
  ProgressEvents Pump() override {
    ++record_->pumps;
    return onPump_ ? onPump_(*record_) : ProgressEvents{};
  }

 private:
  std::shared_ptr<ScriptedUi::ProgressRecord> record_;
  std::function<ProgressEvents(ScriptedUi::ProgressRecord&)>& onPump_;
};

}  // namespace

ScriptedUi::~ScriptedUi() = default;

void ScriptedUi::Record(Prompt prompt) {
  prompt.underWait = openWaits_ > 0;
  prompts_.push_back(std::move(prompt));
}

std::vector<std::string> ScriptedUi::PromptKinds() const {
  std::vector<std::string> kinds;
  for (const auto& p : prompts_) kinds.push_back(p.kind);
  return kinds;
}

template <typename T>
std::optional<T> ScriptedUi::Next(const char* kind) {
  if (answers_.empty()) {
    ADD_FAILURE() << "no scripted answer left for a " << kind << " request";
    return std::nullopt;
  }
  Answer answer = std::move(answers_.front());
  answers_.pop_front();
  if (std::holds_alternative<Cancel>(answer)) return std::nullopt;
  if (auto* value = std::get_if<T>(&answer)) return std::move(*value);
  ADD_FAILURE() << "the scripted answer does not fit a " << kind << " request";
  return std::nullopt;
}

template <typename T>
std::optional<T> ScriptedUi::Ask(const char* kind, std::string text,
                                 std::vector<std::string> details) {
  Record({kind, std::move(text), std::move(details)});
  return Next<T>(kind);
}

MessageAnswer ScriptedUi::Message(const std::string& text, const std::string& caption,
                                  MessageButtons buttons, MessageIcon) {
  Record({"message", text, {caption}});
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  auto answer = Next<MessageAnswer>("message");
  if (answer) return *answer;
  return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
}

std::unique_ptr<WaitHandle> ScriptedUi::Wait(const char* kind, const std::string& text) {
  Record({kind, text, {}});
  waitTexts_.push_back(text);
  return std::make_unique<ScriptedWait>(waitTexts_, waitProgress_, openWaits_);
}

std::unique_ptr<WaitHandle> ScriptedUi::ShowWait(const std::string& text) {
  return Wait("wait", text);
}

std::unique_ptr<WaitHandle> ScriptedUi::ShowConnection(const std::string& text) {
  return Wait("connection", text);
}

std::unique_ptr<ProgressView> ScriptedUi::CreateProgress(const std::string& title, bool) {
  auto record = std::make_shared<ProgressRecord>();
  record->title = title;
  progress_.push_back(record);
  return std::make_unique<ScriptedProgressView>(record, onProgressPump);
}

void ScriptedUi::Pause(int ms) {
  pauses_.push_back(ms);
  if (clock_) clock_->Sleep(ms);
}

std::optional<std::string> ScriptedUi::TextEntry(const std::string& prompt, int limit,
                                                 const std::string& preset) {
  return Ask<std::string>("text", prompt, {std::to_string(limit), preset});
}

std::optional<std::string> ScriptedUi::LongText(const std::string& prompt, int limit,
                                                const std::string& preset) {
  return Ask<std::string>("longtext", prompt, {std::to_string(limit), preset});
}

std::optional<std::string> ScriptedUi::Number(const std::string& prompt, int limit,
                                              const std::string& preset) {
  return Ask<std::string>("number", prompt, {std::to_string(limit), preset});
}

std::optional<std::string> ScriptedUi::Amount(const std::string& prompt, int integerDigits,
                                              int decimals, const std::string& preset) {
  return Ask<std::string>("amount", prompt,
                          {std::to_string(integerDigits), std::to_string(decimals), preset});
}

std::optional<PercentAnswer> ScriptedUi::Percent(const std::string& prompt) {
  return Ask<PercentAnswer>("percent", prompt, {});
}

std::optional<Date> ScriptedUi::DateEntry(const std::string& prompt) {
  return Ask<Date>("date", prompt, {});
}

std::optional<TimeAnswer> ScriptedUi::TimeEntry(const std::string& prompt, bool clockMode) {
  return Ask<TimeAnswer>("time", prompt, {clockMode ? "clock" : ""});
}

std::optional<int> ScriptedUi::Options(const std::string& prompt,
                                       const std::vector<std::string>& options) {
  return Ask<int>("options", prompt, options);
}

std::optional<ChequeFields> ScriptedUi::ChequePositions(const ChequeFields& preset) {
  return Ask<ChequeFields>("cheque", "", {preset.begin(), preset.end()});
}

std::optional<ClicheAnswer> ScriptedUi::ClicheEditor() {
  return Ask<ClicheAnswer>("cliche", "", {});
}

TaxRates ScriptedUi::TaxRatePage(const TaxRates& preset, bool* accepted) {
  std::vector<std::string> details(preset.rates.begin(), preset.rates.end());
  details.push_back(preset.linkage);
  auto answer = Ask<TaxPageAnswer>("taxrates", "", std::move(details));
  if (!answer) {
    if (accepted) *accepted = false;
    return preset;
  }
  if (accepted) *accepted = answer->accepted;
  return answer->rates;
}

std::optional<std::string> ScriptedUi::SaveFileName(const std::string& proposedName,
                                                    const std::string& defaultExtension,
                                                    const std::vector<FileFilter>& filters) {
  dialogFilters_.push_back(filters);
  return Ask<std::string>("save", proposedName, {defaultExtension});
}

std::optional<std::string> ScriptedUi::OpenFileName(const std::vector<FileFilter>& filters) {
  dialogFilters_.push_back(filters);
  return Ask<std::string>("open", "", {});
}

std::optional<std::vector<std::string>> ScriptedUi::OpenFileNames(
    const std::string& title, const std::vector<FileFilter>& filters, bool several) {
  dialogFilters_.push_back(filters);
  return Ask<std::vector<std::string>>("openfiles", title, {several ? "several" : "one"});
}

std::optional<MfdInterval> ScriptedUi::MfdIntervalDialog() {
  return Ask<MfdInterval>("interval", "", {});
}

std::optional<MfReadingChoice> ScriptedUi::MfReadingDialog() {
  return Ask<MfReadingChoice>("mfreading", "", {});
}

bool ScriptedUi::ShellOpen(const std::string& path) {
  Record({"shellopen", path, {}});
  opened_.push_back(path);
  return shellOpenSucceeds;
}

void ScriptedUi::ShowResults(const std::string& message, const std::string& dump) {
  Record({"results", message, {dump}});
  results_.emplace_back(message, dump);
}

}  // namespace taloven::testing
