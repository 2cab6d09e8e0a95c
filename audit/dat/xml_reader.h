#pragma once
// A small pull reader for the XML of DAT files: start tags with their
// attributes, end tags and text, in file order. It checks that tags nest, and
// knows only the five predefined entities and numeric character references;
// a document type's own entities are never expanded. Names, values and texts
// are capped in length and elements in depth, so memory stays bounded.

#include <string>
#include <utility>
#include <vector>

#include "dat/dat_input.h"

// Longest name, attribute value or text the reader keeps.
inline constexpr std::size_t XML_VALUE_LIMIT = 4096;
// Deepest nesting of elements.
inline constexpr std::size_t XML_DEPTH_LIMIT = 64;

enum class XmlEventKind { Start, End, Text, Finished };

struct XmlEvent {
  XmlEventKind kind = XmlEventKind::Finished;
  std::string name;                                             // the element of Start and End
  std::vector<std::pair<std::string, std::string>> attributes;  // of Start, decoded
  std::string text;                                             // of Text, decoded
  int line = 0;                                                 // where it began

  // The value of attribute `key`, or empty.
  const std::string& attribute(const std::string& key) const;
};

class XmlReader {
 public:
  explicit XmlReader(DatInput& input) : input_(input) {}

  // The next event. Finished at the end of the document, or when the input
  // failed: input.error() then says why (unclosed elements included).
  const XmlEvent& next();
  // Elements open around the last event.
  std::size_t depth() const { return open_.size(); }

 private:
  bool read_markup();
  bool read_start_tag();
  bool read_end_tag();
  bool open_element();
  bool read_attribute();
  bool read_name(std::string& name);
  bool read_text();
  bool read_quoted(std::string& value);
  bool read_reference(std::string& into);
  bool skip_until(std::string_view end);
  bool skip_declaration();
  bool read_cdata();
  bool append(std::string& into, int character);
  bool too_long(const std::string& value);
  void finish();

  DatInput& input_;
  XmlEvent event_;
  std::vector<std::pair<std::string, int>> open_;  // element names and their lines
  bool pendingEnd_ = false;                        // after <empty/>
  bool rootSeen_ = false;
};
