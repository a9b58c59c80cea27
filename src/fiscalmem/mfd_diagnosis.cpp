#include "fiscalmem/mfd_diagnosis.h"

#include <cstring>

#include "base/printer_models.h"

namespace taloven {
namespace {

// The report's texts are Windows-1252, like every text of the core.
constexpr std::string_view kUserChange = "ALTERA\xC7\xC3O DE USU\xC1RIO";
constexpr std::string_view kCoo = "COO:";
constexpr std::string_view kFab = "FAB:";
constexpr std::string_view kZTitle = "       REDU\xC7\xC3O Z        ";

// Each searched text is found through one of its bytes that is rare in the
// lines that may hold it (":" is in every time of day).
constexpr size_t kUserChangeCedilla = kUserChange.find('\xC7');
constexpr size_t kZTitleCedilla = kZTitle.find('\xC7');

// Date and time stand at fixed places after a header or a "FAB:": day/month/
// four-digit year from +28 and hours:minutes:seconds from +39.
constexpr size_t kDateOffsets[] = {28, 29, 31, 32, 34, 35, 36, 37};
constexpr size_t kTimeOffsets[] = {39, 40, 42, 43, 45, 46};
constexpr size_t kHeaderMinLength = 46;
constexpr size_t kDateTimeMinLength = 47;

constexpr std::string_view kStars76 =
    "****************************************************************************";
static_assert(kStars76.size() == 76);

bool Matches(std::string_view line, size_t hit, size_t offsetInText, std::string_view text,
             size_t* position) {
  if (hit < offsetInText) return false;
  const size_t start = hit - offsetInText;
  if (line.size() - start < text.size()) return false;
  if (std::memcmp(line.data() + start, text.data(), text.size()) != 0) return false;
  *position = start;
  return true;
}

// The first place where text occurs with its byte `marker` at offsetInText,
// starting no earlier than `from`; npos when nowhere.
inline size_t FindThrough(std::string_view line, char marker, size_t offsetInText,
                          std::string_view text, size_t from = 0) {
  const char* begin = line.data();
  const char* end = begin + line.size();
  const char* cursor = begin + from + offsetInText;
  while (cursor < end) {
    const char* hit = static_cast<const char*>(std::memchr(cursor, marker, end - cursor));
    if (!hit) break;
    size_t position = 0;
    if (Matches(line, hit - begin, offsetInText, text, &position)) return position;
    cursor = hit + 1;
  }
  return std::string_view::npos;
}

// atoi on at most six characters: leading blanks and a sign, then digits up
// to the first other character; 0 when there are none.
long long ReadCoo(std::string_view digits) {
  size_t k = 0;
  while (k < digits.size() && (digits[k] == ' ' || (digits[k] >= '\t' && digits[k] <= '\r'))) ++k;
  bool negative = false;
  if (k < digits.size() && (digits[k] == '+' || digits[k] == '-')) negative = digits[k++] == '-';
  long long value = 0;
  for (; k < digits.size() && digits[k] >= '0' && digits[k] <= '9'; ++k)
    value = value * 10 + (digits[k] - '0');
  return negative ? -value : value;
}

}  // namespace

MfdDiagnosis::MfdDiagnosis(uint32_t modelMask)
    : ignoreFab_(!FabLinesDated(modelMask)),
      header_(DatingJournalHeader()),
      headerDash_(header_.find('-')) {}

void MfdDiagnosis::AppendNumber(long long value) {
  findings_ += std::to_string(value);
}

void MfdDiagnosis::Line(std::string_view line) {
  ++line_;
  if (headerLinesLeft_ > 0) {
    // The header's first following line is passed over; the second is where
    // the date and time stand, and it goes on through the last steps.
    if (--headerLinesLeft_ > 0) return;
    TakeDateTime(line, headerPosition_);
    RestOfLine(line);
    return;
  }

  if (FindThrough(line, '\xC7', kUserChangeCedilla, kUserChange) != std::string_view::npos) {
    findings_ += "**************** ALTERA\xC7\xC3O DE USU\xC1RIO NA LINHA:";
    AppendNumber(line_);
    findings_ += "**************************\r\n\r\n";
    previousCoo_ = 0;
  }

  CheckCoo(line);

  const size_t header = FindThrough(line, '-', headerDash_, header_);
  if (header != std::string_view::npos && line.size() >= header + kHeaderMinLength) {
    headerLinesLeft_ = 2;
    headerPosition_ = header;
    return;
  }
  RestOfLine(line);
}

void MfdDiagnosis::CheckCoo(std::string_view line) {
  // A "COO:" that starts the line is not a document's counter.
  const size_t at = FindThrough(line, 'O', 1, kCoo, 1);
  if (at == std::string_view::npos) return;
  const long long coo = ReadCoo(line.substr(at + kCoo.size(), 6));
  if (previousCoo_ != -1 && coo != previousCoo_ + 1) {
    findings_ += "**************** ERRO - PERDA DE DOCUMENTO NA LINHA:";
    AppendNumber(line_);
    findings_ += "*******************\r\nPerda de ";
    AppendNumber(coo - previousCoo_ - 1);
    findings_ += " documento(s)\r\nPerda de documento(s): ";
    AppendNumber(previousCoo_ + 1);
    findings_ += " a ";
    AppendNumber(coo - 1);
    findings_ += "\r\n";
    findings_ += kStars76;
    findings_ += "\r\n\r\n";
    errorFound_ = true;
    if (coo <= previousCoo_) {
      zPending_ = true;
      pendingDate_ = date_;
      pendingTime_ = time_;
    }
  }
  previousCoo_ = coo;
}

void MfdDiagnosis::TakeDateTime(std::string_view line, size_t position) {
  if (line.size() < position + kDateTimeMinLength) return;
  date_.clear();
  time_.clear();
  for (size_t offset : kDateOffsets) date_ += line[position + offset];
  for (size_t offset : kTimeOffsets) time_ += line[position + offset];
}

void MfdDiagnosis::RestOfLine(std::string_view line) {
  if (!ignoreFab_) {
    const size_t fab = FindThrough(line, 'B', 2, kFab);
    if (fab != std::string_view::npos) TakeDateTime(line, fab);
  }
  if (zPending_ && FindThrough(line, '\xC7', kZTitleCedilla, kZTitle) != std::string_view::npos) {
    WriteZBlock("\r\nlinha da reducao z posterior:");
    errorFound_ = true;
    zPending_ = false;
  }
}

void MfdDiagnosis::WriteZBlock(const char* lineLabel) {
  findings_ += "\r\n**************** ERRO - CHAMAR DLL PARA CRIAR RZ ***************************";
  findings_ += lineLabel;
  AppendNumber(line_);
  findings_ += "\r\nCOO do \xFAltimo documento a ser considerado:";
  AppendNumber(previousCoo_);
  findings_ += "\r\nData:";
  findings_ += pendingDate_;
  findings_ += "\r\nHora:";
  findings_ += pendingTime_;
  findings_ += "\r\n";
  findings_ += kStars76;
  findings_ += "\r\n\r\n";
}

void MfdDiagnosis::Finish(bool saysAllIsWell) {
  if (zPending_)
    WriteZBlock("\r\nlinha:");
  else if (!errorFound_ && saysAllIsWell)
    findings_ += "\r\nNenhum erro foi encontrado!\r\n";
}

}  // namespace taloven
