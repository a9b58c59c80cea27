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

// The parser never gives the smallest value of a type, so it marks a value
// out of range unambiguously.
template <typename T>
T Checked(T x, T y, bool (*combine)(T, T, T*)) {
  T result;
  if (x == kOutOfRange<T> || y == kOutOfRange<T> || combine(x, y, &result)) return kOutOfRange<T>;
  return result;
}

template <typename T>
bool Subtract(T from, T amount, T* result) {
  return __builtin_sub_overflow(from, amount, result);
}

template <typename T>
bool Add(T x, T y, T* result) {
  return __builtin_add_overflow(x, y, result);
}

}  // namespace

TotalsReading Difference(const TotalsReading& a, const TotalsReading& b) {
  return CombineReadings(a, b, [](auto x, auto y) { return Checked(y, x, Subtract<decltype(x)>); });
}

TotalsReading Sum(const TotalsReading& a, const TotalsReading& b) {
  return CombineReadings(a, b, [](auto x, auto y) { return Checked(x, y, Add<decltype(x)>); });
}

}  // namespace taloven
