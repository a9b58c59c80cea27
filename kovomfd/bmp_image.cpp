#include "bmp_image.h"

#include "base/read_file.h"
#include "formats/little_endian.h"

namespace kovo {
namespace {

uint8_t Grey(uint8_t blue, uint8_t green, uint8_t red) {
  return static_cast<uint8_t>((red * 306 + green * 601 + blue * 117) >> 10);
}

}  // namespace

bool ReadBmp(const std::string& path, GreyImage& image) {
  std::string bytes;
  return taloven::ReadWholeFile(path, bytes).ok() && DecodeBmp(bytes, image);
}

bool DecodeBmp(std::string_view bytes, GreyImage& image) {
  if (bytes.size() < 54 || bytes.substr(0, 2) != "BM") return false;
  using taloven::GetLittleEndian;
  const uint64_t pixelsAt = GetLittleEndian(bytes, 10, 4);
  const uint64_t headerSize = GetLittleEndian(bytes, 14, 4);
  const auto width = static_cast<int32_t>(GetLittleEndian(bytes, 18, 4));
  const auto rawHeight = static_cast<int32_t>(GetLittleEndian(bytes, 22, 4));
  const auto bits = static_cast<int>(GetLittleEndian(bytes, 28, 2));
  const uint64_t compression = GetLittleEndian(bytes, 30, 4);
  uint64_t colours = GetLittleEndian(bytes, 46, 4);
  const bool bitfields = compression == 3 && (bits == 32 || bits == 16);
  if ((compression != 0 && !bitfields) || width <= 0 || rawHeight == 0 || width > 20000 ||
      rawHeight > 20000 || rawHeight < -20000)
    return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  const bool topDown = rawHeight < 0;
  const int height = topDown ? -rawHeight : rawHeight;
  std::vector<uint8_t> palette;
  if (bits <= 8) {
    if (colours == 0 || colours > (1u << bits)) colours = 1u << bits;
    const uint64_t paletteAt = 14 + headerSize;
    if (paletteAt + colours * 4 > bytes.size()) return false;
    for (uint64_t i = 0; i < colours; ++i) {
      const size_t at = paletteAt + i * 4;
      palette.push_back(Grey(static_cast<uint8_t>(bytes[at]), static_cast<uint8_t>(bytes[at + 1]),
                             static_cast<uint8_t>(bytes[at + 2])));
    }
  }
  const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
  if (pixelsAt + stride * static_cast<uint64_t>(height) > bytes.size()) return false;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    const size_t row = pixelsAt + stride * static_cast<size_t>(topDown ? y : height - 1 - y);
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + row);
    uint8_t* out = image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int x = 0; x < width; ++x) {
      uint8_t grey = 0;
      if (bits == 24 || bits == 32) {
        const uint8_t* px = p + x * (bits / 8);
        grey = Grey(px[0], px[1], px[2]);
      } else {
        const int perByte = 8 / bits;
        const int shift = 8 - bits * (x % perByte + 1);
        const unsigned index = (p[x / perByte] >> shift) & ((1u << bits) - 1);
        grey = index < palette.size() ? palette[index] : 0;
      }
      out[x] = grey;
    }
  }
  return true;
}

}  // namespace kovo
