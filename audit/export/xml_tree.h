#pragma once
// A small XML document held as a tree, to be changed and written back: how
// an existing game list is merged. It is read with the DAT readers' XML
// reader, so the same caps hold, and a cap of its own on the elements kept.
// Comments, declarations and processing instructions are not kept, nor
// where an element's text stood among its children.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct XmlNode {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::string text;  // the element's own text, decoded; leading blanks dropped
  std::vector<XmlNode> children;

  // The first child named `name`, or nullptr.
  XmlNode* child(std::string_view name);
};

// The top-level elements of a document, or why it could not be read.
struct [[nodiscard]] XmlTreeRead {
  std::vector<XmlNode> nodes;
  std::string problem;  // "line 3: unterminated game element"; empty on success

  bool ok() const { return problem.empty(); }
};

// Reads `text` into its top-level elements: one root, or several one after
// another as some programs write. Fails on what the XML reader refuses, on
// text outside the elements, on names it could not write back as they are
// (beyond ASCII letters, digits, '_', ':', '-' and '.'), on an attribute
// given twice, and on more than `elementLimit` elements.
XmlTreeRead read_xml_tree(std::string_view text, std::size_t elementLimit);

// Appends `node` and its children to `out`, a tab an indentation level from
// `depth` on, each element on its own line.
void append_xml_node(std::string& out, const XmlNode& node, int depth);
