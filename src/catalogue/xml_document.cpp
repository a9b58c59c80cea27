#include "catalogue/xml_document.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlreader.h>
#include <libxml/xpath.h>

#include <climits>

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

// The elements inside an element that match too, in document order.
void VisitNested(xmlNodePtr element, const ElementNameMatch& match,
                 const std::function<void(const XmlNode&)>& visit) {
  for (xmlNodePtr child = element->children; child; child = child->next) {
    if (child->type != XML_ELEMENT_NODE) continue;
    if (match(child)) visit(XmlNode(child));
    VisitNested(child, match, visit);
  }
}

// Keeps the first fault a reader reports.
void KeepFirstFault(void* kept, xmlErrorPtr fault) {
  auto* first = static_cast<xmlError*>(kept);
  if (first->code == XML_ERR_OK && fault && fault->level >= XML_ERR_ERROR)
    xmlCopyError(fault, first);
}

}  // namespace

Status ForEachElement(const std::string& bytes, const std::string& fileName,
                      const std::string& name, const std::function<void(const XmlNode&)>& visit) {
  if (Status fits = FitsTheParser(bytes, fileName); !fits.ok()) return fits;
  xmlTextReaderPtr reader = xmlReaderForMemory(bytes.data(), static_cast<int>(bytes.size()),
                                               fileName.c_str(), nullptr, kParseOptions);
  if (!reader)
    return Status::Failure(Utf8ToCp1252(fileName) +
                           (bytes.empty() ? W(": arquivo vazio") : ": XML malformado"));
  xmlError fault{};
  xmlTextReaderSetStructuredErrorHandler(reader, KeepFirstFault, &fault);
  const ElementNameMatch match(name);
  int status = xmlTextReaderRead(reader);
  while (status == 1) {
    if (xmlTextReaderNodeType(reader) != XML_READER_TYPE_ELEMENT ||
        !match(xmlTextReaderCurrentNode(reader))) {
      status = xmlTextReaderRead(reader);
      continue;
    }
    xmlNodePtr element = xmlTextReaderExpand(reader);
    if (!element) {
      status = -1;
      break;
    }
    visit(XmlNode(element));
    VisitNested(element, match, visit);
    // Past the subtree, which the reader then frees, onto the node after it.
    status = xmlTextReaderNext(reader);
  }
  xmlFreeTextReader(reader);
  const Status read =
      status == 0 && fault.code == XML_ERR_OK
          ? Status()
          : Status::Failure(ParseFailure(fileName, fault.code != XML_ERR_OK ? &fault : nullptr));
  xmlResetError(&fault);
  return read;
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
