#pragma once

// A handler that answers from the stored reply rows (store/StoredReplies.h), for the
// record-kind services whose data comes with the import rather than tables of their own.
// A later kind registers, for example,
//     registry.add("MD_ADINF_S2", storedReplyService({"S_PATNO", "S_ADMDATE"}));
// and ships its rows under "serviceReplies" in the data file.

#include "ServiceRegistry.h"

#include <string>
#include <vector>

namespace medrec::server::services {

// The key is occurrence 0 of each named request field (checked text, at most 100 CP949
// bytes, empty allowed; an "L_" field is read as an integer and keys by its decimal text). Every returned row carries every field that any row has, so each
// field has one occurrence per row (absent values go out empty, or 0 for "L_" fields);
// "L_" fields go out as integers. No rows: success with "조회된 자료가 없습니다.".
ServiceHandler storedReplyService(std::vector<std::string> keyFields);

} // namespace medrec::server::services
