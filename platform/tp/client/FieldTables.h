#pragma once

// The field table in force for Fldid/Fname: loaded by tuxreadenv from the site
// environment, or installed directly by a program that knows its table.

#include "codec/FieldTable.h"

#include <memory>

namespace medrec::tp::client {

std::shared_ptr<const FieldTable> currentFieldTable();
void installFieldTable(std::shared_ptr<const FieldTable> table);

} // namespace medrec::tp::client
