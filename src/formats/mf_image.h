#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taloven {

constexpr size_t kMfBlockSize = 256;
constexpr int kMfTaxRates = 16;

// Who the fiscal memory belongs to: written once when the printer is
// fiscalised (first block of the image).
struct MfIdentity {
  std::string serialNumber;  // up to 20
  std::string maker;         // up to 16
  std::string model;         // up to 20
  std::string type;          // up to 7
  std::string firmware;      // up to 10
  std::string cnpj, ie, im;  // up to 20 each
  std::string uf;            // 2
  int registerNumber = 0;
  int storeNumber = 0;
};

struct MfTaxRateTotal {
  int hundredths = 0;  // 1800 is 18,00 %
  bool iss = false;
  int64_t cents = 0;
};

// One Z reduction as the fiscal memory records it.
struct MfReduction {
  uint32_t crz = 0;
  uint32_t coo = 0;
  uint32_t cro = 0;
  std::string when;  // "DDMMYYYYhhmmss"
  int64_t grandTotal = 0, gross = 0, cancellations = 0, discounts = 0, surcharges = 0;
  int64_t exempt = 0, nonIncidence = 0, substitution = 0;  // ICMS and ISS together
  int rateCount = 0;
  std::array<MfTaxRateTotal, kMfTaxRates> rates{};

  int DateKey() const;  // yyyymmdd, 0 when unreadable
};

// The first block.
std::string EncodeMfIdentity(const MfIdentity& identity);
// One 256-byte block per reduction.
std::string EncodeMfReduction(const MfReduction& reduction);

struct MfImage {
  MfIdentity identity;
  std::vector<MfReduction> reductions;
  size_t damagedBlocks = 0;
};

// One block of an image, read on its own (a reader need not hold the image
// whole): false when it fails its check or is of another kind.
bool DecodeMfIdentity(std::string_view block, MfIdentity& out);
bool DecodeMfReduction(std::string_view block, MfReduction& out);

// false when the image has no sound identity block; reduction blocks that
// fail their check are counted and left out.
bool DecodeMfImage(std::string_view image, MfImage& out);

}  // namespace taloven
