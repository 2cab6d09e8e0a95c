#pragma once
// ZIP64: the end records and the extra field that carry sizes, offsets and
// counts too large for the classic fields. Used by the reader only.

#include <cstddef>
#include <cstdint>

#include "zip/zip_reader.h"

// Looks for the ZIP64 locator just before the end record at `endOffset` (in
// the `heldLength` bytes at `held` that precede the record in memory, or in
// the file when they are fewer and a classic field is saturated) and, when there is one,
// takes the counts, size and offset of the directory from the ZIP64 record
// it points to. False when a ZIP64 record is needed (a classic field is
// saturated) but cannot be read; the caller reports it.
bool zip64_read_end_record(ZipArchive& archive, std::uint64_t endOffset, const unsigned char* held,
                           std::size_t heldLength);

// Replaces the saturated fields of `entry` (sizes, local header offset, disk)
// by those of the ZIP64 extra field among the `length` bytes of `extra`.
// Fields the extra field lacks keep their saturated values.
void zip64_apply_extra_field(ZipEntry& entry, const unsigned char* extra, std::size_t length);
