#pragma once
// Private folders of one run of the launcher in the system's temporary
// folder, named "PREFIX-PID-XXXXXX" so that a later run can tell which
// folders are the launcher's own and whether the run that made one still goes.

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A new private folder (only its owner may enter it) "PREFIX-PID-XXXXXX" in
// the temporary folder, removed with its content when the object goes.
// Check isValid() before use.
std::unique_ptr<QTemporaryDir> make_run_folder(const QString& prefix);

// Removes the folders "PREFIX-PID-XXXXXX" of `directory` (the temporary
// folder when empty) that this user owns, that are folders and not links,
// and whose process PID has ended. Anything else is left as it is. Returns
// how many were removed.
int remove_abandoned_run_folders(const QString& prefix, const QString& directory = {});

// True while a process `processId` exists (of any user).
bool process_exists(qint64 processId);
