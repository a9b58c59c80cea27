#include "catalogue/parameter_type.h"

#include <gtest/gtest.h>

#include <set>

#include "catalogue/catalogue.h"

namespace taloven {
namespace {

// A type name spelt wrong in the one table would make its parameters ask and
// send nothing: every parameter of the shipped catalogue must name a type.
TEST(ParameterType, EveryParameterOfTheShippedCatalogueHasItsType) {
  CommandCatalogue catalogue;
  const Status loaded = LoadCatalogue(TALOVEN_SOURCE_DIR "/data", catalogue);
  ASSERT_TRUE(loaded.ok()) << loaded.message();
  std::set<ParameterType> seen;
  for (const CommandRecord& record : catalogue.Records()) {
    for (const CommandParameter& parameter : record.parameters) {
      EXPECT_NE(TypeOf(parameter), ParameterType::kOther) << record.title << ": " << parameter.type;
      seen.insert(TypeOf(parameter));
    }
  }
  EXPECT_GE(seen.size(), 30u);
}

TEST(ParameterType, NamesAreExact) {
  EXPECT_EQ(ParseParameterType("DATA"), ParameterType::kDate);
  EXPECT_EQ(ParseParameterType("DATA_2_2_4"), ParameterType::kDateFourDigitYear);
  EXPECT_EQ(ParseParameterType("data"), ParameterType::kOther);
  EXPECT_EQ(ParseParameterType("STRING "), ParameterType::kOther);
  EXPECT_EQ(ParseParameterType(""), ParameterType::kOther);
}

}  // namespace
}  // namespace taloven
