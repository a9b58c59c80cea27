#include "formats/mf_image.h"

#include "formats/crc32.h"
#include "formats/little_endian.h"

namespace taloven {
namespace {

constexpr std::string_view kIdentityMark = "KVMF";
constexpr std::string_view kReductionMark = "RZ";
constexpr uint8_t kFormatVersion = 1;
constexpr size_t kCheckAt = kMfBlockSize - 4;

// A block's fields never reach its check: 93 bytes of totals and 16 rates of
// 9 bytes each.
static_assert(93 + kMfTaxRates * 9 <= kCheckAt, "a reduction must fit its block");

std::string Sealed(std::string block) {
  block.resize(kCheckAt, '\0');
  PutLittleEndian(block, Crc32(block), 4);
  return block;
}

bool SoundBlock(std::string_view block) {
  return block.size() == kMfBlockSize &&
         Crc32(block.substr(0, kCheckAt)) == GetLittleEndian(block, kCheckAt, 4);
}

int64_t Signed(std::string_view in, size_t at) {
  return static_cast<int64_t>(GetLittleEndian(in, at, 8));
}

}  // namespace

int MfReduction::DateKey() const {
  if (when.size() < 8) return 0;
  int key = 0;
  for (int i : {4, 5, 6, 7, 2, 3, 0, 1}) {
    const char c = when[static_cast<size_t>(i)];
    if (c < '0' || c > '9') return 0;
    key = key * 10 + (c - '0');
  }
  return key;
}

std::string EncodeMfIdentity(const MfIdentity& id) {
  std::string b(kIdentityMark);
  b.push_back(static_cast<char>(kFormatVersion));
  b.append(3, '\0');
  PutField(b, id.serialNumber, 20);
  PutField(b, id.maker, 16);
  PutField(b, id.model, 20);
  PutField(b, id.type, 7);
  PutField(b, id.firmware, 10);
  PutField(b, id.cnpj, 20);
  PutField(b, id.ie, 20);
  PutField(b, id.im, 20);
  PutField(b, id.uf, 2);
  PutLittleEndian(b, static_cast<uint64_t>(id.registerNumber), 2);
  PutLittleEndian(b, static_cast<uint64_t>(id.storeNumber), 2);
  return Sealed(std::move(b));
}

std::string EncodeMfReduction(const MfReduction& r) {
  std::string b(kReductionMark);
  PutLittleEndian(b, r.crz, 4);
  PutLittleEndian(b, r.coo, 4);
  PutLittleEndian(b, r.cro, 4);
  PutField(b, r.when, 14);
  for (int64_t v : {r.grandTotal, r.gross, r.cancellations, r.discounts, r.surcharges, r.exempt,
                    r.nonIncidence, r.substitution})
    PutLittleEndian(b, static_cast<uint64_t>(v), 8);
  b.push_back(static_cast<char>(r.rateCount));
  for (const MfTaxRateTotal& rate : r.rates) {
    PutLittleEndian(b, static_cast<uint64_t>(rate.hundredths), 2);
    b.push_back(rate.iss ? 1 : 0);
    PutLittleEndian(b, static_cast<uint64_t>(rate.cents), 6);
  }
  return Sealed(std::move(b));
}

bool DecodeMfIdentity(std::string_view first, MfIdentity& id) {
  id = MfIdentity{};
  if (first.substr(0, 4) != kIdentityMark || !SoundBlock(first)) return false;
  size_t at = 8;
  auto field = [&](std::string& target, size_t width) {
    target = GetField(first, at, width);
    at += width;
  };
  field(id.serialNumber, 20);
  field(id.maker, 16);
  field(id.model, 20);
  field(id.type, 7);
  field(id.firmware, 10);
  field(id.cnpj, 20);
  field(id.ie, 20);
  field(id.im, 20);
  field(id.uf, 2);
  id.registerNumber = static_cast<int>(GetLittleEndian(first, at, 2));
  id.storeNumber = static_cast<int>(GetLittleEndian(first, at + 2, 2));
  return true;
}

bool DecodeMfReduction(std::string_view b, MfReduction& r) {
  r = MfReduction{};
  if (b.substr(0, 2) != kReductionMark || !SoundBlock(b)) return false;
  r.crz = static_cast<uint32_t>(GetLittleEndian(b, 2, 4));
  r.coo = static_cast<uint32_t>(GetLittleEndian(b, 6, 4));
  r.cro = static_cast<uint32_t>(GetLittleEndian(b, 10, 4));
  r.when = GetField(b, 14, 14);
  size_t p = 28;
  for (int64_t* v : {&r.grandTotal, &r.gross, &r.cancellations, &r.discounts, &r.surcharges,
                     &r.exempt, &r.nonIncidence, &r.substitution}) {
    *v = Signed(b, p);
    p += 8;
  }
  r.rateCount = static_cast<uint8_t>(b[p++]);
  if (r.rateCount > kMfTaxRates) r.rateCount = kMfTaxRates;
  for (MfTaxRateTotal& rate : r.rates) {
    rate.hundredths = static_cast<int>(GetLittleEndian(b, p, 2));
    rate.iss = b[p + 2] != 0;
    rate.cents = static_cast<int64_t>(GetLittleEndian(b, p + 3, 6));
    p += 9;
  }
  return true;
}

bool DecodeMfImage(std::string_view image, MfImage& out) {
  out = MfImage{};
  if (image.size() < kMfBlockSize || !DecodeMfIdentity(image.substr(0, kMfBlockSize), out.identity))
    return false;
  for (size_t offset = kMfBlockSize; offset + kMfBlockSize <= image.size();
       offset += kMfBlockSize) {
    MfReduction r;
    if (DecodeMfReduction(image.substr(offset, kMfBlockSize), r))
      out.reductions.push_back(r);
    else
      out.damagedBlocks++;
  }
  if (image.size() % kMfBlockSize != 0) out.damagedBlocks++;
  return true;
}

}  // namespace taloven
