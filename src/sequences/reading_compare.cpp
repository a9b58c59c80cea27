#include "sequences/reading_compare.h"

#include <cmath>
#include <cstdio>
#include <type_traits>

#include "base/encoding.h"

namespace taloven {
namespace {

constexpr double kTolerance = 1e-10;
constexpr const char* kErrorLine = "\tERRO: Valor esperado: %.2f, Valor Encontrado %.2f\r\n";

// Cents are exact in a double far beyond any amount a reading holds, so the
// two decimals printed are the reading's own.
double Value(FieldKind kind, int64_t raw) {
  return kind == FieldKind::Amount ? static_cast<double>(raw) / 100.0 : static_cast<double>(raw);
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

// A value out of range never passes, whatever it meets.
template <typename T>
std::string CompareField(FieldKind kind, T expected, T found) {
  if (expected != kOutOfRange<T> && found != kOutOfRange<T>)
    return CompareValue(Value(kind, expected), Value(kind, found));
  auto text = [&](T value) {
    if (value == kOutOfRange<T>) return W("fora da faixa");
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.2f", Value(kind, value));
    return std::string(buffer);
  };
  return "\tERRO: Valor esperado: " + text(expected) + ", Valor Encontrado " + text(found) + "\r\n";
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
