#pragma once
// The database export: an SQLite file holding one table named after the
// display ("Exp_Users"), one text field per list column (hidden ones
// included) named by the column title with "." replaced by "_", and one
// record per row in the view's order, "*NONE*" standing for an empty cell.
// The file is built under a fresh temporary name beside the target and then
// renamed over it, so an existing file is replaced whole or not at all and
// keeps its mode; a FIFO or device target gets the finished file's bytes.

#include <string>

#include "transfer/export_result.h"
#include "transfer/export_source.h"


namespace transfer {

ExportResult writeDatabase(const ListSource& list, const std::string& path,
                           const std::string& tableName);

}  // namespace transfer
