#pragma once

// A handler that answers from the stored reply rows (store/StoredReplies.h), for the
// record-kind services whose data comes with the import rather than tables of their own.
// A later kind registers, for example,
//     registry.add("MD_ADINF_S2", storedReplyService({"S_PATNO", "S_ADMDATE"}, "S_STRING1"));
// and ships its rows under "serviceReplies" in the data file.

#include "ServiceRegistry.h"

#include <string>
#include <vector>

namespace medrec::server::services {

// The key is occurrence 0 of each named request field (checked text, at most 100 CP949
// The key is occurrence 0 of each named request field (checked text, at most 100 CP949
// bytes, empty allowed; an "L_" field is read as an integer and keys by its decimal text).
// countField is the field the service's callers count rows by: it goes out in every row,
// and so does every "L_" field (as integers, 0 where a row lacks one); other texts leave out
// their empty values after their last one (ReplyRows.h). No rows: success with
// "조회된 자료가 없습니다.".
ServiceHandler storedReplyService(std::vector<std::string> keyFields, std::string countField);

} // namespace medrec::server::services
