#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/status.h"

namespace taloven {

// A thin DOM over libxml2 shared by the three XML files. Every text and name
// crosses it as Windows-1252 bytes, whatever the file's declared encoding; a
// character the code page cannot hold (possible in files declared UTF-8 or
// through character references) reads as '?', so it shows as a visible
// substitute instead of vanishing.
class XmlNode {
 public:
  XmlNode() = default;
  explicit XmlNode(void* node) : node_(node) {}

  bool IsNull() const { return node_ == nullptr; }
  bool IsElement() const;
  // Element or processing-instruction name; "#text", "#cdata-section",
  // "#comment" for the other kinds.
  std::string Name() const;
  // Text content: for an element all its descendants' texts, in order.
  std::string Text() const;
  // The attribute's value; empty when absent.
  std::string Attribute(const std::string& name) const;
  std::vector<XmlNode> ChildNodes() const;
  // The n-th (from 0) direct child element named name; white-space text
  // nodes take part in the walk but never match. Null when there is none.
  XmlNode Child(const std::string& name, int n = 0) const;
  // Every direct child element named name, in document order.
  std::vector<XmlNode> Children(const std::string& name) const;

  // Building (for writing files). The node must belong to a document.
  XmlNode AppendElement(const std::string& name, const std::string& text = {});
  // Text nodes carry the indentation of a hand-laid-out file too.
  void AppendText(const std::string& text);
  // "xml:space" and other xml: attributes are written with their prefix.
  void SetAttribute(const std::string& name, const std::string& value);

  void* Raw() const { return node_; }

 private:
  void* node_ = nullptr;
};

// Hears a streamed read's elements in document order. Elements that come
// from an entity's replacement text are not heard, as in a tree they are no
// element's children, but their text is part of the texts around them.
class XmlStreamHandler {
 public:
  virtual ~XmlStreamHandler() = default;
  // An element starts. name is its place in the names given to ReadXmlFile;
  // -1 for any other name and for every name with a prefix. True asks for
  // its text.
  virtual bool Start(int name) = 0;
  // The innermost open element ends. text, when its start asked for it, is
  // what Text() gives for it in a tree; else empty.
  virtual void End(std::string text) = 0;
};

// Reads the file at path as Load does, handing on elements and texts as they
// are met: neither the file nor a tree of it stands whole in memory. Fails
// with the system's reason when the file cannot be read, and with the
// parser's first fault (its line and words) when it is not well-formed; the
// handler may then have heard the elements before it.
Status ReadXmlFile(const std::string& path, const std::vector<const char*>& names,
                   XmlStreamHandler& handler);

class XmlDocument {
 public:
  XmlDocument();
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Loads a file keeping white space. Fails (with a reason naming the file
  // and, for a parse error, the line) when the file is missing, unreadable or
  // not well-formed; the document is then empty.
  Status Load(const std::string& path);
  // The same for bytes in memory; name only labels the messages.
  Status LoadFromMemory(const std::string& bytes, const std::string& name = "(memory)");
  bool IsEmpty() const;

  // Nodes in document order; none for an empty document.
  std::vector<XmlNode> SelectNodes(const std::string& xpath) const;
  XmlNode Root() const;

  // Starts an empty document declared in Windows-1252.
  void Create();
  // A processing instruction at document level, after what is already there.
  void AppendProcessingInstruction(const std::string& target, const std::string& data);
  // Replaces any root element by a new one.
  XmlNode CreateRoot(const std::string& name);
  // Writes the whole document, in its declared encoding (Windows-1252 when
  // none), to a temporary file beside path and renames it into place, so a
  // failed write never leaves a half-written file. A document that would not
  // read back (texts holding control characters XML cannot carry) is not
  // written at all.
  Status Save(const std::string& path) const;
  // The bytes Save writes; empty for an empty document.
  std::string SaveToMemory() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace taloven
