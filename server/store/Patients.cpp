#include "Patients.h"

#include "Sqlite.h"

namespace medrec::server::store {

namespace {

constexpr std::string_view kColumns = R"SQL(
    SELECT p.patno, p.name, p.res_front, p.res_back, p.birth_date, p.sex, p.home_tel, p.mobile_tel,
           p.zip_code, p.address,
           coalesce((SELECT d.name FROM visits v JOIN departments d ON d.code = v.dept_code
                     WHERE v.patno = p.patno ORDER BY v.visit_at DESC LIMIT 1), ''),
           p.extra7, p.extra9, p.extra12, p.extra14, p.extra15, p.extra16, p.extra17
    FROM patients p
)SQL";

// Still in: an admission that has no discharge date yet.
constexpr std::string_view kInpatient = R"SQL(
    AND EXISTS (SELECT 1 FROM visits v WHERE v.patno = p.patno AND v.kind = 'I' AND v.discharge_at = '')
)SQL";

// Upper bound for a prefix range on the name index: the largest code point sorts after
// every character a stored name can hold (stored names are CP949 text).
constexpr std::string_view kAfterEveryCharacter = "\xF4\x8F\xBF\xBF";

} // namespace

std::vector<Patient> findPatients(SqlConnection db, const PatientQuery &query, std::size_t limit, bool *more)
{
    std::string sql(kColumns);
    if (query.by == PatientQuery::By::Number) {
        sql += " WHERE p.patno = ?1";
    } else {
        // Range on the index, then the exact prefix test: input is compared, never matched
        // as a pattern, so '%', '_' and quotes are ordinary characters.
        sql += " WHERE p.name >= ?1 AND p.name < ?2 AND substr(p.name, 1, length(?1)) = ?1";
    }
    if (query.inpatientsOnly)
        sql += kInpatient;
    sql += " ORDER BY p.name, p.patno LIMIT ?3";

    Statement st(db, sql);
    st.bind(1, query.text);
    if (query.by == PatientQuery::By::NamePrefix)
        st.bind(2, query.text + std::string(kAfterEveryCharacter));
    st.bind(3, static_cast<std::int64_t>(limit) + 1);

    std::vector<Patient> patients;
    if (more != nullptr)
        *more = false;
    while (st.step()) {
        if (patients.size() == limit) {
            if (more != nullptr)
                *more = true;
            break;
        }
        Patient p;
        int c = 0;
        for (std::string *field : {&p.patno, &p.name, &p.resFront, &p.resBack, &p.birthDate, &p.sex, &p.homeTel,
                                   &p.mobileTel, &p.zipCode, &p.address, &p.department, &p.extra7, &p.extra9,
                                   &p.extra12, &p.extra14, &p.extra15, &p.extra16, &p.extra17})
            *field = st.text(c++);
        patients.push_back(std::move(p));
    }
    return patients;
}

} // namespace medrec::server::store
