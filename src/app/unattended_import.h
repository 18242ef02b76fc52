#pragma once
// `veltrane [--lab FILE] import SERVER FILE [--update] [--create-homes]
// [--dry-run]`: the wizard's Finish without the wizard. Exit status 0 when
// every record was applied, 1 when any failed (or the file or lab could not
// be read), 2 for a request that cannot be understood. With --dry-run,
// nothing is written: each record's line says what the import would do, and
// the status is that the import would end with.

#include "app/command_line.h"

namespace app {

// True when the positional words ask for an import.
bool isImportRequest(const Options& options);

// Runs the import the options ask for; returns the exit status.
int runUnattendedImport(const Options& options);

}  // namespace app
