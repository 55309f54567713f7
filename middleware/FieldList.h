#pragma once

// Field lists: ";"-separated field names of a call's inputs, a trailing ";" optional.

#include <string>
#include <string_view>

namespace medrec::middleware {

// The name at the 0-based index, or empty text when the list has fewer names. Names are
// taken as they stand (no trimming); empty names (";;") count.
std::string FieldListItem(std::string_view list, int index);

} // namespace medrec::middleware
