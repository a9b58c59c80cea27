#pragma once

#include <cstdint>
#include <string>

namespace taloven {

// The About box text: product version, then the fiscal-memory library chosen
// by the model and the version it reports (commas turned into points).
std::string AboutText(uint32_t modelMask);

}  // namespace taloven
