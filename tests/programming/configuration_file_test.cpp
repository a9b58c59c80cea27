#include "programming/configuration_file.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::ReadFileBytes;
using testing::TempDirectory;

// Two records as equipamentos.xml holds them, laid out by hand; {CR} stands
// for the carriage returns of the cliché's line breaks.
constexpr const char* kTwoRecords = R"(<?xml version='1.0' encoding='Windows-1252'?>
<?xml-stylesheet type='text/xml' href='style.xsl'?>
<equipamentos xml:space="preserve">
	<equipamento>
		<numero_de_serie>TV0800000000000001</numero_de_serie>
		<cliente>Padaria Pao &amp; Cia</cliente>
		<CNPJ>12.345.678/0001-95</CNPJ>
		<IE>123.456.789.110</IE>
		<IM>9876543</IM>
		<UF>SP</UF>
		<numero_da_loja>0001</numero_da_loja>
		<numero_do_caixa>001</numero_do_caixa>
		<data>081226</data>
		<hora>153000</hora>
		<horario_de_verao>1</horario_de_verao>
		<cliche>CLICHE_ENF_INI_XMLPADARIA{CR}
Rua A, 1{CR}
{CR}
</cliche>
		<cupom_adicional>0</cupom_adicional>
		<desc_ISS>1</desc_ISS>
		<vinc_CNF>0</vinc_CNF>
		<RV_na_conferencia>0</RV_na_conferencia>
		<RZ_automatica>1</RZ_automatica>
		<Bilhete_passagem>0</Bilhete_passagem>
		<aliquota1>1800</aliquota1>
		<aliquota2>0000</aliquota2>
		<aliquota3>0000</aliquota3>
		<aliquota4>0500</aliquota4>
		<aliquota5>0000</aliquota5>
		<aliquota6>0000</aliquota6>
		<aliquota7>0000</aliquota7>
		<aliquota8>0000</aliquota8>
		<aliquota9>0000</aliquota9>
		<aliquota10>0000</aliquota10>
		<aliquota11>0000</aliquota11>
		<aliquota12>0000</aliquota12>
		<aliquota13>0000</aliquota13>
		<aliquota14>0000</aliquota14>
		<aliquota15>0000</aliquota15>
		<aliquota16>0000</aliquota16>
		<vinc>0001000000000000</vinc>
		<Restaurante_Loja/>
		<Parametriza_Cupom_Conferencia/>
		<tot_nao_suj1>SANGRIA</tot_nao_suj1>
		<tot_nao_suj2/>
		<tot_nao_suj3/>
		<tot_nao_suj4/>
		<tot_nao_suj5/>
		<tot_nao_suj6/>
		<tot_nao_suj7/>
		<tot_nao_suj8/>
		<tot_nao_suj9/>
		<tot_nao_suj10/>
		<tot_nao_suj11/>
		<tot_nao_suj12/>
		<tot_nao_suj13/>
		<tot_nao_suj14/>
		<tot_nao_suj15/>
		<tot_nao_suj16/>
		<tot_nao_suj17/>
		<tot_nao_suj18/>
		<tot_nao_suj19/>
		<tot_nao_suj20/>
		<tot_nao_suj21/>
		<tot_nao_suj22/>
		<tot_nao_suj23/>
		<tot_nao_suj24/>
		<tot_nao_suj25/>
		<tot_nao_suj26/>
		<tot_nao_suj27/>
		<tot_nao_suj28/>
		<tot_nao_suj29/>
		<tot_nao_suj30/>
		<tot_nao_suj31/>
		<tot_nao_suj32/>
		<tot_nao_suj33/>
		<tot_nao_suj34/>
		<tot_nao_suj35/>
		<tot_nao_suj36/>
		<tot_nao_suj37/>
		<tot_nao_suj38/>
		<tot_nao_suj39/>
		<tot_nao_suj40/>
		<tot_nao_suj41/>
		<tot_nao_suj42/>
		<tot_nao_suj43/>
		<tot_nao_suj44/>
		<tot_nao_suj45/>
		<tot_nao_suj46/>
		<tot_nao_suj47/>
		<tot_nao_suj48/>
		<tot_nao_suj49/>
		<tot_nao_suj50>ULTIMO</tot_nao_suj50>
	</equipamento>
	<equipamento>
		<numero_de_serie>B2</numero_de_serie>
		<cliente/>
		<CNPJ/>
		<IE/>
		<IM/>
		<UF/>
		<numero_da_loja/>
		<numero_do_caixa/>
		<data/>
		<hora/>
		<horario_de_verao>0</horario_de_verao>
		<cliche/>
		<cupom_adicional>0</cupom_adicional>
		<desc_ISS>0</desc_ISS>
		<vinc_CNF>0</vinc_CNF>
		<RV_na_conferencia>0</RV_na_conferencia>
		<RZ_automatica>0</RZ_automatica>
		<Bilhete_passagem>1</Bilhete_passagem>
		<aliquota1>0000</aliquota1>
		<aliquota2>0000</aliquota2>
		<aliquota3>0000</aliquota3>
		<aliquota4>0000</aliquota4>
		<aliquota5>0000</aliquota5>
		<aliquota6>0000</aliquota6>
		<aliquota7>0000</aliquota7>
		<aliquota8>0000</aliquota8>
		<aliquota9>0000</aliquota9>
		<aliquota10>0000</aliquota10>
		<aliquota11>0000</aliquota11>
		<aliquota12>0000</aliquota12>
		<aliquota13>0000</aliquota13>
		<aliquota14>0000</aliquota14>
		<aliquota15>0000</aliquota15>
		<aliquota16>0000</aliquota16>
		<vinc>0000000000000000</vinc>
		<Restaurante_Loja>1</Restaurante_Loja>
		<Parametriza_Cupom_Conferencia>-1</Parametriza_Cupom_Conferencia>
		<tot_nao_suj1/>
		<tot_nao_suj2/>
		<tot_nao_suj3/>
		<tot_nao_suj4/>
		<tot_nao_suj5/>
		<tot_nao_suj6/>
		<tot_nao_suj7/>
		<tot_nao_suj8/>
		<tot_nao_suj9/>
		<tot_nao_suj10/>
		<tot_nao_suj11/>
		<tot_nao_suj12/>
		<tot_nao_suj13/>
		<tot_nao_suj14/>
		<tot_nao_suj15/>
		<tot_nao_suj16/>
		<tot_nao_suj17/>
		<tot_nao_suj18/>
		<tot_nao_suj19/>
		<tot_nao_suj20/>
		<tot_nao_suj21/>
		<tot_nao_suj22/>
		<tot_nao_suj23/>
		<tot_nao_suj24/>
		<tot_nao_suj25/>
		<tot_nao_suj26/>
		<tot_nao_suj27/>
		<tot_nao_suj28/>
		<tot_nao_suj29/>
		<tot_nao_suj30/>
		<tot_nao_suj31/>
		<tot_nao_suj32/>
		<tot_nao_suj33/>
		<tot_nao_suj34/>
		<tot_nao_suj35/>
		<tot_nao_suj36/>
		<tot_nao_suj37/>
		<tot_nao_suj38/>
		<tot_nao_suj39/>
		<tot_nao_suj40/>
		<tot_nao_suj41/>
		<tot_nao_suj42/>
		<tot_nao_suj43/>
		<tot_nao_suj44/>
		<tot_nao_suj45/>
		<tot_nao_suj46/>
		<tot_nao_suj47/>
		<tot_nao_suj48/>
		<tot_nao_suj49/>
		<tot_nao_suj50/>
	</equipamento>
</equipamentos>
)";

std::string Expected() {
  std::string text = kTwoRecords;
  for (size_t at = text.find("{CR}"); at != std::string::npos; at = text.find("{CR}", at))
    text.replace(at, 4, "\r");
  return text;
}

ConfigurationList TwoRecords() {
  EquipmentConfiguration first;
  first.serialNumber = "TV0800000000000001";
  first.client = "Padaria Pao & Cia";
  first.cnpj = "12.345.678/0001-95";
  first.ie = "123.456.789.110";
  first.im = "9876543";
  first.uf = "SP";
  first.storeNumber = "0001";
  first.registerNumber = "001";
  first.date = "081226";
  first.time = "153000";
  first.daylightSaving = true;
  first.cliche = "CLICHE_ENF_INI_XMLPADARIA\r\nRua A, 1\r\n\r\n";
  first.issDiscount = true;
  first.automaticZ = true;
  first.taxRates[0] = "1800";
  first.taxRates[3] = "0500";
  first.issLinkage = "0001000000000000";
  first.totalizerNames[0] = "SANGRIA";
  first.totalizerNames[49] = "ULTIMO";
  first.password = "00112233445566778899";  // never written
  EquipmentConfiguration second;
  second.serialNumber = "B2";
  second.passengerTicket = true;
  second.restaurantOrShop = "1";
  second.conferenceCoupon = "-1";
  return {first, second};
}

TEST(ConfigurationFile, WritesTheFileByteForByteAndReadsItBack) {
  TempDirectory dir;
  const std::string path = ConfigurationsPath(dir.Path().string());
  ASSERT_TRUE(SaveConfigurations(path, TwoRecords()).ok());
  EXPECT_EQ(ReadFileBytes(path), Expected());

  ConfigurationList loaded;
  ASSERT_TRUE(LoadConfigurations(path, loaded).ok());
  ConfigurationList expected = TwoRecords();
  expected[0].password = EquipmentConfiguration().password;
  EXPECT_EQ(loaded, expected);
}

// A CR written bare would read back as a line feed.
TEST(ConfigurationFile, AClicheCrWithoutItsLineFeedKeepsItsReferenceAndReadsBackTheSame) {
  TempDirectory dir;
  const std::string path = ConfigurationsPath(dir.Path().string());
  ConfigurationList list(1);
  list[0].serialNumber = "C1";
  list[0].cliche = "A\rB\r\nC\r";
  ASSERT_TRUE(SaveConfigurations(path, list).ok());
  EXPECT_NE(ReadFileBytes(path).find("<cliche>A&#13;B\r\nC&#13;</cliche>"), std::string::npos);
  ConfigurationList loaded;
  ASSERT_TRUE(LoadConfigurations(path, loaded).ok());
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0].cliche, list[0].cliche);
}

TEST(ConfigurationFile, LoadsMissingElementsFreshAndFlagsSetUnlessZero) {
  TempDirectory dir;
  const std::string path = ConfigurationsPath(dir.Path().string());
  // The cliché's line breaks come as bare line feeds, as another writer may
  // leave them; the unknown element and the comment are ignored.
  ASSERT_TRUE(WriteFileAtomically(path,
                                  "<?xml version='1.0' encoding='Windows-1252'?>\n"
                                  "<equipamentos><x><equipamento>"
                                  "<numero_de_serie>A1</numero_de_serie><!-- c -->"
                                  "<cupom_adicional>2</cupom_adicional><desc_ISS>0</desc_ISS>"
                                  "<vinc_CNF/><RZ_automatica> 0</RZ_automatica>"
                                  "<cliche>L1\nL2\n</cliche><aliquota6>0700</aliquota6>"
                                  "<outro>9</outro><cliente>C</cliente><cliente>D</cliente>"
                                  "</equipamento></x><equipamento/></equipamentos>")
                  .ok());
  ConfigurationList list;
  ASSERT_TRUE(LoadConfigurations(path, list).ok());
  ASSERT_EQ(list.size(), 2u);
  const EquipmentConfiguration& a = list[0];
  EXPECT_EQ(a.serialNumber, "A1");
  EXPECT_EQ(a.client, "C");  // the first of two
  EXPECT_TRUE(a.additionalCoupon);
  EXPECT_FALSE(a.issDiscount);
  EXPECT_TRUE(a.linkedToNonFiscal);  // empty text is not "0"
  EXPECT_TRUE(a.automaticZ);         // nor is " 0"
  EXPECT_FALSE(a.rvInConference);    // missing: fresh
  EXPECT_EQ(a.cliche, "L1\r\nL2\r\n");
  EXPECT_EQ(a.taxRates[5], "0700");
  EXPECT_EQ(a.taxRates[6], "0000");
  EXPECT_EQ(a.issLinkage, std::string(16, '0'));
  EXPECT_EQ(a.password, std::string(10, ' '));
  EXPECT_EQ(list[1], EquipmentConfiguration());
}

TEST(ConfigurationFile, MissingOrMalformedFileLoadsAsAnEmptyListWithAnError) {
  TempDirectory dir;
  const std::string path = ConfigurationsPath(dir.Path().string());
  ConfigurationList list = TwoRecords();
  const Result<RecordFile> missing = LoadConfigurations(path, list);
  ASSERT_TRUE(missing.ok());
  EXPECT_EQ(missing.value(), RecordFile::Missing);
  EXPECT_TRUE(list.empty());
  ASSERT_TRUE(WriteFileAtomically(path, "<equipamentos><equipamento>").ok());
  list = TwoRecords();
  const Result<RecordFile> malformed = LoadConfigurations(path, list);
  EXPECT_FALSE(malformed.ok());
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(malformed.status().message().rfind(path + ": XML malformado na linha 1 (", 0), 0u)
      << malformed.status().message();
}

TEST(ConfigurationFile, AddAppendsRefusesOrMovesTheReplacedRecordToTheEnd) {
  auto serials = [](const ConfigurationList& list) {
    std::string out;
    for (const auto& c : list) out += c.serialNumber + "/" + c.client + " ";
    return out;
  };
  auto record = [](const std::string& serial, const std::string& client) {
    EquipmentConfiguration c;
    c.serialNumber = serial;
    c.client = client;
    return c;
  };
  struct Case {
    std::string serial;
    bool replace;
    int result;
    std::string after;
  } cases[] = {
      {"B", false, 1, "A/1 B/1 C/1 "},
      {"B", true, 0, "A/1 C/1 B/2 "},
      {"b", false, 0, "A/1 B/1 C/1 b/2 "},  // serials compare case-sensitively
      {"D", true, 0, "A/1 B/1 C/1 D/2 "},
  };
  for (const Case& c : cases) {
    ConfigurationList list = {record("A", "1"), record("B", "1"), record("C", "1")};
    EXPECT_EQ(AddConfiguration(list, record(c.serial, "2"), c.replace), c.result) << c.serial;
    EXPECT_EQ(serials(list), c.after) << c.serial;
  }
}

TEST(ConfigurationFile, ATextTheFileCannotCarryLeavesTheOldFile) {
  TempDirectory dir;
  const std::string path = ConfigurationsPath(dir.Path().string());
  ASSERT_TRUE(SaveConfigurations(path, TwoRecords()).ok());
  ConfigurationList bad = TwoRecords();
  bad[1].cliche = "\x1BW0";  // an escape no token stands for
  const Status refused = SaveConfigurations(path, bad);
  EXPECT_EQ(refused.message().rfind(path + W(" não foi gravado: não poderia ser lido"), 0), 0u)
      << refused.message();
  EXPECT_EQ(ReadFileBytes(path), Expected());
}

}  // namespace
}  // namespace taloven
