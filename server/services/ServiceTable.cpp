#include "ServiceTable.h"

#include "DomainServices.h"
#include "ServiceSupport.h"
#include "StoredReplyService.h"

#include <sstream>

namespace medrec::server::services {

namespace {

// patient: the input field naming the patient whose data the answer holds (the access
// audit's patient number); empty where the handler names the patients itself or the answer
// is no patient's.
ServiceEntry tables(std::string name, std::vector<std::string> lookup, void (*serve)(ServiceContext &),
                    std::string patient = {})
{
    auto handler = auditedBy(patient, guarded(serve));
    return {std::move(name), std::move(lookup), "tables", std::move(handler), std::move(patient)};
}

// A record-kind service answered from the rows imported under "serviceReplies", keyed by
// the input fields the client sends; its callers count the rows by countField.
ServiceEntry stored(std::string name, std::vector<std::string> key, std::string countField,
                    std::string patient = {})
{
    auto handler = auditedBy(patient, storedReplyService(key, std::move(countField)));
    return {std::move(name), std::move(key), "stored replies", std::move(handler), std::move(patient)};
}

} // namespace

const std::vector<ServiceEntry> &DomainServiceTable()
{
    static const std::vector<ServiceEntry> table = {
        tables("MD_PMEDH_S1", {"S_PATNO", "S_TYPE2"}, serveVisitHistory, "S_PATNO"),
        tables("MD_RECOD_L1", {"S_PATNO", "S_STRING1"}, serveRecordKinds, "S_PATNO"),
        tables("MD_RECOD_L2", {"S_TYPE1", "S_PATNO", "S_STRING1"}, serveRecordList, "S_PATNO"),
        tables("MD_RECOD_L3", {"S_TYPE1", "S_PATNO", "S_STRING2", "S_STRING3", "S_STRING4", "S_STRING5"},
               serveRecordContent, "S_PATNO"),
        tables("MD_RECOD_U1", {"S_STRING1", "S_STRING2", "S_STRING3", "S_STRING4", "S_STRING5", "S_STRING8"},
               servePrintHistory),
        tables("MD_PATBA_L2", {"S_TYPE1", "S_TYPE2", "S_TYPE3"}, servePatients),
        tables("MD_DEPTC_L1", {"S_TYPE1"}, serveDepartmentCodes),
        tables("MD_WDRMC_L1", {"S_TYPE1"}, serveWardRooms),
        tables("MD_MCOMC_L1", {"S_TYPE1", "S_CODE1", "S_CODE2", "S_CODE3"}, serveCommonCodes),
        // The general nursing sheet of an admission, by the patient and admission date it is
        // asked with.
        stored("MD_ADINF_S2", {"S_PATNO", "S_ADMDATE"}, "S_STRING1", "S_PATNO"),
        // A staff member's name by the identifier looked up; the callers' fixed arguments
        // ("Y", "1" or "2", "EB1") do not change whose name it is.
        stored("MD_INSAM_L1", {"S_TYPE3"}, "S_STRING1"),
        // The measurement flowsheets (blood sugar "7", body measurements "K", intake and
        // output "P") by the flowsheet and the record's keys each sends.
        stored("MD_IOCHK_L1", {"S_TYPE1", "S_TYPE2", "S_TYPE3", "S_TYPE4", "S_TYPE5"}, "L_SEQNO1", "S_TYPE2"),
        // The print sends the constants "1" and "EB1" in "S_TYPE1" and "S_TYPE4" with every
        // call: only the patient number tells one inpatient header from another.
        stored("MD_IPDLS_E1", {"S_TYPE2"}, "S_CODE1", "S_TYPE2"),
        // The maternity nursing sheet of an admission, by the patient and admission date.
        stored("MD_OBINF_S2", {"S_PATNO", "S_ADMDATE"}, "S_STRING1", "S_PATNO"),
        // The operating-room nursing record of one operation: the patient number, the
        // operation date and the operation's number, sent as an integer; the constants "P"
        // and "EB1" go with every call.
        stored("MD_OPRPT_L1", {"S_TYPE2", "S_TYPE3", "L_CNT1"}, "S_PATNO", "S_TYPE2"),
        // The newborn delivery record by the patient and the admission date (YYYYMMDD).
        stored("MD_BDINF_S1", {"S_PATNO", "S_ADMDATE"}, "S_MEDDEPT", "S_PATNO"),
        // The obstetric record by the patient ("S_TYPE1") and the admission date as
        // YYYY-MM-DD ("S_TYPE2").
        stored("MD_OBDEP_L1", {"S_TYPE1", "S_TYPE2"}, "S_STRING1", "S_TYPE1"),
        // The child and psychiatric nursing sheets of an admission, by the patient and
        // admission date they are asked with.
        stored("MD_PDINF_S2", {"S_PATNO", "S_ADMDATE"}, "S_STRING1", "S_PATNO"),
        stored("MD_PYINF_S2", {"S_PATNO", "S_ADMDATE"}, "S_STRING1", "S_PATNO"),
        // The emergency nursing information sheet by the visit and arrival it is asked with;
        // its triage by the patient, visit date and arrival ("C" and the two empty inputs are
        // the same for every call); a visit's pregnancies by the patient and visit date.
        stored("MD_ERINF_S2", {"S_PATNO", "S_CODE1", "S_CODE2"}, "S_CODE1", "S_PATNO"),
        stored("MD_NKTAS_L1", {"S_TYPE3", "S_TYPE4", "S_TYPE5"}, "S_STRING1", "S_TYPE3"),
        stored("MD_NPREG_S1", {"S_CODE2", "S_CODE3"}, "S_STRING1", "S_CODE2"),
        // The orders of a patient's order date for a department; the fixed "3" and "EB1" tell
        // nothing apart.
        stored("MD_ORDER_L8", {"S_TYPE2", "S_TYPE3", "S_TYPE4"}, "S_CODE1", "S_TYPE2"),
        // The administrations of one order: the patient, the order date and the order's
        // sequence number (sent as text); the fixed "6" tells nothing apart.
        stored("MD_ORDER_LD", {"S_TYPE2", "S_TYPE3", "S_TYPE4"}, "S_CODE1", "S_TYPE2"),
        // The sedation treatment record's medication rows, pre-sedation evaluation and
        // recovery, by the patient, the procedure date and the two sequence numbers the
        // client sends as integers.
        stored("SR_SEDME_L1", {"S_CODE1", "S_CODE2", "L_SEQNO1", "L_SEQNO2"}, "S_STRING1", "S_CODE1"),
        stored("SR_SEDEV_S1", {"S_CODE1", "S_CODE2", "L_SEQNO1", "L_SEQNO2"}, "S_STRING1", "S_CODE1"),
        stored("SR_SEDRC_S1", {"S_CODE1", "S_CODE2", "L_SEQNO1", "L_SEQNO2"}, "S_STRING1", "S_CODE1"),
        // The newborn and the rehabilitation nursing sheets of an admission, by the patient and
        // admission date they are asked with ("S_TYPE1" goes out empty).
        stored("MD_NBINF_S1", {"S_PATNO", "S_ADMDATE"}, "S_CODE1", "S_PATNO"),
        stored("MD_REINF_S1", {"S_PATNO", "S_ADMDATE"}, "S_STRING1", "S_PATNO"),
        // The nutrition support reply: the request by the record's patient number and two
        // keys; the reply texts and the measurements by those and the reply's own key.
        stored("SQ_NSTRQ_S2", {"S_CODE1", "S_CODE2", "S_CODE3"}, "S_STRING1", "S_CODE1"),
        stored("SQ_NSTAP_S1", {"S_CODE1", "S_CODE2", "S_CODE3", "S_CODE4"}, "S_STRING1", "S_CODE1"),
        stored("SQ_NSTSG_S1", {"S_CODE1", "S_CODE2", "S_CODE3", "S_CODE4"}, "S_STRING1", "S_CODE1"),
        // The hemodialysis record by the record's four keys; the day's medications ("W") and
        // treatments ("U") by the list asked for, the patient and the day.
        stored("MH_HDREC_S1", {"S_TYPE1", "S_TYPE2", "S_TYPE3", "S_TYPE4"}, "S_STRING1", "S_TYPE1"),
        stored("MD_IJDAY_L2", {"S_TYPE1", "S_TYPE2", "S_TYPE3"}, "S_ORDDATE", "S_TYPE2"),
    };
    return table;
}

std::string DescribeServices()
{
    std::ostringstream out;
    for (const ServiceEntry &entry : DomainServiceTable()) {
        out << entry.name << '\t' << entry.answersFrom << '\t';
        for (std::size_t i = 0; i < entry.lookup.size(); ++i)
            out << (i ? ";" : "") << entry.lookup[i];
        out << '\n';
    }
    return out.str();
}

} // namespace medrec::server::services
