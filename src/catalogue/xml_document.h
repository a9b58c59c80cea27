#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace taloven {

// A thin DOM over libxml2 shared by the three XML files. Every text crosses
// it as Windows-1252 bytes, whatever the file's declared encoding.
class XmlNode {
 public:
  XmlNode() = default;
  explicit XmlNode(void* node) : node_(node) {}

  bool IsNull() const { return node_ == nullptr; }
  bool IsElement() const;
  std::string Name() const;  // element name; "#text" and the like otherwise
  std::string Text() const;  // text content, Windows-1252
  std::vector<XmlNode> ChildNodes() const;
  // The n-th (from 0) direct child element named name; white-space text
  // nodes take part in the walk but never match. Null when there is none.
  XmlNode Child(const std::string& name, int n = 0) const;

  // Building (for writing files).
  XmlNode AppendElement(const std::string& name, const std::string& text = {});
  void AppendText(const std::string& text);
  void SetAttribute(const std::string& name, const std::string& value);

  void* Raw() const { return node_; }

 private:
  void* node_ = nullptr;
};

class XmlDocument {
 public:
  XmlDocument();
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Loads a file keeping white space. False (with *error) when the file is
  // missing or not well-formed; the document is then empty.
  bool Load(const std::string& path, std::string* error = nullptr);
  bool LoadFromMemory(const std::string& bytes, std::string* error = nullptr);

  std::vector<XmlNode> SelectNodes(const std::string& xpath) const;
  XmlNode Root() const;

  // Starts an empty document declared in Windows-1252.
  void Create();
  void AppendProcessingInstruction(const std::string& target, const std::string& data);
  XmlNode CreateRoot(const std::string& name);
  // Writes the whole document to a temporary file beside path and renames it
  // into place, so a failed write never leaves a half-written file.
  bool Save(const std::string& path, std::string* error = nullptr) const;
  std::string SaveToMemory() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace taloven
