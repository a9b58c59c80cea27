#include "sequences/totals_reading.h"

#include <cstddef>
#include <type_traits>

namespace taloven {
namespace {

template <typename T>
constexpr bool kIsArray = !std::is_arithmetic_v<T>;

template <typename Combine>
TotalsReading CombineReadings(const TotalsReading& a, const TotalsReading& b, Combine combine) {
  TotalsReading out;
  ForEachField(
      [&](const char*, FieldKind, const auto& x, const auto& y, auto& result) {
        if constexpr (kIsArray<std::remove_cvref_t<decltype(x)>>) {
          for (size_t i = 0; i < x.size(); ++i) result[i] = combine(x[i], y[i]);
        } else {
          result = combine(x, y);
        }
      },
      a, b, out);
  return out;
}

}  // namespace

TotalsReading Difference(const TotalsReading& a, const TotalsReading& b) {
  return CombineReadings(a, b, [](auto x, auto y) { return y - x; });
}

TotalsReading Sum(const TotalsReading& a, const TotalsReading& b) {
  return CombineReadings(a, b, [](auto x, auto y) { return x + y; });
}

}  // namespace taloven
