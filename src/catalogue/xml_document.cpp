#include "catalogue/xml_document.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <algorithm>
#include <climits>
#include <exception>
#include <string_view>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "base/read_file.h"
#include "catalogue/record_file.h"
#include "catalogue/xml_cp1252_encoding.h"

namespace taloven {
namespace {

constexpr const char* kDefaultEncoding = "Windows-1252";

xmlNodePtr AsNode(void* node) {
  return static_cast<xmlNodePtr>(node);
}

const xmlChar* AsXml(const std::string& utf8) {
  return reinterpret_cast<const xmlChar*>(utf8.c_str());
}

// libxml2 holds every text in UTF-8; the core holds Windows-1252.
std::string ToCore(const xmlChar* utf8) {
  return utf8 ? Utf8ToCp1252(reinterpret_cast<const char*>(utf8)) : std::string();
}

std::string ToCoreAndFree(xmlChar* utf8) {
  std::string text = ToCore(utf8);
  xmlFree(utf8);
  return text;
}

std::string ToLibxml(const std::string& cp1252) {
  return Cp1252ToUtf8(cp1252);
}

std::string ElementName(xmlNodePtr node) {
  std::string name = ToCore(node->name);
  if (node->ns && node->ns->prefix) name = ToCore(node->ns->prefix) + ":" + name;
  return name;
}

// Tells whether an element has a given name, as ElementName gives it. The
// name is put in libxml2's form once, so that a walk over many children
// compares bytes instead of converting every child's name.
class ElementNameMatch {
 public:
  explicit ElementNameMatch(const std::string& cp1252) : utf8_(ToLibxml(cp1252)) {}

  bool operator()(xmlNodePtr node) const {
    if (node->type != XML_ELEMENT_NODE) return false;
    if (!node->ns || !node->ns->prefix) return xmlStrEqual(node->name, AsXml(utf8_)) != 0;
    const size_t prefixLength = static_cast<size_t>(xmlStrlen(node->ns->prefix));
    return utf8_.size() > prefixLength && utf8_[prefixLength] == ':' &&
           utf8_.compare(0, prefixLength, reinterpret_cast<const char*>(node->ns->prefix)) == 0 &&
           xmlStrEqual(node->name, AsXml(utf8_) + prefixLength + 1) != 0;
  }

 private:
  std::string utf8_;
};

// External entities and the network are never touched: a data file must
// not reach outside itself.
// Short texts are kept inside their nodes, which spares an allocation for
// nearly every field of the record files.
constexpr int kParseOptions =
    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_COMPACT;

// "name: XML malformado na linha N (libxml2's own words)".
std::string ParseFailure(const std::string& name, const xmlError* last) {
  std::string text = Utf8ToCp1252(name) + ": XML malformado";
  if (last && last->line > 0) text += " na linha " + std::to_string(last->line);
  std::string detail = last && last->message ? last->message : "";
  while (!detail.empty() && (detail.back() == '\n' || detail.back() == ' ')) detail.pop_back();
  if (!detail.empty()) text += " (" + Utf8ToCp1252(detail) + ")";
  return text;
}

Status FitsTheParser(const std::string& bytes, const std::string& name) {
  RegisterCp1252ForXml();
  if (bytes.size() <= static_cast<size_t>(INT_MAX)) return {};
  return Status::Failure(Utf8ToCp1252(name) + W(": grande demais para um arquivo XML"));
}

// Parses bytes keeping white space; null, with the reason in outcome, when
// they are not a document.
xmlDocPtr Parse(const std::string& bytes, const std::string& name, Status& outcome) {
  outcome = FitsTheParser(bytes, name);
  if (!outcome.ok()) return nullptr;
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  if (!context) {
    outcome = Status::Failure(W("não foi possível criar o leitor de XML"));
    return nullptr;
  }
  xmlDocPtr doc = xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()),
                                    name.c_str(), nullptr, kParseOptions);
  if (!doc) outcome = Status::Failure(ParseFailure(name, xmlCtxtGetLastError(context)));
  xmlFreeParserCtxt(context);
  return doc;
}

// Keeps the first fault a parser reports.
void KeepFirstFault(xmlError& first, xmlErrorPtr fault) {
  if (first.code == XML_ERR_OK && fault && fault->level >= XML_ERR_ERROR)
    xmlCopyError(fault, &first);
}

constexpr size_t kNoText = static_cast<size_t>(-1);

// One streamed read. libxml2's own handlers of the document type declaration
// (entities) take the parser as their context, so the read is reached
// through the parser's _private, which the parsers of entities' replacement
// texts take over from it.
struct StreamRead {
  StreamRead(const std::string& fileName, const std::vector<const char*>& names,
             XmlStreamHandler& handler)
      : fileName(fileName), names(names), handler(handler) {}
  ~StreamRead() {
    FreeParser();
    xmlResetError(&fault);
  }
  StreamRead(const StreamRead&) = delete;
  StreamRead& operator=(const StreamRead&) = delete;

  // Parses the next bytes; false once the document is known to be bad.
  bool Push(std::string_view bytes);
  // After the last bytes: whether the document was well-formed.
  Status Finish();

  bool Going() const { return !cannotStart && fault.code == XML_ERR_OK && !thrown; }
  bool Start(std::string_view head);
  void FreeParser();
  int NameOf(const xmlChar* localName, const xmlChar* prefix) const {
    if (prefix) return -1;
    const auto found = std::find(dictionaryNames.begin(), dictionaryNames.end(), localName);
    return found == dictionaryNames.end() ? -1 : static_cast<int>(found - dictionaryNames.begin());
  }

  const std::string& fileName;
  const std::vector<const char*>& names;
  XmlStreamHandler& handler;
  xmlParserCtxtPtr document = nullptr;  // the document's own parser, not an entity's
  bool cannotStart = false;
  std::string head;  // the first bytes, which tell the parser the encoding
  std::vector<const xmlChar*> dictionaryNames;  // names as the parser's, compared by address
  // The UTF-8 texts of the open elements that asked for theirs: each starts
  // at its textFrom and runs to the end, so an element's text holds the
  // texts of those inside it.
  std::string text;
  std::vector<size_t> textFrom;  // per open element; kNoText when not asked
  size_t asking = 0;
  xmlError fault{};
  // An exception must not cross libxml2's frames: it stops the parser and
  // is thrown again once the parser is freed.
  std::exception_ptr thrown;
};

// The parser words a fault in the first bytes (an encoding it cannot read)
// while it is being made, before it carries its reader: such a fault goes to
// the reader starting it on this thread.
thread_local StreamRead* starting = nullptr;

StreamRead& ReadOf(void* parser) {
  void* own = static_cast<xmlParserCtxtPtr>(parser)->_private;
  return *static_cast<StreamRead*>(own != nullptr ? own : starting);
}

template <typename Work>
void Guarded(StreamRead& read, Work work) {
  if (read.thrown) return;
  try {
    work();
  } catch (...) {
    read.thrown = std::current_exception();
    xmlStopParser(read.document);
  }
}

void StartElement(void* parser, const xmlChar* localName, const xmlChar* prefix, const xmlChar*,
                  int, const xmlChar**, int, int, const xmlChar**) {
  StreamRead& read = ReadOf(parser);
  if (parser != read.document) return;
  Guarded(read, [&] {
    const bool asks = read.handler.Start(read.NameOf(localName, prefix));
    read.textFrom.push_back(asks ? read.text.size() : kNoText);
    if (asks) ++read.asking;
  });
}

void EndElement(void* parser, const xmlChar*, const xmlChar*, const xmlChar*) {
  StreamRead& read = ReadOf(parser);
  if (parser != read.document) return;
  Guarded(read, [&] {
    const size_t from = read.textFrom.back();
    read.textFrom.pop_back();
    std::string text;
    if (from != kNoText) {
      text = Utf8ToCp1252(std::string_view(read.text).substr(from));
      if (--read.asking == 0) read.text.clear();
    }
    read.handler.End(std::move(text));
  });
}

void Characters(void* parser, const xmlChar* utf8, int length) {
  StreamRead& read = ReadOf(parser);
  if (read.asking == 0) return;
  Guarded(read, [&] {
    read.text.append(reinterpret_cast<const char*>(utf8), static_cast<size_t>(length));
  });
}

void StreamFault(void* parser, xmlErrorPtr fault) {
  KeepFirstFault(ReadOf(parser).fault, fault);
}

xmlSAXHandler StreamHandlers() {
  xmlSAXHandler sax;
  xmlSAXVersion(&sax, 2);
  sax.startElementNs = StartElement;
  sax.endElementNs = EndElement;
  // White space is text like any other, as in a tree.
  sax.characters = Characters;
  sax.ignorableWhitespace = Characters;
  sax.cdataBlock = Characters;
  sax.reference = nullptr;
  // Passed over, but heard: the parser words some faults in them otherwise.
  sax.comment = [](void*, const xmlChar*) {};
  sax.processingInstruction = [](void*, const xmlChar*, const xmlChar*) {};
  sax.serror = StreamFault;
  return sax;
}

bool StreamRead::Start(std::string_view first) {
  xmlSAXHandler sax = StreamHandlers();
  starting = this;
  document = xmlCreatePushParserCtxt(&sax, nullptr, first.data(), static_cast<int>(first.size()),
                                     fileName.c_str());
  starting = nullptr;
  cannotStart = document == nullptr;
  if (cannotStart) return false;
  xmlCtxtUseOptions(document, kParseOptions);
  for (const char* name : names)
    dictionaryNames.push_back(xmlDictLookup(document->dict, AsXml(ToLibxml(name)), -1));
  document->_private = this;
  return true;
}

void StreamRead::FreeParser() {
  if (!document) return;
  if (document->myDoc) xmlFreeDoc(document->myDoc);
  xmlFreeParserCtxt(document);
  document = nullptr;
}

bool StreamRead::Push(std::string_view bytes) {
  if (!document && !cannotStart) {
    const size_t taken = std::min(bytes.size(), 4 - head.size());
    head.append(bytes.substr(0, taken));
    bytes.remove_prefix(taken);
    if (head.size() == 4) Start(head);
  }
  if (document && !bytes.empty())
    xmlParseChunk(document, bytes.data(), static_cast<int>(bytes.size()), 0);
  return Going();
}

Status StreamRead::Finish() {
  // A file shorter than the four bytes goes in whole after the start, as it
  // always did through the reader, whose words for its faults the user has
  // been shown.
  if (!document && !cannotStart && Start({}) && !head.empty())
    xmlParseChunk(document, head.data(), static_cast<int>(head.size()), 0);
  if (cannotStart) return Status::Failure(W("não foi possível criar o leitor de XML"));
  if (Going()) xmlParseChunk(document, nullptr, 0, 1);
  const bool wellFormed = document->wellFormed != 0;
  FreeParser();
  if (thrown) std::rethrow_exception(thrown);
  if (wellFormed && fault.code == XML_ERR_OK) return {};
  return Status::Failure(ParseFailure(fileName, fault.code != XML_ERR_OK ? &fault : nullptr));
}

}  // namespace

Status ReadXmlFile(const std::string& path, const std::vector<const char*>& names,
                   XmlStreamHandler& handler) {
  RegisterCp1252ForXml();
  StreamRead read(path, names, handler);
  const Status got =
      ReadFileInPieces(path, [&read](std::string_view piece) { return read.Push(piece); });
  return got.ok() ? read.Finish() : got;
}

bool XmlNode::IsElement() const {
  return node_ && AsNode(node_)->type == XML_ELEMENT_NODE;
}

std::string XmlNode::Name() const {
  if (!node_) return {};
  xmlNodePtr node = AsNode(node_);
  switch (node->type) {
    case XML_ELEMENT_NODE:
      return ElementName(node);
    case XML_TEXT_NODE:
      return "#text";
    case XML_CDATA_SECTION_NODE:
      return "#cdata-section";
    case XML_COMMENT_NODE:
      return "#comment";
    default:
      return ToCore(node->name);
  }
}

std::string XmlNode::Text() const {
  if (!node_) return {};
  const xmlNodePtr node = AsNode(node_);
  // Most elements hold one text or none: read it in place, without the copy
  // that gathering descendants' texts makes.
  if (node->type == XML_ELEMENT_NODE) {
    const xmlNodePtr only = node->children;
    if (!only) return {};
    if (!only->next && only->type == XML_TEXT_NODE) return ToCore(only->content);
  }
  return ToCoreAndFree(xmlNodeGetContent(node));
}

std::string XmlNode::Attribute(const std::string& name) const {
  if (!IsElement()) return {};
  xmlNodePtr node = AsNode(node_);
  std::string utf8 = ToLibxml(name);
  size_t colon = utf8.find(':');
  if (colon == std::string::npos) return ToCoreAndFree(xmlGetNoNsProp(node, AsXml(utf8)));
  std::string prefix = utf8.substr(0, colon);
  xmlNsPtr ns = xmlSearchNs(node->doc, node, AsXml(prefix));
  if (!ns) return {};
  return ToCoreAndFree(xmlGetNsProp(node, AsXml(utf8.substr(colon + 1)), ns->href));
}

std::vector<XmlNode> XmlNode::ChildNodes() const {
  std::vector<XmlNode> nodes;
  if (!node_) return nodes;
  for (xmlNodePtr child = AsNode(node_)->children; child; child = child->next)
    nodes.emplace_back(child);
  return nodes;
}

XmlNode XmlNode::Child(const std::string& name, int n) const {
  if (!node_) return {};
  const ElementNameMatch match(name);
  int matches = 0;
  for (xmlNodePtr child = AsNode(node_)->children; child; child = child->next) {
    if (!match(child)) continue;
    if (matches++ == n) return XmlNode(child);
  }
  return {};
}

std::vector<XmlNode> XmlNode::Children(const std::string& name) const {
  std::vector<XmlNode> nodes;
  if (!node_) return nodes;
  const ElementNameMatch match(name);
  for (xmlNodePtr child = AsNode(node_)->children; child; child = child->next)
    if (match(child)) nodes.emplace_back(child);
  return nodes;
}

XmlNode XmlNode::AppendElement(const std::string& name, const std::string& text) {
  if (!node_) return {};
  xmlNodePtr parent = AsNode(node_);
  xmlNodePtr element = xmlNewDocNode(parent->doc, nullptr, AsXml(ToLibxml(name)), nullptr);
  if (!element) return {};
  if (!text.empty()) xmlAddChild(element, xmlNewDocText(parent->doc, AsXml(ToLibxml(text))));
  return XmlNode(xmlAddChild(parent, element));
}

void XmlNode::AppendText(const std::string& text) {
  if (!node_) return;
  xmlNodePtr parent = AsNode(node_);
  xmlAddChild(parent, xmlNewDocText(parent->doc, AsXml(ToLibxml(text))));
}

void XmlNode::SetAttribute(const std::string& name, const std::string& value) {
  if (!IsElement()) return;
  xmlSetProp(AsNode(node_), AsXml(ToLibxml(name)), AsXml(ToLibxml(value)));
}

struct XmlDocument::Impl {
  xmlDocPtr doc = nullptr;

  void Reset(xmlDocPtr replacement) {
    if (doc) xmlFreeDoc(doc);
    doc = replacement;
  }
};

XmlDocument::XmlDocument() : impl_(std::make_unique<Impl>()) {}

XmlDocument::~XmlDocument() {
  impl_->Reset(nullptr);
}

Status XmlDocument::Load(const std::string& path) {
  impl_->Reset(nullptr);
  std::string bytes;
  const Status read = ReadWholeFile(path, bytes);
  if (!read.ok()) return read;
  return LoadFromMemory(bytes, path);
}

Status XmlDocument::LoadFromMemory(const std::string& bytes, const std::string& name) {
  Status parsed;
  impl_->Reset(Parse(bytes, name, parsed));
  return parsed;
}

bool XmlDocument::IsEmpty() const {
  return impl_->doc == nullptr;
}

std::vector<XmlNode> XmlDocument::SelectNodes(const std::string& xpath) const {
  std::vector<XmlNode> nodes;
  if (!impl_->doc) return nodes;
  xmlXPathContextPtr context = xmlXPathNewContext(impl_->doc);
  if (!context) return nodes;
  xmlXPathObjectPtr result = xmlXPathEvalExpression(AsXml(ToLibxml(xpath)), context);
  if (result && result->type == XPATH_NODESET && result->nodesetval) {
    for (int i = 0; i < result->nodesetval->nodeNr; ++i)
      nodes.emplace_back(result->nodesetval->nodeTab[i]);
  }
  xmlXPathFreeObject(result);
  xmlXPathFreeContext(context);
  return nodes;
}

XmlNode XmlDocument::Root() const {
  return impl_->doc ? XmlNode(xmlDocGetRootElement(impl_->doc)) : XmlNode();
}

void XmlDocument::Create() {
  RegisterCp1252ForXml();
  xmlDocPtr doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
  doc->encoding = xmlStrdup(reinterpret_cast<const xmlChar*>(kDefaultEncoding));
  impl_->Reset(doc);
}

void XmlDocument::AppendProcessingInstruction(const std::string& target, const std::string& data) {
  if (!impl_->doc) Create();
  xmlNodePtr pi = xmlNewDocPI(impl_->doc, AsXml(ToLibxml(target)), AsXml(ToLibxml(data)));
  xmlAddChild(reinterpret_cast<xmlNodePtr>(impl_->doc), pi);
}

XmlNode XmlDocument::CreateRoot(const std::string& name) {
  if (!impl_->doc) Create();
  xmlNodePtr root = xmlNewDocNode(impl_->doc, nullptr, AsXml(ToLibxml(name)), nullptr);
  xmlNodePtr old = xmlDocSetRootElement(impl_->doc, root);
  if (old) xmlFreeNode(old);
  return XmlNode(root);
}

std::string XmlDocument::SaveToMemory() const {
  if (!impl_->doc) return {};
  RegisterCp1252ForXml();
  const char* encoding =
      impl_->doc->encoding ? reinterpret_cast<const char*>(impl_->doc->encoding) : kDefaultEncoding;
  xmlChar* memory = nullptr;
  int size = 0;
  // No formatting: the document's own text nodes carry its layout.
  xmlDocDumpFormatMemoryEnc(impl_->doc, &memory, &size, encoding, 0);
  std::string bytes =
      memory ? std::string(reinterpret_cast<const char*>(memory), static_cast<size_t>(size))
             : std::string();
  xmlFree(memory);
  return bytes;
}

Status XmlDocument::Save(const std::string& path) const {
  if (!impl_->doc)
    return Status::Failure(W("nada a gravar em ") + Utf8ToCp1252(path) +
                           W(": o documento está vazio"));
  std::string bytes = SaveToMemory();
  Status readBack;
  xmlDocPtr check = bytes.empty() ? nullptr : Parse(bytes, path, readBack);
  if (!check) return Status::Failure(NotReadableBack(path, readBack.message()));
  xmlFreeDoc(check);
  const Status written = WriteFileAtomically(path, bytes);
  if (written.ok()) return {};
  return Status::Failure(CannotWrite(path, written.message()), written.systemError());
}

}  // namespace taloven
