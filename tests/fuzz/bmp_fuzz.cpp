// The library's bitmap reader on arbitrary files. Properties: what it takes
// has the size it says, within the sizes it allows; and the grey image
// written out as an 8-bit bitmap with a grey palette reads back the same
// pixels.
#include <cstddef>
#include <cstdint>
#include <string>

#include "bmp_image.h"
#include "formats/little_endian.h"
#include "fuzz_files.h"

namespace {

using taloven::PutLittleEndian;
using taloven::fuzz::Require;

// Written by hand from the layout: file header, 40-byte information header,
// 256 palette entries, rows bottom-up padded to four bytes.
std::string GreyBitmap(const kovo::GreyImage& image) {
  const size_t stride = (static_cast<size_t>(image.width) + 3) / 4 * 4;
  const size_t pixelsAt = 14 + 40 + 256 * 4;
  std::string bytes = "BM";
  PutLittleEndian(bytes, pixelsAt + stride * static_cast<size_t>(image.height), 4);
  PutLittleEndian(bytes, 0, 4);
  PutLittleEndian(bytes, pixelsAt, 4);
  PutLittleEndian(bytes, 40, 4);
  PutLittleEndian(bytes, static_cast<uint64_t>(image.width), 4);
  PutLittleEndian(bytes, static_cast<uint64_t>(image.height), 4);
  PutLittleEndian(bytes, 1, 2);  // planes
  PutLittleEndian(bytes, 8, 2);
  PutLittleEndian(bytes, 0, 4);  // no compression
  bytes.append(4 * 5, '\0');     // image size, resolutions, colours: 0, the defaults
  for (int level = 0; level < 256; ++level) PutLittleEndian(bytes, 0x010101u * level, 4);
  for (int y = image.height - 1; y >= 0; --y) {
    const auto* row = image.pixels.data() + static_cast<size_t>(y) * image.width;
    bytes.append(reinterpret_cast<const char*>(row), static_cast<size_t>(image.width));
    bytes.append(stride - static_cast<size_t>(image.width), '\0');
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kovo::GreyImage image;
  if (!kovo::DecodeBmp(taloven::fuzz::Bytes(data, size), image)) return 0;
  Require(image.width >= 1 && image.width <= 20000 && image.height >= 1 && image.height <= 20000,
          "a bitmap taken has a size the reader allows");
  Require(image.pixels.size() == static_cast<size_t>(image.width) * image.height,
          "a bitmap taken has a pixel for every place");
  kovo::GreyImage again;
  Require(kovo::DecodeBmp(GreyBitmap(image), again) && again.width == image.width &&
              again.height == image.height && again.pixels == image.pixels,
          "the grey image written as a bitmap reads back the same");
  return 0;
}
