#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kovo {

// A bitmap file's pixels as grey levels, top row first.
struct GreyImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
};

// Reads an uncompressed Windows bitmap of 1, 4, 8, 24 or 32 bits a pixel;
// false for anything else, or a file cut short.
bool ReadBmp(const std::string& path, GreyImage& image);
// The same for a file's bytes.
bool DecodeBmp(std::string_view bytes, GreyImage& image);

}  // namespace kovo
