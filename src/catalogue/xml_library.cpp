// libxml2 is loaded when the first XML file is read, not when a program
// starts: the commands that read no XML start without it and the ICU it
// brings. Each function the room calls is listed here; one missing from the
// list is an undefined reference when the programs are linked.
#include <libxml/SAX2.h>
#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include "base/lazy_library.h"

namespace {

constexpr const char* kLibrary = "libxml2.so.2";

// xmlFree is the library's variable, which the library itself may set.
void FreeThroughTheLibrary(void* memory) {
  static xmlFreeFunc* const free =
      static_cast<xmlFreeFunc*>(taloven::LazySymbol(kLibrary, "xmlFree"));
  (*free)(memory);
}

}  // namespace

xmlFreeFunc xmlFree = FreeThroughTheLibrary;

TALOVEN_LAZY_FUNCTION(kLibrary, xmlAddChild, (xmlNodePtr parent, xmlNodePtr cur), (parent, cur))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlAddEncodingAlias, (const char* name, const char* alias),
                      (name, alias))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlCopyError, (xmlErrorPtr from, xmlErrorPtr to), (from, to))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlCreatePushParserCtxt,
                      (xmlSAXHandlerPtr sax, void* user_data, const char* chunk, int size,
                       const char* filename),
                      (sax, user_data, chunk, size, filename))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlCtxtGetLastError, (void* ctx), (ctx))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlCtxtReadMemory,
                      (xmlParserCtxtPtr ctxt, const char* buffer, int size, const char* URL,
                       const char* encoding, int options),
                      (ctxt, buffer, size, URL, encoding, options))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlCtxtUseOptions, (xmlParserCtxtPtr ctxt, int options),
                      (ctxt, options))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlDictLookup, (xmlDictPtr dict, const xmlChar* name, int len),
                      (dict, name, len))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlDocDumpFormatMemoryEnc,
                      (xmlDocPtr doc, xmlChar** text, int* length, const char* encoding,
                       int format),
                      (doc, text, length, encoding, format))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlDocGetRootElement, (const xmlDoc* doc), (doc))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlDocSetRootElement, (xmlDocPtr doc, xmlNodePtr root), (doc, root))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlFreeDoc, (xmlDocPtr cur), (cur))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlFreeNode, (xmlNodePtr cur), (cur))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlFreeParserCtxt, (xmlParserCtxtPtr ctxt), (ctxt))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlGetNoNsProp, (const xmlNode* node, const xmlChar* name),
                      (node, name))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlGetNsProp,
                      (const xmlNode* node, const xmlChar* name, const xmlChar* nameSpace),
                      (node, name, nameSpace))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlNewCharEncodingHandler,
                      (const char* name, xmlCharEncodingInputFunc input,
                       xmlCharEncodingOutputFunc output),
                      (name, input, output))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlNewDoc, (const xmlChar* version), (version))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlNewDocNode,
                      (xmlDocPtr doc, xmlNsPtr ns, const xmlChar* name, const xmlChar* content),
                      (doc, ns, name, content))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlNewDocPI,
                      (xmlDocPtr doc, const xmlChar* name, const xmlChar* content),
                      (doc, name, content))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlNewDocText, (const xmlDoc* doc, const xmlChar* content),
                      (doc, content))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlNewParserCtxt, (), ())
TALOVEN_LAZY_FUNCTION(kLibrary, xmlNodeGetContent, (const xmlNode* cur), (cur))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlParseChunk,
                      (xmlParserCtxtPtr ctxt, const char* chunk, int size, int terminate),
                      (ctxt, chunk, size, terminate))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlResetError, (xmlErrorPtr err), (err))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlSAXVersion, (xmlSAXHandlerPtr hdlr, int version),
                      (hdlr, version))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlSearchNs,
                      (xmlDocPtr doc, xmlNodePtr node, const xmlChar* nameSpace),
                      (doc, node, nameSpace))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlSetProp,
                      (xmlNodePtr node, const xmlChar* name, const xmlChar* value),
                      (node, name, value))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlStopParser, (xmlParserCtxtPtr ctxt), (ctxt))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlStrEqual, (const xmlChar* a, const xmlChar* b), (a, b))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlStrdup, (const xmlChar* cur), (cur))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlStrlen, (const xmlChar* text), (text))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlXPathEvalExpression,
                      (const xmlChar* text, xmlXPathContextPtr context), (text, context))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlXPathFreeContext, (xmlXPathContextPtr context), (context))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlXPathFreeObject, (xmlXPathObjectPtr object), (object))
TALOVEN_LAZY_FUNCTION(kLibrary, xmlXPathNewContext, (xmlDocPtr doc), (doc))
