// The two XML formats: Logiqx datafiles and software lists.

#include <vector>

#include "dat/dat_formats.h"
#include "dat/entry_names.h"
#include "dat/software_slots.h"
#include "dat/xml_reader.h"

namespace {

// What a software element says of its cartridge besides its images.
struct CartridgeFacts {
  std::string compatibility;  // the TV system
  std::string slot;           // the board's slot feature
  bool extraRam = false;      // a RAM data area
};

// Takes what `event`, an element inside a software element, says of the
// cartridge.
void note_cartridge_fact(const XmlEvent& event, CartridgeFacts& cartridge) {
  const std::string& name = event.attribute("name");
  if (event.name == "sharedfeat" && name == "compatibility")
    cartridge.compatibility = event.attribute("value");
  if (event.name == "feature" && name == "slot") cartridge.slot = event.attribute("value");
  if (event.name == "dataarea" && name == "ram") cartridge.extraRam = true;
}

DatRom rom_of(const XmlEvent& event) {
  DatRom rom;
  rom.image = event.attribute("name");
  rom.crc = event.attribute("crc");
  rom.size = event.attribute("size");
  rom.md5 = event.attribute("md5");
  rom.sha1 = event.attribute("sha1");
  rom.badDump = event.attribute("status") == "baddump";
  return rom;
}

// Reads the images of one game or software element, up to its end.
class GameReader {
 public:
  GameReader(XmlReader& xml, DatInput& input) : xml_(xml), input_(input) {}

  // Collects rom elements, the texts of description, year and publisher
  // (or manufacturer) children and what the cartridge's elements say, until
  // the element open now closes.
  bool read(std::vector<DatRom>& roms, SoftwareNameParts& parts, CartridgeFacts& cartridge) {
    const std::size_t depth = xml_.depth();
    std::string* text = nullptr;
    while (true) {
      const XmlEvent& event = xml_.next();
      if (event.kind == XmlEventKind::Finished) return false;
      if (event.kind == XmlEventKind::End && xml_.depth() < depth) return true;
      if (event.kind == XmlEventKind::End) text = nullptr;
      if (event.kind == XmlEventKind::Text && text != nullptr && !append(*text, event.text))
        return false;
      if (event.kind != XmlEventKind::Start) continue;
      text = xml_.depth() == depth + 1 ? field_of(event.name, parts) : nullptr;
      note_cartridge_fact(event, cartridge);
      if (event.name != "rom") continue;
      if (roms.size() >= DAT_GAME_ROM_LIMIT) {
        input_.fail("a game with more than " + std::to_string(DAT_GAME_ROM_LIMIT) + " roms");
        return false;
      }
      roms.push_back(rom_of(event));
    }
  }

 private:
  // A field's texts (split by comments, or one element given twice) are
  // held to the reader's cap as one text.
  bool append(std::string& field, const std::string& text) {
    if (field.size() + text.size() > XML_VALUE_LIMIT) {
      input_.fail("a name or text longer than " + std::to_string(XML_VALUE_LIMIT) + " characters");
      return false;
    }
    field += text;
    return true;
  }

  static std::string* field_of(const std::string& name, SoftwareNameParts& parts) {
    if (name == "description") return &parts.description;
    if (name == "year") return &parts.year;
    if (name == "publisher" || name == "manufacturer") return &parts.publisher;
    return nullptr;
  }

  XmlReader& xml_;
  DatInput& input_;
};

bool hand_over(std::vector<DatRom>& roms, DatInput& input, RomSink& sink) {
  for (const DatRom& rom : roms) {
    if (!sink.add(rom)) {
      input.fail("more than " + std::to_string(DAT_ENTRY_LIMIT) + " entries");
      return false;
    }
  }
  return true;
}

// Gives each image of a game its entry name, by the rules of the format,
// and what the file says of the game.
void name_roms(bool softwareList, const XmlEvent& game, const SoftwareNameParts& parts,
               const CartridgeFacts& cartridge, std::vector<DatRom>& roms) {
  std::size_t withCrc = 0;
  for (const DatRom& rom : roms) withCrc += rom.crc.empty() ? 0 : 1;
  for (DatRom& rom : roms) {
    if (softwareList) {
      SoftwareNameParts own = parts;
      own.badDump = rom.badDump;
      rom.name = software_entry_name(own);
      rom.compatibility = cartridge.compatibility;
      rom.scheme =
          software_list_scheme(cartridge.slot, cartridge.extraRam, parse_dat_size(rom.size));
    } else {
      rom.name = dat_entry_name(game.attribute("name"), rom.image, withCrc > 1);
    }
    rom.game = game.attribute("name");
    rom.softwareList = softwareList;
    rom.cloneOf = game.attribute("cloneof");
    rom.year = parts.year;
    rom.publisher = parts.publisher;
  }
}

}  // namespace

bool read_xml_dat(DatInput& input, RomSink& sink) {
  XmlReader xml(input);
  const XmlEvent* event = &xml.next();
  while (event->kind == XmlEventKind::Text) event = &xml.next();
  if (event->kind != XmlEventKind::Start) return false;
  const bool softwareList = event->name == "softwarelist";
  if (!softwareList && event->name != "datafile") {
    input.fail_at(event->line, "the XML is neither a datafile nor a software list");
    return false;
  }
  const char* gameElement = softwareList ? "software" : "game";
  while ((event = &xml.next())->kind != XmlEventKind::Finished) {
    if (event->kind != XmlEventKind::Start || xml.depth() != 2) continue;
    if (event->name != gameElement && (softwareList || event->name != "machine")) continue;
    const XmlEvent game = *event;
    std::vector<DatRom> roms;
    SoftwareNameParts parts;
    CartridgeFacts cartridge;
    if (!GameReader(xml, input).read(roms, parts, cartridge)) break;
    name_roms(softwareList, game, parts, cartridge, roms);
    if (!hand_over(roms, input, sink)) break;
  }
  return input.error().empty();
}
