#pragma once

// The domain service handlers of medrec-server. Each reads its inputs (occurrence 0 unless
// it writes rows), answers from the store on the call's connection, and sets "STATLIN" and
// the user return code as ServiceSupport.h tells. They are registered under the service
// names by registerDomainServices (the server's hook).

#include "ServiceRegistry.h"

namespace medrec::server::services {

// "MD_PMEDH_S1": in "S_PATNO", "S_TYPE1" (accepted, not used), "S_TYPE2" the from-date
// YYYYMMDD (empty: all). Out, one per visit on or after it, newest first: "S_STRING1" the
// visit's date-time digits, "S_STRING2" discharge date, "S_STRING3" kind ("I", "O", "E"),
// "S_STRING4"/"S_STRING5" department code/name, "S_STRING6" ward, "S_STRING7" room,
// "S_STRING8" attending physician.
void serveVisitHistory(ServiceContext &ctx);

// "MD_RECOD_L1": in "S_TYPE2" (accepted, not used), "S_PATNO", "S_STRING1" the visit as a
// date YYYYMMDD (every visit of that day) or its full digits. Out, one per record kind with
// records: "S_STRING1" name, "S_STRING2" code, "S_STRING3" form code.
void serveRecordKinds(ServiceContext &ctx);

// "MD_RECOD_L2": in "S_TYPE1" the record kind code, "S_PATNO", "S_STRING1" the visit
// date. Out, one per record: "S_STRING1".."S_STRING5" and "S_STRING7".."S_STRING11" the ten
// columns, "S_STRING6" the title line.
void serveRecordList(ServiceContext &ctx);

// "MD_RECOD_L3": in "S_TYPE1" the record kind code, "S_PATNO", "S_STRING2".."S_STRING5"
// the record's further keys. Out, one per content row: "S_STRING1".."S_STRING60".
void serveRecordContent(ServiceContext &ctx);

// "MD_RECOD_U1": in, one history row per occurrence, "S_STRING1".."S_STRING5" and
// "S_STRING8". Inside a transaction only. Out "L_CNT1" the number of rows written.
void servePrintHistory(ServiceContext &ctx);

// "MD_PATBA_L2": in "S_TYPE1" the search type ("1"/"3" number, "2" name, "4"/"5" the
// number and name searches among patients in hospital now), "S_TYPE2" the number,
// "S_TYPE3" the name. Out, one per patient: "S_PATNO", "S_STRING1".."S_STRING17".
void servePatients(ServiceContext &ctx);

// "MD_DEPTC_L1": in "S_TYPE1" "1" departments or "2" wards, "S_TYPE2" (accepted, not
// used). Out "S_CODE1" code, "S_CODE2" name.
void serveDepartmentCodes(ServiceContext &ctx);

// "MD_WDRMC_L1": in "S_TYPE1" the ward code. Out "S_STRING1" the room numbers.
void serveWardRooms(ServiceContext &ctx);

// "MD_MCOMC_L1": in "S_TYPE1" "S", "S_CODE1" the group, "S_CODE2" the sub-code (empty:
// "000"), "S_CODE3" one entry's code or empty for all. Out per entry "S_STRING1" group,
// "S_STRING2" sub-code, "S_STRING3" code, "S_STRING4" group name, "S_STRING5" short name,
// "S_STRING6" name, "S_STRING7".."S_STRING14" further texts, "L_CNT1".."L_CNT5" numbers,
// "L_SEQNO1" the sequence.
void serveCommonCodes(ServiceContext &ctx);

} // namespace medrec::server::services
