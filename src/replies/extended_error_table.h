#pragma once

namespace taloven {

inline constexpr int kExtendedErrorCount = 213;
// Text of extended return code c at index c - 1 (UTF-8 source text).
extern const char* const kExtendedErrorTexts[kExtendedErrorCount];

}  // namespace taloven
