#pragma once

// The sequence every service data-class method follows: allocate the request buffer of the
// service's flavour, set the field list and the inputs at occurrence 0, call, read each
// kept output field into its result array, count the rows, free.

#include "TuxCom.h"

#include <string>
#include <utility>
#include <vector>

namespace medrec::services {

using middleware::InputValue;
using middleware::ServiceResult;

struct OutputField
{
    std::string name;
    ServiceResult *target;
};

struct Query
{
    std::string service;
    std::string fieldList;
    std::vector<InputValue> inputs;
    std::vector<OutputField> outputs;
    // The field whose occurrences are the row count; the first output when empty.
    std::string countField;
    // Read the outputs with the sequential reader (long answers).
    bool sequential = false;
};

// -1 when the call failed (the text is in TuxMessage; the targets keep their content),
// otherwise the number of rows (0: nothing found). An answer the service sends in several
// replies (docs/wire-format.md) is asked for reply by reply and put together, so the
// targets hold every row as if one reply had brought them; a reply that does not continue
// where the last one ended fails the whole call.
int RunQuery(const Query &query);

// One row per occurrence: row i of the inputs goes to occurrence i of the fields, then the
// transactional call. 1 when the call and the commit succeeded, -1 otherwise.
int RunUpdate(const std::string &service, const std::string &fieldList,
              const std::vector<std::vector<InputValue>> &rows);

// "S_STRING1" .. "S_STRINGn" (and likewise for other families).
std::vector<std::string> NumberedFields(const std::string &family, int first, int last);

} // namespace medrec::services
