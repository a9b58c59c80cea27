#pragma once

#include <functional>
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

// Hands every element named name (nested ones too), in document order and
// with its whole subtree, to visit, without ever holding the document as one
// tree: a large file costs the memory of one element at a time. The node is
// valid only during the call. Reads as Load does; fails, with the reason Load
// would give, when the bytes are not well-formed (visit may then have seen
// the elements before the fault).
Status ForEachElement(const std::string& bytes, const std::string& fileName,
                      const std::string& name, const std::function<void(const XmlNode&)>& visit);

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
