// The fiscal-memory reading from an MF image, by reduction counter or date,
// complete or simplified.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "call_outcome.h"
#include "formats/journal_record.h"
#include "formats/mf_image.h"
#include "formats/mfd_file.h"
#include "kovo_mfd.h"
#include "output_file.h"
#include "progress.h"
#include "report_text.h"

namespace kovo {
namespace {

// Output goes out in pieces of about this size, whatever the image's.
constexpr size_t kPieceBytes = 1 << 20;

// An MF image read block by block through a buffer.
class MfFile {
 public:
  enum class Block { kReduction, kDamaged, kEnd, kUnreadable };

  ~MfFile() {
    if (fd_ >= 0) ::close(fd_);
  }

  // false when the file cannot be read, is larger than any download makes,
  // or has no sound identity block.
  bool Open(const char* path, taloven::MfIdentity& identity) {
    if (path == nullptr) return false;
    fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<uint64_t>(info.st_size) > taloven::kLargestImageBytes)
      return false;
    size_ = static_cast<uint64_t>(info.st_size);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (!Fill() || held_ < taloven::kMfBlockSize) return false;
    at_ = taloven::kMfBlockSize;
    return taloven::DecodeMfIdentity(std::string_view(buffer_.data(), at_), identity);
  }

  // The next reduction block; a last block cut short is damage too.
  Block Next(taloven::MfReduction& z) {
    if (held_ - at_ < taloven::kMfBlockSize && !atEnd_) {
      std::memmove(buffer_.data(), buffer_.data() + at_, held_ - at_);
      held_ -= at_;
      at_ = 0;
      if (!Fill()) return Block::kUnreadable;
    }
    if (held_ - at_ < taloven::kMfBlockSize) {
      if (held_ == at_) return Block::kEnd;
      at_ = held_;
      ++damaged_;
      return Block::kDamaged;
    }
    const std::string_view block(buffer_.data() + at_, taloven::kMfBlockSize);
    at_ += taloven::kMfBlockSize;
    if (taloven::DecodeMfReduction(block, z)) return Block::kReduction;
    ++damaged_;
    return Block::kDamaged;
  }

  size_t DamagedBlocks() const { return damaged_; }
  uint64_t Size() const { return size_; }
  // Bytes of the file used so far.
  uint64_t Used() const { return read_ - (held_ - at_); }

 private:
  // Reads until the buffer is full or the file ends.
  bool Fill() {
    while (held_ < buffer_.size() && !atEnd_) {
      const ssize_t got = ::read(fd_, buffer_.data() + held_, buffer_.size() - held_);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return false;
      if (got == 0) atEnd_ = true;
      held_ += static_cast<size_t>(got);
      read_ += static_cast<uint64_t>(got);
    }
    return true;
  }

  int fd_ = -1;
  std::vector<char> buffer_ = std::vector<char>(256 * taloven::kMfBlockSize);
  size_t held_ = 0, at_ = 0;
  uint64_t size_ = 0, read_ = 0;
  bool atEnd_ = false;
  size_t damaged_ = 0;
};

bool Counter(const char* text, int& value) {
  if (text == nullptr || *text == '\0') return false;
  value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9' || p - text >= 6) return false;
    value = value * 10 + (*p - '0');
  }
  return true;
}

std::string RateLabel(const taloven::MfTaxRateTotal& rate, int index) {
  char label[32];
  std::snprintf(label, sizeof label, "%s%02d %d,%02d%%", rate.iss ? "S" : "T", index + 1,
                rate.hundredths / 100, rate.hundredths % 100);
  return label;
}

std::string Zeroed(long long value, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
  return buffer;
}

void Header(ReportText& r, const taloven::MfIdentity& id, bool simplified,
            const std::string& interval) {
  r.Line(W(simplified ? "LEITURA DA MEMÓRIA FISCAL SIMPLIFICADA" : "LEITURA DA MEMÓRIA FISCAL"));
  r.Line(id.maker + " " + id.model + " " + id.type);
  r.Line("FAB:" + id.serialNumber);
  r.Line(W("VERSÃO:") + id.firmware + " ECF:" + Zeroed(id.registerNumber, 3) +
         " LJ:" + Zeroed(id.storeNumber, 4));
  r.Line("CNPJ:" + id.cnpj);
  r.Line("IE:" + id.ie);
  if (!id.im.empty()) r.Line("IM:" + id.im);
  r.Line(interval);
  r.Line(std::string(48, '-'));
}

void Complete(ReportText& r, const taloven::MfReduction& z) {
  r.Row("CRZ:" + Zeroed(z.crz, 4) + " COO:" + Zeroed(z.coo, 6), "CRO:" + Zeroed(z.cro, 4));
  r.Row("DATA:", DateTimeText(z.when));
  r.Row("GRANDE TOTAL:", Money(z.grandTotal));
  r.Row("VENDA BRUTA:", Money(z.gross));
  r.Row("CANCELAMENTOS:", Money(z.cancellations));
  r.Row("DESCONTOS:", Money(z.discounts));
  r.Row(W("ACRÉSCIMOS:"), Money(z.surcharges));
  r.Row("ISENTO:", Money(z.exempt));
  r.Row(W("NÃO INCIDÊNCIA:"), Money(z.nonIncidence));
  r.Row(W("SUBSTITUIÇÃO TRIBUTÁRIA:"), Money(z.substitution));
  for (int k = 0; k < z.rateCount; ++k)
    r.Row(RateLabel(z.rates[static_cast<size_t>(k)], k),
          Money(z.rates[static_cast<size_t>(k)].cents));
  r.Line(std::string(48, '-'));
}

int Report(const char* mfPath, const char* textPath, const char* type, const char* start,
           const char* end) {
  if (type == nullptr || textPath == nullptr || *textPath == '\0') return KOVO_NOT_EXECUTED;
  const std::string kind = type;
  if (kind != "C" && kind != "c" && kind != "D" && kind != "d") return KOVO_NOT_EXECUTED;
  const bool byDate = kind == "D" || kind == "d";
  const bool simplified = kind == "c" || kind == "d";
  int first = 0, last = 0;
  std::string interval;
  if (byDate) {
    if (start == nullptr || end == nullptr || !taloven::DateKeyFromDdmmyy(start, first) ||
        !taloven::DateKeyFromDdmmyy(end, last))
      return KOVO_INVALID_DATE;
    auto shown = [](int key) {
      char b[16];
      std::snprintf(b, sizeof b, "%02d/%02d/%04d", key % 100, key / 100 % 100, key / 10000);
      return std::string(b);
    };
    interval = W("PERÍODO: ") + shown(first) + " A " + shown(last);
  } else {
    if (!Counter(start, first) || !Counter(end, last)) return KOVO_NOT_EXECUTED;
    interval = "CRZ: " + Zeroed(first, 4) + " A " + Zeroed(last, 4);
  }
  MfFile file;
  taloven::MfIdentity identity;
  if (!file.Open(mfPath, identity)) return KOVO_NO_VALID_DATA;

  // Goes out in pieces once a reduction is in: a reading that takes none
  // writes nothing.
  OutputFile output(textPath, KOVO_TXT_NOT_OPENED);
  ReportText r;
  Header(r, identity, simplified, interval);
  taloven::MfReduction sum;
  // The period's sums, wider than a reduction's own amounts: many of them
  // may pass 64 bits.
  Cents gross = 0, cancellations = 0, discounts = 0, surcharges = 0;
  std::array<Cents, taloven::kMfTaxRates> rateCents{};
  int count = 0;
  taloven::MfReduction z;
  InputProgress progress(static_cast<long long>(file.Size()));
  for (;;) {
    // A cancel leaves the output's temporary file to be removed.
    if (progress.At(static_cast<long long>(file.Used()))) return KOVO_NOT_EXECUTED;
    const MfFile::Block block = file.Next(z);
    if (block == MfFile::Block::kEnd) break;
    if (block == MfFile::Block::kUnreadable) return KOVO_NO_VALID_DATA;
    if (block == MfFile::Block::kDamaged) continue;
    const int key = byDate ? z.DateKey() : static_cast<int>(z.crz);
    if (key < first || key > last) continue;
    ++count;
    if (simplified)
      r.Row("CRZ:" + Zeroed(z.crz, 4) + " " + DateText(z.when), Money(z.gross));
    else
      Complete(r, z);
    gross += z.gross;
    cancellations += z.cancellations;
    discounts += z.discounts;
    surcharges += z.surcharges;
    sum.grandTotal = z.grandTotal;
    sum.rateCount = std::max(sum.rateCount, z.rateCount);
    for (int k = 0; k < z.rateCount; ++k) {
      auto& rate = sum.rates[static_cast<size_t>(k)];
      rate.hundredths = z.rates[static_cast<size_t>(k)].hundredths;
      rate.iss = z.rates[static_cast<size_t>(k)].iss;
      rateCents[static_cast<size_t>(k)] += z.rates[static_cast<size_t>(k)].cents;
    }
    if (r.Bytes().size() >= kPieceBytes) {
      if (!output.Write(r.Bytes())) return output.Finish();
      r.Bytes().clear();
    }
  }
  if (progress.Whole()) return KOVO_NOT_EXECUTED;
  if (count == 0) return KOVO_NO_VALID_DATA;
  if (simplified) r.Line(std::string(48, '-'));
  r.Line(W("TOTAL DO PERÍODO"));
  r.Row(W("REDUÇÕES:"), std::to_string(count));
  r.Row("VENDA BRUTA:", Money(gross));
  r.Row("CANCELAMENTOS:", Money(cancellations));
  r.Row("DESCONTOS:", Money(discounts));
  r.Row(W("ACRÉSCIMOS:"), Money(surcharges));
  for (int k = 0; k < sum.rateCount; ++k)
    r.Row(RateLabel(sum.rates[static_cast<size_t>(k)], k),
          Money(rateCents[static_cast<size_t>(k)]));
  r.Row("GRANDE TOTAL FINAL:", Money(sum.grandTotal));
  if (file.DamagedBlocks() > 0)
    r.Row(W("BLOCOS DANIFICADOS IGNORADOS:"), std::to_string(file.DamagedBlocks()));
  LastOutcome().damagedParts = static_cast<long long>(file.DamagedBlocks());
  LastOutcome().damagedBytes = static_cast<long long>(file.DamagedBlocks() * taloven::kMfBlockSize);
  output.Write(r.Bytes());
  return output.Finish();
}

}  // namespace
}  // namespace kovo

extern "C" KOVO_API int KovoRelatorioMFTxt(const char* mfPath, const char* textPath,
                                           const char* type, const char* start, const char* end) {
  return kovo::Guarded(KOVO_NO_VALID_DATA,
                       [&] { return kovo::Report(mfPath, textPath, type, start, end); });
}
