#pragma once

// The catalogue the store and service tests share, as an import document.

namespace medrec::server::store::testing {

// Departments, wards (71 with rooms, 52 without), one common-code group, two record kinds,
// and five patients: three named 김민준/김민지/김민수 (one in hospital now), 이서연 with no
// visit since 2011, and 박'%_ whose name holds quote and pattern characters.
extern const char *const kSmallCatalogue;

} // namespace medrec::server::store::testing
