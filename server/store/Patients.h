#pragma once

// Patient look-up: by exact number or by the beginning of the name, optionally only among
// the patients who are in the hospital now (an admission without a discharge date).
// Read-only; texts UTF-8; throws DbError when SQLite fails.

#include "PreparedStatements.h"
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace medrec::server::store {

struct Patient
{
    std::string patno;
    std::string name;
    std::string resFront;   // resident registration number, front six digits
    std::string resBack;    // back seven digits
    std::string birthDate;  // YYYYMMDD
    std::string sex;        // "M" or "F"
    std::string homeTel;
    std::string mobileTel;
    std::string zipCode;
    std::string address;
    std::string department; // name of the department of the newest visit, or empty
    std::string extra7, extra9, extra12, extra14, extra15, extra16, extra17;
};

struct PatientQuery
{
    enum class By { Number, NamePrefix };
    By by = By::Number;
    std::string text;         // the number, or the beginning of the name (taken literally)
    bool inpatientsOnly = false;
};

// Matching patients ordered by name then number, at most limit of them; *more (if not
// null) tells whether further patients matched.
std::vector<Patient> findPatients(SqlConnection db, const PatientQuery &query, std::size_t limit, bool *more = nullptr);

} // namespace medrec::server::store
