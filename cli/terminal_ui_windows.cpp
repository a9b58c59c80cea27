#include <cctype>
#include <cstdlib>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/encoding.h"
#include "interrupt_cancel.h"
#include "resources/strings.h"
#include "terminal_ui.h"

extern char** environ;

namespace taloven {
namespace {

class TerminalWait : public WaitHandle {
 public:
  explicit TerminalWait(std::ostream& err) : err_(err), shown_(::isatty(STDERR_FILENO) == 1) {}
  ~TerminalWait() override {
    if (drawn_) err_ << "\n" << std::flush;
  }
  // Drawn over itself on a terminal only: a log of the error stream gets no
  // progress lines.
  void SetProgress(long long done, long long total) override {
    if (!shown_ || total <= 0) return;
    const long long percent = done * 100 / total;
    if (drawn_ && percent == lastPercent_) return;
    err_ << "\r" << percent << "%" << std::flush;
    drawn_ = true;
    lastPercent_ = percent;
  }

 private:
  std::ostream& err_;
  bool shown_;
  bool drawn_ = false;
  long long lastPercent_ = 0;
};

// Progress is not drawn on a terminal: a script reading standard output must
// see only results. Interrupting the program is the terminal's cancel.
class TerminalProgress : public ProgressView {
 public:
  ProgressEvents Pump() override {
    ProgressEvents events;
    events.cancelClicked = InterruptCancel::Requested();
    return events;
  }
};

}  // namespace

std::string TerminalUi::Out(const std::string& cp1252) const {
  return raw_ ? cp1252 : Cp1252ToUtf8(cp1252);
}

std::optional<std::string> TerminalUi::ReadLine() {
  std::string line;
  if (!std::getline(in_, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return raw_ ? line : Utf8ToCp1252(line);
}

MessageAnswer TerminalUi::Message(const std::string& text, const std::string&,
                                  MessageButtons buttons, MessageIcon) {
  err_ << Out(text) << "\n";
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  const bool yesNo = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel;
  const bool retry = buttons == MessageButtons::RetryCancel;
  while (true) {
    err_ << Out(W(yesNo   ? "[s]im / [n]ão: "
                  : retry ? "[t]entar novamente / [c]ancelar: "
                          : "[o]k / [c]ancelar: "))
         << std::flush;
    auto line = ReadLine();
    if (!line) return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    char c = line->empty()
                 ? '\0'
                 : static_cast<char>(std::tolower(static_cast<unsigned char>((*line)[0])));
    if (yesNo && c == 's') return MessageAnswer::Yes;
    if (yesNo && c == 'n') return MessageAnswer::No;
    if (retry && c == 't') return MessageAnswer::Retry;
    if (!yesNo && !retry && c == 'o') return MessageAnswer::Ok;
    if (c == 'c' && buttons != MessageButtons::YesNo) return MessageAnswer::Cancel;
  }
}

std::unique_ptr<WaitHandle> TerminalUi::ShowWait(const std::string&) {
  return std::make_unique<TerminalWait>(err_);
}

std::unique_ptr<WaitHandle> TerminalUi::ShowConnection(const std::string& text) {
  err_ << Out(text) << "\n";
  return std::make_unique<TerminalWait>(err_);
}

std::unique_ptr<ProgressView> TerminalUi::CreateProgress(const std::string&, bool) {
  return std::make_unique<TerminalProgress>();
}

void TerminalUi::Pause(int ms) {
  // poll rather than a sleep that resumes after a signal: an interrupt ends
  // the pause, and the waiting code sees the cancel at once.
  if (ms > 0 && !InterruptCancel::Requested()) ::poll(nullptr, 0, ms);
}

std::optional<std::string> TerminalUi::SaveFileName(const std::string& proposedName,
                                                    const std::string& defaultExtension,
                                                    const std::vector<FileFilter>&) {
  err_ << "Arquivo [" << Out(proposedName) << "]: " << std::flush;
  auto line = ReadLine();
  if (!line) return std::nullopt;
  std::string name = line->empty() ? proposedName : *line;
  std::string ext = defaultExtension;
  if (ext.rfind("*", 0) == 0) ext.erase(0, 1);
  if (name.find('.') == std::string::npos) name += ext;
  return name;
}

std::optional<std::string> TerminalUi::OpenFileName(const std::vector<FileFilter>&) {
  err_ << "Arquivo: " << std::flush;
  auto line = ReadLine();
  if (!line || line->empty()) return std::nullopt;
  return line;
}

bool TerminalUi::ShellOpen(const std::string& path) {
  const char* argv[] = {"xdg-open", path.c_str(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
    return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void TerminalUi::ShowResults(const std::string& message, const std::string&) {
  err_ << Out(message) << "\n";
}

}  // namespace taloven
