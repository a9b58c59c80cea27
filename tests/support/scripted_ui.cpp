#include "support/scripted_ui.h"

#include <gtest/gtest.h>

#include "support/test_clock.h"

namespace taloven::testing {
namespace {

class ScriptedWait : public WaitHandle {
 public:
  ScriptedWait(std::vector<std::string>& texts,
               std::vector<std::pair<long long, long long>>& progress)
      : texts_(texts), progress_(progress) {}
  void SetText(const std::string& text) override { texts_.push_back(text); }
  void Hide() override {}
  void SetProgress(long long done, long long total) override {
    progress_.emplace_back(done, total);
  }

 private:
  std::vector<std::string>& texts_;
  std::vector<std::pair<long long, long long>>& progress_;
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
  bool Exists() const override { return true; }

 private:
  std::shared_ptr<ScriptedUi::ProgressRecord> record_;
  std::function<ProgressEvents(ScriptedUi::ProgressRecord&)>& onPump_;
};

}  // namespace

ScriptedUi::~ScriptedUi() = default;

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

MessageAnswer ScriptedUi::Message(const std::string& text, const std::string& caption,
                                  MessageButtons buttons, MessageIcon) {
  prompts_.push_back({"message", text, {caption}});
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  auto answer = Next<MessageAnswer>("message");
  if (answer) return *answer;
  return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
}

std::unique_ptr<WaitHandle> ScriptedUi::ShowWait(const std::string& text) {
  prompts_.push_back({"wait", text, {}});
  waitTexts_.push_back(text);
  return std::make_unique<ScriptedWait>(waitTexts_, waitProgress_);
}

std::unique_ptr<WaitHandle> ScriptedUi::ShowConnection(const std::string& text) {
  prompts_.push_back({"connection", text, {}});
  waitTexts_.push_back(text);
  return std::make_unique<ScriptedWait>(waitTexts_, waitProgress_);
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
  prompts_.push_back({"text", prompt, {std::to_string(limit), preset}});
  return Next<std::string>("text");
}

std::optional<std::string> ScriptedUi::LongText(const std::string& prompt, int limit,
                                                const std::string& preset) {
  prompts_.push_back({"longtext", prompt, {std::to_string(limit), preset}});
  return Next<std::string>("longtext");
}

std::optional<std::string> ScriptedUi::Number(const std::string& prompt, int limit,
                                              const std::string& preset) {
  prompts_.push_back({"number", prompt, {std::to_string(limit), preset}});
  return Next<std::string>("number");
}

std::optional<std::string> ScriptedUi::Amount(const std::string& prompt, int integerDigits,
                                              int decimals, const std::string& preset) {
  prompts_.push_back(
      {"amount", prompt, {std::to_string(integerDigits), std::to_string(decimals), preset}});
  return Next<std::string>("amount");
}

std::optional<PercentAnswer> ScriptedUi::Percent(const std::string& prompt) {
  prompts_.push_back({"percent", prompt, {}});
  return Next<PercentAnswer>("percent");
}

std::optional<Date> ScriptedUi::DateEntry(const std::string& prompt) {
  prompts_.push_back({"date", prompt, {}});
  return Next<Date>("date");
}

std::optional<TimeAnswer> ScriptedUi::TimeEntry(const std::string& prompt, bool clockMode) {
  prompts_.push_back({"time", prompt, {clockMode ? "clock" : ""}});
  return Next<TimeAnswer>("time");
}

std::optional<int> ScriptedUi::Options(const std::string& prompt,
                                       const std::vector<std::string>& options) {
  prompts_.push_back({"options", prompt, options});
  return Next<int>("options");
}

std::optional<ChequeFields> ScriptedUi::ChequePositions(const ChequeFields& preset) {
  prompts_.push_back({"cheque", "", {preset.begin(), preset.end()}});
  return Next<ChequeFields>("cheque");
}

std::optional<ClicheAnswer> ScriptedUi::ClicheEditor() {
  prompts_.push_back({"cliche", "", {}});
  return Next<ClicheAnswer>("cliche");
}

TaxRates ScriptedUi::TaxRatePage(const TaxRates& preset, bool* accepted) {
  std::vector<std::string> details(preset.rates.begin(), preset.rates.end());
  details.push_back(preset.linkage);
  prompts_.push_back({"taxrates", "", details});
  auto answer = Next<TaxPageAnswer>("taxrates");
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
  prompts_.push_back({"save", proposedName, {defaultExtension}});
  return Next<std::string>("save");
}

std::optional<std::string> ScriptedUi::OpenFileName(const std::vector<FileFilter>& filters) {
  dialogFilters_.push_back(filters);
  prompts_.push_back({"open", "", {}});
  return Next<std::string>("open");
}

std::optional<std::vector<std::string>> ScriptedUi::OpenFileNames(
    const std::string& title, const std::vector<FileFilter>& filters, bool several) {
  dialogFilters_.push_back(filters);
  prompts_.push_back({"openfiles", title, {several ? "several" : "one"}});
  return Next<std::vector<std::string>>("openfiles");
}

std::optional<MfdInterval> ScriptedUi::MfdIntervalDialog() {
  prompts_.push_back({"interval", "", {}});
  return Next<MfdInterval>("interval");
}

std::optional<MfReadingChoice> ScriptedUi::MfReadingDialog() {
  prompts_.push_back({"mfreading", "", {}});
  return Next<MfReadingChoice>("mfreading");
}

bool ScriptedUi::ShellOpen(const std::string& path) {
  prompts_.push_back({"shellopen", path, {}});
  opened_.push_back(path);
  return shellOpenSucceeds;
}

void ScriptedUi::ShowResults(const std::string& message, const std::string& dump) {
  prompts_.push_back({"results", message, {dump}});
  results_.emplace_back(message, dump);
}

}  // namespace taloven::testing
