#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace taloven {

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

// Entry dialogs: each asks for one value of a given form. Each returns what
// the user entered, unpadded, or nothing when the dialog was cancelled; the
// result forms are built by the caller.
class EntryUi {
 public:
  virtual ~EntryUi() = default;

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

  // The interval dialog of the journal operations (COOs chosen, both 0,
  // user 1, dates today when it opens).
  virtual std::optional<MfdInterval> MfdIntervalDialog() = 0;
  // The reading-report dialog for fiscal-memory files (dates today).
  virtual std::optional<MfReadingChoice> MfReadingDialog() = 0;
};

}  // namespace taloven
