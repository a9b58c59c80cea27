#include "catalogue/xml_document.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "base/encoding.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::ReadFileBytes;
using testing::TempDirectory;

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Every byte a Windows-1252 text can hold in XML, the five unassigned ones
// and a CR LF line end included.
std::string AllTextBytes() {
  std::string text = "\t\r\n";
  for (int byte = 0x20; byte <= 0xFF; ++byte) text += static_cast<char>(byte);
  return text;
}

TEST(XmlDocument, Windows1252TextsSurviveSaveAndLoadByteForByte) {
  TempDirectory dir;
  const auto path = dir.Path() / "sequencias.xml";
  const std::string text = AllTextBytes();

  XmlDocument document;
  document.Create();
  document.AppendProcessingInstruction("taloven", "versao=\"1\"");
  XmlNode root = document.CreateRoot("sequ\xEAncias");
  root.AppendText("\n  ");
  XmlNode item = root.AppendElement("valor", text);
  item.SetAttribute("xml:space", "preserve");
  root.AppendText("\n");
  const Status written = document.Save(path.string());
  ASSERT_TRUE(written.ok()) << written.message();

  const std::string saved = ReadFileBytes(path);
  EXPECT_EQ(saved.rfind("<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n", 0), 0u) << saved;
  EXPECT_NE(saved.find("<?taloven versao=\"1\"?>"), std::string::npos);
  EXPECT_NE(saved.find("\x7F\x80\x81\x82"), std::string::npos) << "high bytes must stay raw";
  EXPECT_NE(saved.find("\xE9\xEA"), std::string::npos) << "accents must stay raw";
  EXPECT_NE(saved.find("<sequ\xEAncias>\n  <valor xml:space=\"preserve\">"), std::string::npos);

  XmlDocument reread;
  const Status read = reread.Load(path.string());
  ASSERT_TRUE(read.ok()) << read.message();
  XmlNode value = reread.Root().Child("valor");
  EXPECT_EQ(reread.Root().Name(), "sequ\xEAncias");
  EXPECT_EQ(value.Text(), text);
  EXPECT_EQ(value.Attribute("xml:space"), "preserve");
  EXPECT_EQ(reread.SaveToMemory(), saved);
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().filename(), "sequencias.xml") << "no temporary file left behind";
}

TEST(XmlDocument, ReadsEveryDeclaredEncodingIntoWindows1252) {
  const struct {
    const char* name;
    std::string bytes;
    std::string text;
  } cases[] = {
      {"Windows-1252", "<?xml version=\"1.0\" encoding=\"Windows-1252\"?><t>Caf\xE9 \x80</t>",
       "Caf\xE9 \x80"},
      {"CP1252 alias", "<?xml version=\"1.0\" encoding=\"cp1252\"?><t>\xE7\xE3o</t>", "\xE7\xE3o"},
      {"UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><t>Caf\xC3\xA9 \xE2\x82\xAC</t>",
       "Caf\xE9 \x80"},
      {"no declaration", "<t>\xC3\xA7</t>", "\xE7"},
      {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><t>\xE9</t>", "\xE9"},
      {"character references", "<t>&#233;&#x20AC;&amp;&lt;</t>", "\xE9\x80&<"},
      // Outside the code page: a visible '?' rather than nothing.
      {"beyond Windows-1252", "<t>a&#x4E2D;b\xE4\xB8\xAD</t>", "a?b?"},
      {"CDATA and entity", "<!DOCTYPE t [<!ENTITY e \"\xC3\xA9\">]><t><![CDATA[<x>]]>&e;</t>",
       "<x>\xE9"},
  };
  for (const auto& c : cases) {
    XmlDocument document;
    const Status read = document.LoadFromMemory(c.bytes);
    ASSERT_TRUE(read.ok()) << c.name << ": " << read.message();
    EXPECT_EQ(document.Root().Text(), c.text) << c.name;
  }
}

// What a streamed read hands on: each start by the name's place, each end
// with the text asked for (that of every named element).
class Trace : public XmlStreamHandler {
 public:
  static constexpr int kNever = -2;  // no element has it
  explicit Trace(int throwAt = kNever) : throwAt_(throwAt) {}
  bool Start(int name) override {
    if (name == throwAt_) throw std::runtime_error("stop");
    trace += "<" + std::to_string(name);
    return name >= 0;
  }
  void End(std::string text) override { trace += ">" + text + ";"; }
  std::string trace;

 private:
  int throwAt_;
};

TEST(ReadXmlFile, HandsOnElementsAndTheTextsAskedFor) {
  const std::string decl = "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>";
  // Long enough to be cut between the pieces the file is read in, and
  // between the converter's rounds.
  std::string cp1252, utf8, expected;
  for (int i = 0; i < 30000; ++i) {
    cp1252 += "Caf\xE9 \x80 ";
    utf8 += "Caf\xC3\xA9 \xE2\x82\xAC ";
    expected += "Caf\xE9 \x80 ";
  }
  const struct {
    const char* name;
    std::string bytes;
    std::string trace;
  } cases[] = {
      {"an element's text holds those inside it; no comments, no prefixed names",
       "<r xmlns:p=\"urn:p\"><a>x<b>y</b><!--c--><?pi z?>z</a><p:a>q</p:a><c>w</c></r>",
       "<-1<0<1>y;>xyz;<-1>;<-1>;>;"},
      {"elements from an entity are text only",
       "<!DOCTYPE r [<!ENTITY e \"<b>in</b>t\">]><r><a>1&e;2</a></r>", "<-1<0>1int2;>;"},
      {"texts reach the core in Windows-1252", decl + "<a>Caf\xE9 &#x20AC;&#x4E2D;</a>",
       "<0>Caf\xE9 \x80?;"},
      {"a long Windows-1252 text", decl + "<a>" + cp1252 + "</a>", "<0>" + expected + ";"},
      {"a long UTF-8 text", "<a>" + utf8 + "</a>", "<0>" + expected + ";"},
  };
  TempDirectory dir;
  const std::string path = (dir.Path() / "t.xml").string();
  for (const auto& c : cases) {
    WriteBytes(path, c.bytes);
    Trace trace;
    const Status read = ReadXmlFile(path, {"a", "b"}, trace);
    EXPECT_TRUE(read.ok()) << c.name << ": " << read.message();
    EXPECT_EQ(trace.trace, c.trace) << c.name;
  }
}

TEST(ReadXmlFile, FailsOnWhatIsNotWellFormedOrNotThere) {
  TempDirectory dir;
  const std::string path = (dir.Path() / "t.xml").string();
  WriteBytes(path, "<a>\n<b></a>");
  Trace trace;
  const Status read = ReadXmlFile(path, {"a", "b"}, trace);
  EXPECT_EQ(read.message(),
            path + ": XML malformado na linha 2 (Opening and ending tag mismatch: b line 2 and a)");
  // Four bytes that name an encoding the parser cannot read: it says so
  // while it is still being made.
  WriteBytes(path, std::string("\0<\0\0?:\0m", 8));
  EXPECT_EQ(ReadXmlFile(path, {"a", "b"}, trace).message(),
            path + ": XML malformado na linha 1 (encoding not supported UCS4 3412)");
  const Status missing = ReadXmlFile((dir.Path() / "nada.xml").string(), {}, trace);
  EXPECT_EQ(missing.systemError(), ENOENT);
}

// A handler's exception leaves the parser's C frames behind it unharmed and
// reaches the caller; the next read starts clean.
TEST(ReadXmlFile, AHandlersExceptionReachesTheCaller) {
  TempDirectory dir;
  const std::string path = (dir.Path() / "t.xml").string();
  WriteBytes(path, "<r><a>x</a><b>y</b></r>");
  Trace throwing(1);
  EXPECT_THROW(static_cast<void>(ReadXmlFile(path, {"a", "b"}, throwing)), std::runtime_error);
  EXPECT_EQ(throwing.trace, "<-1<0>x;");
  Trace trace;
  EXPECT_TRUE(ReadXmlFile(path, {"a", "b"}, trace).ok());
  EXPECT_EQ(trace.trace, "<-1<0>x;<1>y;>;");
}

TEST(XmlDocument, ACharacterBeyondWindows1252IsWrittenAsAReference) {
  XmlDocument document;
  ASSERT_TRUE(document
                  .LoadFromMemory(
                      "<?xml version=\"1.0\" encoding=\"Windows-1252\"?><t>\xE9&#x4E2D;\x80</t>")
                  .ok());
  const std::string saved = document.SaveToMemory();
  EXPECT_NE(saved.find("<t>\xE9&#20013;\x80</t>"), std::string::npos) << saved;
  XmlDocument reread;
  ASSERT_TRUE(reread.LoadFromMemory(saved).ok());
  EXPECT_EQ(reread.SaveToMemory(), saved);
}

TEST(XmlDocument, BrokenInputIsAnErrorNamingFileAndLine) {
  TempDirectory dir;
  const struct {
    const char* name;
    std::string bytes;
    std::string expected;  // part of the reason
  } cases[] = {
      {"unclosed.xml", "<a>\n<cmd>\n", "XML malformado na linha 3 ("},
      {"empty.xml", "", "empty.xml"},
      {"two-roots.xml", "<a/><b/>", "linha 1"},
      {"undeclared-1252.xml", "<a>Caf\xE9</a>", "linha 1"},
      {"bad-name.xml", "<a><1/></a>", "linha 1"},
  };
  for (const auto& c : cases) {
    WriteBytes(dir.Path() / c.name, c.bytes);
    XmlDocument document;
    document.Create();
    const Status read = document.Load((dir.Path() / c.name).string());
    EXPECT_FALSE(read.ok()) << c.name;
    EXPECT_NE(read.message().find(c.name), std::string::npos) << read.message();
    EXPECT_NE(read.message().find(c.expected), std::string::npos) << read.message();
    EXPECT_TRUE(document.IsEmpty());
    EXPECT_TRUE(document.SelectNodes("//cmd").empty());
    EXPECT_TRUE(document.Root().IsNull());
  }

  XmlDocument document;
  const Status absent = document.Load((dir.Path() / "absent.xml").string());
  EXPECT_FALSE(absent.ok());
  EXPECT_EQ(absent.systemError(), ENOENT);
  EXPECT_NE(absent.message().find("No such file"), std::string::npos) << absent.message();
  EXPECT_FALSE(document.Load(dir.Path().string()).ok()) << "a directory is no file";
}

TEST(XmlNode, ChildLookupWalksWhiteSpaceButMatchesOnlyElements) {
  XmlDocument document;
  ASSERT_TRUE(document.LoadFromMemory("<a>\n <b>1</b> <!--c--> <B>x</B><b>2</b>text</a>").ok());
  XmlNode root = document.Root();

  std::vector<std::string> names;
  for (const XmlNode& node : root.ChildNodes()) names.push_back(node.Name());
  EXPECT_EQ(names, (std::vector<std::string>{"#text", "b", "#text", "#comment", "#text", "B", "b",
                                             "#text"}));
  EXPECT_EQ(root.Child("b").Text(), "1");
  EXPECT_EQ(root.Child("b", 1).Text(), "2");
  EXPECT_TRUE(root.Child("b", 2).IsNull());
  EXPECT_EQ(root.Child("B").Text(), "x") << "names compare case-sensitively";
  EXPECT_TRUE(root.Child("#text").IsNull());
  EXPECT_TRUE(root.Child("#comment").IsNull());
  EXPECT_EQ(root.Children("b").size(), 2u);
  EXPECT_EQ(root.Text(), "\n 1  x2text");
}

TEST(XmlDocument, SaveRefusesWhatWouldNotReadBackAndKeepsTheOldFile) {
  TempDirectory dir;
  const auto path = dir.Path() / "equipamentos.xml";
  WriteBytes(path, "old");

  XmlDocument document;
  document.Create();
  document.CreateRoot("a").AppendElement("b", std::string("x\x01y", 3));
  const Status unreadable = document.Save(path.string());
  EXPECT_FALSE(unreadable.ok());
  EXPECT_EQ(
      unreadable.message().rfind(path.string() + W(" não foi gravado: não poderia ser lido"), 0),
      0u)
      << unreadable.message();
  EXPECT_EQ(ReadFileBytes(path), "old");

  XmlDocument empty;
  EXPECT_EQ(empty.Save(path.string()).message(),
            W("nada a gravar em ") + path.string() + W(": o documento está vazio"));
  EXPECT_EQ(ReadFileBytes(path), "old");

  XmlDocument good;
  good.Create();
  good.CreateRoot("a");
  const std::string missing = (dir.Path() / "missing" / "a.xml").string();
  const Status notWritten = good.Save(missing);
  EXPECT_EQ(notWritten.systemError(), ENOENT);
  EXPECT_EQ(notWritten.message(),
            W("não foi possível gravar ") + missing + " (" + std::strerror(ENOENT) + ")");
  const Status written = good.Save(path.string());
  EXPECT_TRUE(written.ok()) << written.message();
  EXPECT_EQ(ReadFileBytes(path), "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n<a/>\n");
}

}  // namespace
}  // namespace taloven
