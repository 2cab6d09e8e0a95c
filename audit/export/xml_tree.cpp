#include "export/xml_tree.h"

#include <set>

#include "dat/dat_input.h"
#include "dat/xml_reader.h"
#include "export/text_escapes.h"

namespace {

// The element the document is read inside of, so that the reader, which
// takes one root, reads several top-level elements too.
constexpr char WRAPPER_START[] = "<vald-document>";
constexpr char WRAPPER_END[] = "</vald-document>";
constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

constexpr char TEXT_OUTSIDE[] = "text outside the elements";
constexpr char NAME_REFUSED[] = "a name that cannot be written back as it is: ";
constexpr char ATTRIBUTE_TWICE[] = "an attribute given twice: ";
constexpr char TOO_MANY_ELEMENTS[] = "more elements than are kept: ";
constexpr char AT_LINE[] = "line ";
constexpr char UNTERMINATED[] = "unterminated ";
constexpr char ELEMENT[] = " element";

bool is_name_start(char character) {
  return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z') ||
         character == '_' || character == ':';
}

bool is_plain_name(std::string_view name) {
  if (name.empty() || !is_name_start(name.front())) return false;
  for (const char character : name) {
    const bool digit = character >= '0' && character <= '9';
    if (!is_name_start(character) && !digit && character != '-' && character != '.') return false;
  }
  return true;
}

// Why a start tag cannot be kept; empty when it can.
std::string refused_start(const XmlEvent& event) {
  if (!is_plain_name(event.name)) return NAME_REFUSED + event.name;
  std::set<std::string_view> seen;
  for (const auto& [name, value] : event.attributes) {
    if (!is_plain_name(name)) return NAME_REFUSED + name;
    if (!seen.insert(name).second) return ATTRIBUTE_TWICE + name;
  }
  return {};
}

// Builds the tree from the reader's events; the wrapper is its root.
class TreeBuilder {
 public:
  explicit TreeBuilder(std::size_t elementLimit) : elementLimit_(elementLimit) {}

  // Takes one event; why the document cannot be kept, or empty.
  std::string take(const XmlEvent& event) {
    if (event.kind == XmlEventKind::End) {
      open_.pop_back();
      lines_.pop_back();
    } else if (event.kind == XmlEventKind::Text) {
      if (open_.size() < 2) return TEXT_OUTSIDE;
      open_.back()->text += event.text;
    } else if (open_.empty()) {
      open_.push_back(&root_);
      lines_.push_back(event.line);
    } else {
      return open_element(event);
    }
    return {};
  }

  std::vector<XmlNode> nodes() { return std::move(root_.children); }

  std::size_t depth() const { return open_.size(); }

  // The document's innermost element left open where its end came, as the
  // reader would have named it.
  std::string unterminated() const {
    return AT_LINE + std::to_string(lines_.back()) + ": " + UNTERMINATED + open_.back()->name +
           ELEMENT;
  }

 private:
  std::string open_element(const XmlEvent& event) {
    if (std::string refused = refused_start(event); !refused.empty()) return refused;
    if (++elements_ > elementLimit_) return TOO_MANY_ELEMENTS + std::to_string(elementLimit_);
    // Only the innermost open element gains children, so the pointers to
    // the ones around it stay valid.
    std::vector<XmlNode>& siblings = open_.back()->children;
    siblings.push_back({event.name, event.attributes, {}, {}});
    open_.push_back(&siblings.back());
    lines_.push_back(event.line);
    return {};
  }

  XmlNode root_;
  std::vector<XmlNode*> open_;
  std::vector<int> lines_;  // where each open element began
  std::size_t elements_ = 0;
  std::size_t elementLimit_;
};

void indent(std::string& out, int depth) {
  out.append(static_cast<std::size_t>(depth), '\t');
}

}  // namespace

XmlNode* XmlNode::child(std::string_view wanted) {
  for (XmlNode& node : children) {
    if (node.name == wanted) return &node;
  }
  return nullptr;
}

XmlTreeRead read_xml_tree(std::string_view text, std::size_t elementLimit) {
  if (text.starts_with(BYTE_ORDER_MARK)) text.remove_prefix(BYTE_ORDER_MARK.size());
  std::string wrapped = WRAPPER_START;
  wrapped.append(text);
  wrapped += WRAPPER_END;
  DatInput input(wrapped);
  XmlReader reader(input);
  TreeBuilder builder(elementLimit);
  for (const XmlEvent* event = &reader.next(); event->kind != XmlEventKind::Finished;
       event = &reader.next()) {
    if (std::string problem = builder.take(*event); !problem.empty()) return {{}, problem};
  }
  // The reader meets the wrapper's end while an element is open.
  if (input.error().starts_with(WRAPPER_END) && builder.depth() > 1)
    return {{}, builder.unterminated()};
  if (!input.error().empty()) {
    return {{}, AT_LINE + std::to_string(input.error_line()) + ": " + input.error()};
  }
  return {builder.nodes(), {}};
}

void append_xml_node(std::string& out, const XmlNode& node, int depth) {
  indent(out, depth);
  out += '<';
  out += node.name;
  for (const auto& [name, value] : node.attributes) {
    out += ' ';
    out += name;
    out += "=\"";
    append_xml_text(out, value, XmlPlace::attribute);
    out += '"';
  }
  if (node.children.empty()) {
    if (node.text.empty()) {
      out += "/>\n";
      return;
    }
    out += '>';
    append_xml_text(out, node.text);
  } else {
    out += ">\n";
    if (!node.text.empty()) {
      indent(out, depth + 1);
      append_xml_text(out, node.text);
      out += '\n';
    }
    for (const XmlNode& child : node.children) append_xml_node(out, child, depth + 1);
    indent(out, depth);
  }
  out += "</";
  out += node.name;
  out += ">\n";
}
