#pragma once
// Where the images of an export go on a flash cartridge's card: the folder
// and file name of each, within what the cartridge's menu shows, and the
// order to create them in for a menu that does not sort. Pure computation.
//
// Names. A file is named title + "." + extension. Each character FAT
// refuses becomes "_", and the name is safe as safe_name (FAT) has it. A
// name longer than the limit (in UTF-8 characters) loses the end of its
// title, never of its extension, and then any blanks and dots it ends in.
// A name equal to an earlier one of its folder, but for the case of ASCII
// letters, gets "~2", "~3", ... before the extension, its title cut further
// to keep the limit; one too short for a character of the title, the mark
// and the extension keeps one character and passes it.
//
// Folders. With no cap, or no more items than the cap, every file stays in
// the out folder. Else every file goes to a range folder, named after the
// first characters of the titles it holds, and the out folder holds only
// those. The titles are sorted without regard to case, and grouped by their
// first letter; the titles that do not begin with an ASCII letter form one
// group, "#", which never shares a folder with a letter. Neighbouring
// groups share a folder while it holds no more than the cap: "#", "A-C",
// "D", "E-K". A group that alone passes the cap is split the same way by its
// next character ("Sa-Sh", "Si-Sz"; a character that is neither a letter
// nor a digit counts as "#" there), and so on; titles equal to the end that
// still pass it fill folders of the cap in turn, the later marked "~2".

#include <cstddef>
#include <string>
#include <vector>

struct LayoutItem {
  std::string title;      // the name the image goes by (its catalogue name, or the file's stem)
  std::string extension;  // without the dot: "F8", "DPCP", "bin"
};

struct LayoutRules {
  std::size_t nameLimit = 0;  // characters of a whole file name the menu shows (0: no limit)
  std::size_t folderCap = 0;  // entries a folder may show (0: no cap)
};

struct LaidOutFile {
  std::string folder;  // "" for the out folder itself, else a letter range such as "A-C"
  std::string name;    // the file name, extension included
};

// One file per item, in the items' order; the same items give the same
// files.
std::vector<LaidOutFile> lay_out(const std::vector<LayoutItem>& items, const LayoutRules& rules);

// The order in which to create `files` so that a menu showing them in the
// order they were made shows them sorted: the range folders first, each
// with its files, in the order of their names without regard to case, then
// the files of the out folder itself; within a folder, by name without
// regard to case (equal ones by their bytes). Positions in `files`.
std::vector<std::size_t> creation_order(const std::vector<LaidOutFile>& files);
