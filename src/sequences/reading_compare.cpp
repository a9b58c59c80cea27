#include "sequences/reading_compare.h"

#include <cmath>
#include <cstdio>
#include <type_traits>

#include "base/encoding.h"

namespace taloven {
namespace {

constexpr double kTolerance = 1e-10;
constexpr const char* kErrorLine = "\tERRO: Valor esperado: %.2f, Valor Encontrado %.2f\r\n";

// A value with two decimals, written from the whole number itself: past
// 2^53 cents a double would round it. Counters get ".00" as amounts do.
std::string Decimal(FieldKind kind, int64_t raw) {
  uint64_t magnitude = raw < 0 ? 0 - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
  uint64_t fraction = 0;
  if (kind == FieldKind::Amount) {
    fraction = magnitude % 100;
    magnitude /= 100;
  }
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%s%llu.%02llu", raw < 0 ? "-" : "",
                static_cast<unsigned long long>(magnitude),
                static_cast<unsigned long long>(fraction));
  return buffer;
}

void AppendLabel(std::string& report, const char* utf8, size_t number) {
  const std::string label = W(utf8);
  if (number == 0) {
    report += label;
    return;
  }
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, label.c_str(), static_cast<int>(number));
  report += buffer;
}

std::string ErrorLine(const std::string& expected, const std::string& found) {
  return "\tERRO: Valor esperado: " + expected + ", Valor Encontrado " + found + "\r\n";
}

// A value out of range never passes, whatever it meets. Whole numbers are
// compared as such: past 2^53 cents two amounts can share one double.
template <typename T>
std::string CompareField(FieldKind kind, T expected, T found) {
  auto text = [kind](T value) {
    return value == kOutOfRange<T> ? W("fora da faixa") : Decimal(kind, value);
  };
  if (expected == found && expected != kOutOfRange<T>) return "\tOk!\r\n";
  return ErrorLine(text(expected), text(found));
}

}  // namespace

std::string CompareValue(double expected, double found) {
  if (std::fabs(expected - found) <= kTolerance) return "\tOk!\r\n";
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, kErrorLine, expected, found);
  return buffer;
}

std::string CompareReadings(const TotalsReading& expected, const TotalsReading& found) {
  std::string report;
  ForEachField(
      [&](const char* label, FieldKind kind, const auto& e, const auto& f) {
        if constexpr (std::is_arithmetic_v<std::remove_cvref_t<decltype(e)>>) {
          AppendLabel(report, label, 0);
          report += CompareField(kind, e, f);
        } else {
          for (size_t i = 0; i < e.size(); ++i) {
            AppendLabel(report, label, i + 1);
            report += CompareField(kind, e[i], f[i]);
          }
        }
      },
      expected, found);
  return report;
}

bool ReportHasErrors(const std::string& report) {
  return report.find("\tERRO:") != std::string::npos;
}

}  // namespace taloven
