#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace taloven {

// Everything the logic shows to or asks of the user goes through this seam.
// The GUI answers with Qt windows, the CLI on the terminal, the tests from a
// script. Every text crossing it is Windows-1252.

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageIcon { None, Information, Exclamation, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// A window that stays up while its owner works; closed when destroyed.
class WaitHandle {
 public:
  virtual ~WaitHandle() = default;
  virtual void SetText(const std::string& text) = 0;
  virtual void Hide() = 0;
  // How far a long transfer has come, below the text; total 0 when unknown.
  virtual void SetProgress(long long done, long long total) = 0;
};

// What the user did to a progress window since the last poll.
struct ProgressEvents {
  bool escapePressed = false;
  bool cancelClicked = false;
  bool quitRequested = false;  // the application is closing: stop polling
};

// The visible part of a progress window; its logic is ProgressWindow.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetMessage(const std::string& message) = 0;
  virtual void SetRange(int lower, int upper) = 0;
  virtual void SetPosition(int position) = 0;
  virtual void SetModal(bool modal) = 0;  // disables or re-enables the owner
  virtual void Hide() = 0;
  // Lets pending window events through and reports what the user did.
  virtual ProgressEvents Pump() = 0;
  // False once the window is gone (closed by the desktop).
  virtual bool Exists() const = 0;
};

struct Date {
  int day = 1, month = 1, year = 2000;
};
struct TimeOfDay {
  int hour = 0, minute = 0, second = 0;
};

struct TimeAnswer {
  Date date;  // the day at the moment of OK (clock mode)
  TimeOfDay time;
  bool summerTime = false;
};

struct PercentAnswer {
  std::string integerPart;  // as typed, at most 2 digits
  std::string decimalPart;  // as typed, at most 2 digits
};

// Cheque positions in the dialog's field order: columns then lines of amount,
// words 1, words 2, payee, place; columns of day, month, year.
using ChequeFields = std::array<std::string, 13>;

struct ClicheLine {
  std::string text;
  bool underline = false, italic = false, emphasis = false, expanded = false;
};
struct ClicheAnswer {
  std::array<ClicheLine, 3> lines;
  bool centred = false;
};

struct TaxRates {
  std::array<std::string, 16> rates;  // digits, at most 4 each
  std::string linkage;                // 16 characters, '1' = ISS
};

struct FileFilter {
  std::string label;    // e.g. "Arquivos de Texto (*.txt)"
  std::string pattern;  // e.g. "*.txt"
};

// The interval of the journal (MFD) operations: COOs with a user number,
// two dates, or the whole memory ("Total Lógico").
struct MfdInterval {
  enum class Kind { Coos, Dates, Total };
  Kind kind = Kind::Coos;
  long firstCoo = 0, lastCoo = 0;  // 0 to 999999
  int user = 1;                    // 0 to 255
  Date start, end;
};

// The fiscal-memory reading report: by Z-reduction counters or by dates,
// complete or simplified.
struct MfReadingChoice {
  bool byDate = false;
  long firstCrz = 0, lastCrz = 0;  // 0 to 999999
  Date start, end;
  bool simplified = false;
};

class Ui {
 public:
  virtual ~Ui() = default;

  // Message box; the answer is the button pressed.
  virtual MessageAnswer Message(const std::string& text, const std::string& caption,
                                MessageButtons buttons, MessageIcon icon) = 0;

  // Modeless windows closed by destroying the handle. An empty text shows
  // "Aguarde......".
  virtual std::unique_ptr<WaitHandle> ShowWait(const std::string& text) = 0;
  virtual std::unique_ptr<WaitHandle> ShowConnection(const std::string& text) = 0;
  virtual std::unique_ptr<ProgressView> CreateProgress(const std::string& title, bool smooth) = 0;

  // Keeps the interface alive for about ms milliseconds without using the CPU.
  virtual void Pause(int ms) = 0;

  // Entry dialogs. Each returns what the user entered, unpadded, or nothing
  // when the dialog was cancelled; the result forms are built by the caller.
  virtual std::optional<std::string> TextEntry(const std::string& prompt, int limit,
                                               const std::string& preset) = 0;
  virtual std::optional<std::string> LongText(const std::string& prompt, int limit,
                                              const std::string& preset) = 0;
  // limit 0: no length limit.
  virtual std::optional<std::string> Number(const std::string& prompt, int limit,
                                            const std::string& preset) = 0;
  // The amount's digits without the comma.
  virtual std::optional<std::string> Amount(const std::string& prompt, int integerDigits,
                                            int decimals, const std::string& preset) = 0;
  virtual std::optional<PercentAnswer> Percent(const std::string& prompt) = 0;
  // A date the user confirmed with "A data está correta?".
  virtual std::optional<Date> DateEntry(const std::string& prompt) = 0;
  virtual std::optional<TimeAnswer> TimeEntry(const std::string& prompt, bool clockMode) = 0;
  // options: up to 12 texts, empty ones hidden. Answer: the number from 1.
  virtual std::optional<int> Options(const std::string& prompt,
                                     const std::vector<std::string>& options) = 0;
  virtual std::optional<ChequeFields> ChequePositions(const ChequeFields& preset) = 0;
  virtual std::optional<ClicheAnswer> ClicheEditor() = 0;
  // The tax-rate page in a property sheet: the page's contents when it
  // closed, and whether it closed with OK.
  virtual TaxRates TaxRatePage(const TaxRates& preset, bool* accepted) = 0;

  // File dialogs; nothing when cancelled.
  virtual std::optional<std::string> SaveFileName(const std::string& proposedName,
                                                  const std::string& defaultExtension,
                                                  const std::vector<FileFilter>& filters) = 0;
  virtual std::optional<std::string> OpenFileName(const std::vector<FileFilter>& filters) = 0;
  // Existing files, in the order the dialog gives them; an empty title keeps
  // the dialog's own, several lets the user pick more than one.
  virtual std::optional<std::vector<std::string>> OpenFileNames(
      const std::string& title, const std::vector<FileFilter>& filters, bool several) = 0;

  // The interval dialog of the journal operations (COOs chosen, both 0,
  // user 1, dates today when it opens).
  virtual std::optional<MfdInterval> MfdIntervalDialog() = 0;
  // The reading-report dialog for fiscal-memory files (dates today).
  virtual std::optional<MfReadingChoice> MfReadingDialog() = 0;

  // Opens a file with the desktop's associated program; false when the
  // opener could not be started.
  virtual bool ShellOpen(const std::string& path) = 0;
  // Opens a help file at the page of a context number; a viewer that cannot
  // be told a page shows the file from its start.
  virtual bool ShellOpenHelp(const std::string& path, int /*contextId*/) { return ShellOpen(path); }

  // The results window with its message and dump texts (modal).
  virtual void ShowResults(const std::string& message, const std::string& dump) = 0;

  // The daily log could not take an exchange's record; the text names the
  // file and the system's reason. The exchange's own result stands.
  virtual void LogWriteFailed(const std::string& text) = 0;
};

}  // namespace taloven
