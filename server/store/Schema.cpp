#include "Schema.h"

#include "Sqlite.h"

#include <string_view>

namespace medrec::server::store {

namespace {

// Texts are UTF-8. Dates and times are digit strings as the services carry them:
// YYYYMMDD, and YYYYMMDDHHNN or YYYYMMDDHHNNSS for a visit's date and time.
constexpr std::string_view kSchema = R"SQL(
CREATE TABLE departments (
    code        TEXT PRIMARY KEY NOT NULL,
    name        TEXT NOT NULL,
    sort_order  INTEGER NOT NULL
);

CREATE TABLE wards (
    code        TEXT PRIMARY KEY NOT NULL,
    name        TEXT NOT NULL,
    sort_order  INTEGER NOT NULL
);

CREATE TABLE rooms (
    ward_code   TEXT NOT NULL REFERENCES wards(code) ON DELETE CASCADE,
    room_no     TEXT NOT NULL,
    sort_order  INTEGER NOT NULL,
    PRIMARY KEY (ward_code, room_no)
) WITHOUT ROWID;

CREATE TABLE common_code_groups (
    group_code  TEXT NOT NULL,
    sub_code    TEXT NOT NULL,
    name        TEXT NOT NULL,
    PRIMARY KEY (group_code, sub_code)
) WITHOUT ROWID;

-- text7..text14 and cnt1..cnt5 are the entry's further texts and numbers, served as
-- "S_STRING7".."S_STRING14" and "L_CNT1".."L_CNT5".
CREATE TABLE common_codes (
    group_code  TEXT NOT NULL,
    sub_code    TEXT NOT NULL,
    code        TEXT NOT NULL,
    name        TEXT NOT NULL,
    short_name  TEXT NOT NULL DEFAULT '',
    seq         INTEGER NOT NULL,
    text7 TEXT NOT NULL DEFAULT '', text8 TEXT NOT NULL DEFAULT '', text9 TEXT NOT NULL DEFAULT '',
    text10 TEXT NOT NULL DEFAULT '', text11 TEXT NOT NULL DEFAULT '', text12 TEXT NOT NULL DEFAULT '',
    text13 TEXT NOT NULL DEFAULT '', text14 TEXT NOT NULL DEFAULT '',
    cnt1 INTEGER NOT NULL DEFAULT 0, cnt2 INTEGER NOT NULL DEFAULT 0, cnt3 INTEGER NOT NULL DEFAULT 0,
    cnt4 INTEGER NOT NULL DEFAULT 0, cnt5 INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY (group_code, sub_code, code),
    FOREIGN KEY (group_code, sub_code) REFERENCES common_code_groups(group_code, sub_code) ON DELETE CASCADE
) WITHOUT ROWID;

-- patno: eight digits, zero-padded, as the client sends it. extraN: the further texts served
-- as "S_STRINGN", which the client reads without using.
CREATE TABLE patients (
    patno       TEXT PRIMARY KEY NOT NULL CHECK (length(patno) = 8 AND patno NOT GLOB '*[^0-9]*'),
    name        TEXT NOT NULL,
    res_front   TEXT NOT NULL DEFAULT '',
    res_back    TEXT NOT NULL DEFAULT '',
    birth_date  TEXT NOT NULL DEFAULT '',
    sex         TEXT NOT NULL DEFAULT '',
    home_tel    TEXT NOT NULL DEFAULT '',
    mobile_tel  TEXT NOT NULL DEFAULT '',
    zip_code    TEXT NOT NULL DEFAULT '',
    address     TEXT NOT NULL DEFAULT '',
    extra7 TEXT NOT NULL DEFAULT '', extra9 TEXT NOT NULL DEFAULT '', extra12 TEXT NOT NULL DEFAULT '',
    extra14 TEXT NOT NULL DEFAULT '', extra15 TEXT NOT NULL DEFAULT '', extra16 TEXT NOT NULL DEFAULT '',
    extra17 TEXT NOT NULL DEFAULT ''
);
CREATE INDEX patients_by_name ON patients(name);

-- kind: 'I' admission, 'O' outpatient, 'E' emergency. discharge_at is empty while the
-- patient is still in.
CREATE TABLE visits (
    id            INTEGER PRIMARY KEY,
    patno         TEXT NOT NULL REFERENCES patients(patno) ON DELETE CASCADE,
    visit_at      TEXT NOT NULL,
    kind          TEXT NOT NULL CHECK (kind IN ('I', 'O', 'E')),
    dept_code     TEXT NOT NULL REFERENCES departments(code),
    ward_code     TEXT REFERENCES wards(code),
    room_no       TEXT NOT NULL DEFAULT '',
    discharge_at  TEXT NOT NULL DEFAULT '',
    attending     TEXT NOT NULL DEFAULT '',
    UNIQUE (patno, visit_at)
);

-- titles: the record list's column titles, separated by "|".
CREATE TABLE record_kinds (
    code        TEXT PRIMARY KEY NOT NULL,
    name        TEXT NOT NULL,
    form_code   TEXT NOT NULL DEFAULT '',
    titles      TEXT NOT NULL DEFAULT '',
    sort_order  INTEGER NOT NULL
);

-- One row of a record list: the ten display columns c0..c9, c0 being the patient number and
-- c1, c2 the record's further keys. ck2..ck5 are the keys under which the record's content
-- is asked for (NULL when the record has no content rows).
CREATE TABLE records (
    id          INTEGER PRIMARY KEY,
    visit_id    INTEGER NOT NULL REFERENCES visits(id) ON DELETE CASCADE,
    kind_code   TEXT NOT NULL REFERENCES record_kinds(code),
    c0 TEXT NOT NULL, c1 TEXT NOT NULL, c2 TEXT NOT NULL, c3 TEXT NOT NULL, c4 TEXT NOT NULL,
    c5 TEXT NOT NULL, c6 TEXT NOT NULL, c7 TEXT NOT NULL, c8 TEXT NOT NULL, c9 TEXT NOT NULL,
    ck2 TEXT, ck3 TEXT, ck4 TEXT, ck5 TEXT
);
CREATE INDEX records_by_visit ON records(visit_id, kind_code);
CREATE UNIQUE INDEX records_by_content_key ON records(kind_code, c0, ck2, ck3, ck4, ck5)
    WHERE ck2 IS NOT NULL;

-- The content rows of a record: field_no n is served as "S_STRINGn".
CREATE TABLE record_content (
    record_id   INTEGER NOT NULL REFERENCES records(id) ON DELETE CASCADE,
    row_no      INTEGER NOT NULL,
    field_no    INTEGER NOT NULL CHECK (field_no BETWEEN 1 AND 60),
    value       TEXT NOT NULL,
    PRIMARY KEY (record_id, row_no, field_no)
) WITHOUT ROWID;

-- Reply rows of the record-kind services that have no tables of their own: one set per
-- service and key (the request's key fields as a JSON object with sorted names), each row
-- a set of named fields.
CREATE TABLE service_replies (
    id          INTEGER PRIMARY KEY,
    service     TEXT NOT NULL,
    key_text    TEXT NOT NULL,
    UNIQUE (service, key_text)
);

CREATE TABLE service_reply_fields (
    reply_id    INTEGER NOT NULL REFERENCES service_replies(id) ON DELETE CASCADE,
    row_no      INTEGER NOT NULL,
    field       TEXT NOT NULL,
    value       TEXT NOT NULL,
    PRIMARY KEY (reply_id, row_no, field)
) WITHOUT ROWID;

-- One row per printed copy. key2..key5 and kind_code are the six values of the request
-- ("empty" where the print had no value); log_* its LOG_ fields, session_* the names the
-- client joined with. printed_at: local time, YYYY-MM-DD HH:MM:SS.mmm.
CREATE TABLE print_history (
    id              INTEGER PRIMARY KEY AUTOINCREMENT,
    printed_at      TEXT NOT NULL,
    patno           TEXT NOT NULL,
    key2            TEXT NOT NULL,
    key3            TEXT NOT NULL,
    key4            TEXT NOT NULL,
    key5            TEXT NOT NULL,
    kind_code       TEXT NOT NULL,
    log_user        TEXT NOT NULL,
    log_client      TEXT NOT NULL,
    log_form        TEXT NOT NULL,
    session_user    TEXT NOT NULL,
    session_client  TEXT NOT NULL,
    workstation     TEXT NOT NULL DEFAULT ''
);
)SQL";

int userVersion(sqlite3 *db)
{
    Statement st(db, "PRAGMA user_version");
    return st.step() ? static_cast<int>(st.integer(0)) : 0;
}

bool hasTables(sqlite3 *db)
{
    Statement st(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table'");
    return st.step() && st.integer(0) > 0;
}

} // namespace

int schemaVersion(sqlite3 *db)
{
    return userVersion(db);
}

bool prepareSchema(sqlite3 *db, std::string *error)
{
    // The usual case, a current database, needs no write lock.
    if (userVersion(db) == kSchemaVersion)
        return true;
    WriteTransaction tx(db);
    const int version = userVersion(db);
    if (version == kSchemaVersion)
        return true;
    if (version > kSchemaVersion) {
        if (error != nullptr)
            *error = "the database has layout version " + std::to_string(version) + ", newer than this program's "
                     + std::to_string(kSchemaVersion);
        return false;
    }
    if (version == 1) {
        // Layout 1 had no workstation identity in the history.
        execute(db, "ALTER TABLE print_history ADD COLUMN workstation TEXT NOT NULL DEFAULT ''");
        execute(db, "PRAGMA user_version = " + std::to_string(kSchemaVersion));
        tx.commit();
        return true;
    }
    if (hasTables(db)) {
        if (error != nullptr)
            *error = "the database holds tables but no layout version: not a medrec-server database";
        return false;
    }
    execute(db, kSchema);
    execute(db, "PRAGMA user_version = " + std::to_string(kSchemaVersion));
    tx.commit();
    return true;
}

} // namespace medrec::server::store
