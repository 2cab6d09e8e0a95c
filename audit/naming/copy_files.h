#pragma once
// The files of a copy: each written under a temporary name it creates (never
// one that was there), its identity recorded in the undo journal before a
// byte is written, read back and checked, synced with the copies of its
// batch and only then renamed to its name, never over another file. A copy
// may also wait for its name, when the run knows where it goes only once
// every image is known: its bytes held in memory (or, past a bound, written
// into the staging folder of the target root); its file is then made in the
// staging folder when its turn comes and renamed into place, so that copies
// are made in the order a menu shows them. Paths are given from the target
// root (see in_target).

#include <string>

#include "naming/copy_bytes.h"
#include "run/copy_state.h"

// What a copy is made of: its bytes and what they measure, or a copy staged
// before, which is renamed as it is.
struct CopyInput {
  CopySource bytes;
  CopiedBytes digest;
  const StagedCopy* staged = nullptr;
};

enum class CopyStart { queued, failed, unreadable };

// Starts the copy of `input` to `target`: written and checked under a
// temporary name, recorded, queued for its batch (a staged copy is recorded
// and queued as it is). In a plan only the name is taken. failed: said, and
// nothing is left; unreadable: the source could not be read.
CopyStart start_copy(const std::string& target, const CopyInput& input, const std::string& shown);

// Keeps `input` until its place is known: held in memory, or past a bound
// written into a new file of the staging folder under `root` (from the
// target root; "" for the root itself). False, after saying why, when it
// cannot; a plan writes nothing.
bool stage_copy(const std::string& root, const CopyInput& input, const std::string& shown,
                StagedCopy& staged);

// Removes the file of a staged copy, when it has one.
void drop_staged(const StagedCopy& staged);

// Removes the staging folder under `root` when nothing is left in it.
void remove_staging_folder(const std::string& root);

// Syncs the copies written so far, together, and renames them into place in
// the order they were started.
void finish_copies();
