// An MFD file built from bitmaps of the journal's PDF-417 symbols: open,
// one add per bitmap, close.
#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "bmp_image.h"
#include "call_outcome.h"
#include "formats/mfd_file.h"
#include "formats/symbol_record.h"
#include "kovo_mfd.h"

namespace kovo {
namespace {

// The set being collected between open and close.
struct SymbolSet {
  std::string outputPath;
  std::optional<uint32_t> total;
  std::map<uint32_t, std::string> payloads;  // by offset
};

std::mutex setLock;
std::optional<SymbolSet> openSet;

std::optional<std::string> DecodeSymbol(const std::string& bitmapPath) {
  GreyImage image;
  if (!ReadBmp(bitmapPath, image)) return std::nullopt;
  ZXing::DecodeHints hints;
  hints.setFormats(ZXing::BarcodeFormat::PDF417);
  hints.setTryRotate(true);
  const ZXing::Result result = ZXing::ReadBarcode(
      ZXing::ImageView(image.pixels.data(), image.width, image.height, ZXing::ImageFormat::Lum),
      hints);
  if (!result.isValid()) return std::nullopt;
  const auto& bytes = result.bytes();
  return std::string(bytes.begin(), bytes.end());
}

int OpenSet(const char* mfdPath) {
  if (mfdPath == nullptr || *mfdPath == '\0') return KOVO_NOT_EXECUTED;
  std::lock_guard<std::mutex> lock(setLock);
  openSet.emplace();
  openSet->outputPath = mfdPath;
  return KOVO_OK;
}

int AddBitmap(const char* bitmapPath) {
  if (bitmapPath == nullptr) return KOVO_BMP_NO_SYMBOL;
  // Decoding takes the time; the set is locked only to store the result.
  const std::optional<std::string> record = DecodeSymbol(bitmapPath);
  std::lock_guard<std::mutex> lock(setLock);
  if (!openSet) return KOVO_NOT_EXECUTED;
  // A symbol that does not carry a sound record of ours is no symbol here.
  if (!record) return KOVO_BMP_NO_SYMBOL;
  taloven::SymbolRecord symbol;
  switch (taloven::ReadSymbolRecord(*record, symbol)) {
    case taloven::SymbolCheck::Sound:
      break;
    case taloven::SymbolCheck::OutOfSet:
      return KOVO_BMP_OTHER_SET;
    case taloven::SymbolCheck::TooShort:
      return KOVO_BMP_NO_SYMBOL;
  }
  const uint32_t total = symbol.total;
  const uint32_t offset = symbol.offset;
  const std::string_view payload = symbol.payload;
  if (openSet->total && *openSet->total != total) return KOVO_BMP_OTHER_SET;
  if (openSet->payloads.count(offset) != 0) return KOVO_BMP_REPEATED;
  openSet->total = total;
  openSet->payloads.emplace(offset, std::string(payload));
  return KOVO_OK;
}

int CloseSet() {
  std::lock_guard<std::mutex> lock(setLock);
  if (!openSet) return KOVO_NOT_EXECUTED;
  SymbolSet set = std::move(*openSet);
  openSet.reset();
  if (set.payloads.empty()) return KOVO_NO_VALID_DATA;
  // Payloads in offset order; a symbol never read leaves no gap behind.
  std::string payload;
  for (const auto& [offset, bytes] : set.payloads) payload += bytes;
  const std::string file = taloven::MfdFileBytes(taloven::kMfdCaptureSource, payload);
  return WriteOutput(set.outputPath, file, KOVO_NOT_EXECUTED);
}

}  // namespace
}  // namespace kovo

extern "C" KOVO_API int KovoOpenPdf417ToMfd(const char* mfdPath) {
  return kovo::Guarded(KOVO_NOT_EXECUTED, [&] { return kovo::OpenSet(mfdPath); });
}

extern "C" KOVO_API int KovoAddBmpFile(const char* bitmapPath) {
  return kovo::Guarded(KOVO_NOT_EXECUTED, [&] { return kovo::AddBitmap(bitmapPath); });
}

extern "C" KOVO_API int KovoClosePdf417ToMfd(void) {
  return kovo::Guarded(KOVO_NOT_EXECUTED, [] { return kovo::CloseSet(); });
}

extern "C" KOVO_API int KovoSimbolosFaltantes(void) {
  return kovo::Guarded(-1, [] {
    std::lock_guard<std::mutex> lock(kovo::setLock);
    if (!kovo::openSet || !kovo::openSet->total) return -1;
    return static_cast<int>(taloven::SymbolCount(*kovo::openSet->total) -
                            kovo::openSet->payloads.size());
  });
}

extern "C" KOVO_API int KovoDescartaPdf417ToMfd(void) {
  return kovo::Guarded(KOVO_NOT_EXECUTED, [] {
    std::lock_guard<std::mutex> lock(kovo::setLock);
    if (!kovo::openSet) return KOVO_NOT_EXECUTED;
    kovo::openSet.reset();
    return KOVO_OK;
  });
}
