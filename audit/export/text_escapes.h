#pragma once
// Text as JSON strings and XML character data: what the playlist and the
// game list write. Names are bytes; whatever they hold, the document stays
// valid: bytes that are not UTF-8 become U+FFFD, and so do the control
// characters XML cannot hold at all.

#include <string>
#include <string_view>

// Appends `text` to `out` as a JSON string, quotes included: '"', '\\' and
// control characters escaped.
void append_json_string(std::string& out, std::string_view text);

// Where XML text goes: an element's content or an attribute's value.
enum class XmlPlace { content, attribute };

// Appends `text` to `out` as XML character data: '&', '<', '>', '"' and '\''
// as entities. In content a line end (CR LF, or a lone CR) is written as LF
// and a tab as it is; in an attribute, tab, CR and LF as character
// references, so that they are read back as they were.
void append_xml_text(std::string& out, std::string_view text, XmlPlace place = XmlPlace::content);
