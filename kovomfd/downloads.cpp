// The three downloads: fiscal memory, electronic journal, basic software.
#include <string>

#include "call_outcome.h"
#include "formats/journal_record.h"
#include "formats/mfd_file.h"
#include "kovo_mfd.h"
#include "memory_download.h"
#include "output_file.h"

namespace kovo {
namespace {

bool AllDigits(const std::string& text, size_t most) {
  if (text.empty() || text.size() > most) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string Padded(const std::string& digits, size_t width) {
  return std::string(width - digits.size(), '0') + digits;
}

// The image goes to disk as it arrives, into a temporary file that takes
// the output's place only when the image is complete and sound: a download
// that fails leaves no file, and an existing file as it was. A journal's
// image is wrapped in the marker blocks of an MFD file.
class FileSink : public ImageSink {
 public:
  FileSink(const char* path, bool journal) : output_(path, KOVO_NOT_EXECUTED), journal_(journal) {}

  int Begin(uint64_t size, const std::string& serialNumber) override {
    if (size == 0) return KOVO_NO_VALID_DATA;
    if (!journal_) return KOVO_OK;
    if (serialNumber.empty()) return KOVO_NO_SERIAL_NUMBER;
    const std::string bare = taloven::MfdFileBytes(serialNumber, "");
    trailer_ = bare.substr(taloven::kMfdHeaderBytes);
    return output_.Write(std::string_view(bare).substr(0, taloven::kMfdHeaderBytes))
               ? KOVO_OK
               : KOVO_NOT_EXECUTED;
  }
  bool Take(std::string_view bytes) override { return output_.Write(bytes); }
  int End() override {
    output_.Write(trailer_);
    return output_.Finish();
  }

 private:
  OutputFile output_;
  bool journal_;
  std::string trailer_;
};

int DownloadRaw(const char* portName, const char* outputPath, char memory) {
  if (portName == nullptr || outputPath == nullptr || *outputPath == '\0') return KOVO_NOT_EXECUTED;
  DownloadRequest request;
  request.memory = memory;
  FileSink sink(outputPath, false);
  return DownloadMemory(portName, request, sink);
}

int DownloadJournal(const char* portName, const char* outputPath, const char* type,
                    const char* start, const char* end, const char* user) {
  if (portName == nullptr || outputPath == nullptr || *outputPath == '\0' || type == nullptr)
    return KOVO_NOT_EXECUTED;
  const std::string kind = type;
  const std::string first = start ? start : "";
  const std::string last = end ? end : "";
  const std::string owner = user ? user : "";
  DownloadRequest request;
  request.memory = '2';
  if (kind == "0") {
    request.selection = '0';
  } else if (kind == "1") {
    int firstKey = 0, lastKey = 0;
    if (!taloven::DateKeyFromDdmmyy(first, firstKey) || !taloven::DateKeyFromDdmmyy(last, lastKey))
      return KOVO_INVALID_DATE;
    request.selection = '1';
    request.start = first;
    request.end = last;
  } else if (kind == "2") {
    if (!AllDigits(first, 6) || !AllDigits(last, 6) || !AllDigits(owner, 3))
      return KOVO_NOT_EXECUTED;
    request.selection = '2';
    request.start = Padded(first, 6);
    request.end = Padded(last, 6);
    request.user = Padded(owner, 3);
  } else {
    return KOVO_NOT_EXECUTED;
  }
  FileSink sink(outputPath, true);
  return DownloadMemory(portName, request, sink);
}

}  // namespace
}  // namespace kovo

extern "C" KOVO_API int KovoDownloadMF(const char* portName, const char* outputPath) {
  return kovo::Guarded(KOVO_NOT_EXECUTED,
                       [&] { return kovo::DownloadRaw(portName, outputPath, '1'); });
}

extern "C" KOVO_API int KovoDownloadSB(const char* portName, const char* outputPath) {
  return kovo::Guarded(KOVO_NOT_EXECUTED,
                       [&] { return kovo::DownloadRaw(portName, outputPath, '3'); });
}

extern "C" KOVO_API int KovoDownloadMFD(const char* portName, const char* outputPath,
                                        const char* type, const char* start, const char* end,
                                        const char* user) {
  return kovo::Guarded(KOVO_NOT_EXECUTED, [&] {
    return kovo::DownloadJournal(portName, outputPath, type, start, end, user);
  });
}
