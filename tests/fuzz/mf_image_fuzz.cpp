// The MF image reader on arbitrary images, and the library's fiscal-memory
// reading made from them. The first byte chooses the reading (complete or
// simplified, by counter or by date) and whether every whole block is sealed
// with its right check first, so that changes to a block's contents reach
// the code that reads them; the rest is the image.
//
// Properties: every block is a reduction or counted as damaged; the identity
// and every reduction written again from what was read read back the same,
// as a whole image without damage; the reading is made exactly when a
// reduction falls in its interval, and tells the damage the reader found.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/crc32.h"
#include "formats/little_endian.h"
#include "formats/mf_image.h"
#include "fuzz_files.h"
#include "kovo_mfd.h"

namespace {

using namespace taloven;
using fuzz::Require;

bool SameIdentity(const MfIdentity& a, const MfIdentity& b) {
  return a.serialNumber == b.serialNumber && a.maker == b.maker && a.model == b.model &&
         a.type == b.type && a.firmware == b.firmware && a.cnpj == b.cnpj && a.ie == b.ie &&
         a.im == b.im && a.uf == b.uf && a.registerNumber == b.registerNumber &&
         a.storeNumber == b.storeNumber;
}

bool SameReduction(const MfReduction& a, const MfReduction& b) {
  bool same = a.crz == b.crz && a.coo == b.coo && a.cro == b.cro && a.when == b.when &&
              a.grandTotal == b.grandTotal && a.gross == b.gross &&
              a.cancellations == b.cancellations && a.discounts == b.discounts &&
              a.surcharges == b.surcharges && a.exempt == b.exempt &&
              a.nonIncidence == b.nonIncidence && a.substitution == b.substitution &&
              a.rateCount == b.rateCount;
  for (int k = 0; k < kMfTaxRates; ++k) {
    const MfTaxRateTotal& x = a.rates[static_cast<size_t>(k)];
    const MfTaxRateTotal& y = b.rates[static_cast<size_t>(k)];
    same = same && x.hundredths == y.hundredths && x.iss == y.iss && x.cents == y.cents;
  }
  return same;
}

struct Reading {
  const char* type;
  const char* start;
  const char* end;
  bool byDate;
};

// Each kind of reading over the widest interval it can name.
constexpr Reading kReadings[] = {{"C", "0", "999999", false},
                                 {"c", "0", "999999", false},
                                 {"D", "010180", "311279", true},
                                 {"d", "010180", "311279", true}};

void SealBlocks(std::string& image) {
  for (size_t at = 0; at + kMfBlockSize <= image.size(); at += kMfBlockSize) {
    std::string check;
    PutLittleEndian(check, Crc32(std::string_view(image).substr(at, kMfBlockSize - 4)), 4);
    image.replace(at + kMfBlockSize - 4, 4, check);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const Reading& reading = kReadings[data[0] % 4];
  std::string image(fuzz::Bytes(data + 1, size - 1));
  if ((data[0] & 4) != 0) SealBlocks(image);

  MfImage decoded;
  const bool sound = DecodeMfImage(image, decoded);
  bool inInterval = false;
  if (sound) {
    const size_t blocks = image.size() / kMfBlockSize - 1 + (image.size() % kMfBlockSize ? 1 : 0);
    Require(decoded.reductions.size() + decoded.damagedBlocks == blocks,
            "every block is a reduction or counted as damaged");
    std::string again = EncodeMfIdentity(decoded.identity);
    for (const MfReduction& z : decoded.reductions) {
      again += EncodeMfReduction(z);
      const int key = reading.byDate ? z.DateKey() : static_cast<int>(z.crz);
      const int last = reading.byDate ? 20791231 : 999999;
      inInterval = inInterval || (key >= (reading.byDate ? 19800101 : 0) && key <= last);
    }
    MfImage reread;
    Require(DecodeMfImage(again, reread) && reread.damagedBlocks == 0 &&
                SameIdentity(reread.identity, decoded.identity) &&
                reread.reductions.size() == decoded.reductions.size(),
            "an image written from what was read reads back whole");
    for (size_t i = 0; i < decoded.reductions.size(); ++i)
      Require(SameReduction(reread.reductions[i], decoded.reductions[i]),
              "a reduction reads back the same");
  }

  const std::string in = fuzz::WriteScratch("in.mf", image);
  const std::string out = fuzz::ScratchPath("out.txt");
  const int result =
      KovoRelatorioMFTxt(in.c_str(), out.c_str(), reading.type, reading.start, reading.end);
  Require(result == (sound && inInterval ? KOVO_OK : KOVO_NO_VALID_DATA),
          "a reading is made exactly when a reduction falls in its interval");
  if (result != KOVO_OK) return 0;
  long long parts = -1, bytes = -1;
  KovoDanosIgnorados(&parts, &bytes);
  Require(parts == static_cast<long long>(decoded.damagedBlocks),
          "the reading tells the damage the reader found");
  return 0;
}
