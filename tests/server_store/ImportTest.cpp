#include "StoreFixture.h"

#include "Commands.h"
#include "PrintHistory.h"

#include <fstream>
#include <sstream>

namespace medrec::server::store::testing {
namespace {

class ImportTest : public StoreTest
{
};

TEST_F(ImportTest, SmallCatalogueLandsWhole)
{
    const ImportResult r = importJson(db(), kSmallCatalogue);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.summary.patients, 5u);
    EXPECT_EQ(r.summary.visits, 7u);
    EXPECT_EQ(r.summary.records, 3u);
    EXPECT_EQ(r.summary.contentRows, 4u);
    EXPECT_EQ(r.summary.rooms, 3u);
    EXPECT_EQ(r.summary.commonCodes, 3u);
    EXPECT_EQ(r.summary.serviceReplies, 2u);
    EXPECT_EQ(count("patients"), 5);
    EXPECT_EQ(count("record_content"), 4 + 3); // the op record's 4 fields; "a", "b" and the empty row's one
}

// Every case is a document with one bad item; the message must name the item's path and
// say what is wrong, and nothing of the document may stay.
const char *const kBase = R"({"departments": [{"code": "GS", "name": "외과"}],
  "wards": [{"code": "71", "name": "71병동", "rooms": ["7101"]}],
  "recordKinds": [{"code": "MDOPRECT", "name": "수술기록"}], "patients": [)";

std::string withPatients(const std::string &patients)
{
    return std::string(kBase) + patients + "]}";
}

const std::string kGoodPatient =
    R"({"number": "00000001", "name": "가나다", "visits": [{"date": "201101010000", "kind": "outpatient", "department": "GS"}]})";

TEST_F(ImportTest, BadItemsAreNamedByPathAndNothingStays)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {withPatients(kGoodPatient + R"(, {"number": "1234", "name": "가"})"),
         "patients[1].number: \"1234\" is not a patient number of eight digits"},
        {withPatients(kGoodPatient + "," + kGoodPatient), "patients[1].number: patient \"00000001\" is already there"},
        {withPatients(R"({"number": "00000002", "name": "가", "visits": [{"date": "201101010000", "kind": "outpatient", "department": "GS"},
                          {"date": "2011023", "kind": "outpatient", "department": "GS"}]})"),
         "patients[0].visits[1].date: \"2011023\" is not a date and time"},
        {withPatients(R"({"number": "00000002", "name": "가", "visits": [{"date": "201102301200", "kind": "outpatient", "department": "GS"}]})"),
         "patients[0].visits[0].date: \"201102301200\" is not a date and time"},
        {withPatients(R"({"number": "00000002", "name": "가", "visits": [{"date": "201101011200", "kind": "inpatient", "department": "GS"}]})"),
         "patients[0].visits[0].kind: \"inpatient\" is none of"},
        {withPatients(R"({"number": "00000002", "name": "가", "visits": [{"date": "201101011200", "kind": "admission", "department": "XX"}]})"),
         "patients[0].visits[0].department: no department \"XX\""},
        {withPatients(R"({"number": "00000002", "name": "가", "visits": [{"date": "201101011200", "kind": "admission", "department": "GS", "ward": "71", "room": "9999"}]})"),
         "patients[0].visits[0].room: ward \"71\" has no room \"9999\""},
        {withPatients(R"({"number": "00000002", "name": "가", "visits": [{"date": "201101011200", "kind": "admission", "department": "GS", "discharge": "20101231"}]})"),
         "patients[0].visits[0].discharge: discharge \"20101231\" lies before the visit"},
        {withPatients(R"({"number": "00000002", "name": "가", "visits": [{"date": "201101011200", "kind": "admission", "department": "GS",
                          "records": [{"kind": "MDXXXXXX", "columns": ["00000002"]}]}]})"),
         "patients[0].visits[0].records[0].kind: no record kind \"MDXXXXXX\""},
        {withPatients(R"({"number": "00000002", "name": "가", "visits": [{"date": "201101011200", "kind": "admission", "department": "GS",
                          "records": [{"kind": "MDOPRECT", "columns": ["00000003", "1", "2"]}]}]})"),
         "patients[0].visits[0].records[0].columns[0]: column 0 is the patient number"},
        {withPatients(R"({"number": "00000002", "name": "가", "visits": [{"date": "201101011200", "kind": "admission", "department": "GS",
                          "records": [{"kind": "MDOPRECT", "columns": ["00000002", "1", "2"], "content": [{"S_STRING61": "x"}]}]}]})"),
         "patients[0].visits[0].records[0].content[0]: unknown field \"S_STRING61\""},
        {withPatients(R"({"number": "00000002", "name": "가", "visits": [{"date": "201101011200", "kind": "admission", "department": "GS",
                          "records": [{"kind": "MDOPRECT", "columns": ["00000002", "1", "2"], "content": [{"S_STRING1": "x"}]},
                                      {"kind": "MDOPRECT", "columns": ["00000002", "1", "2"], "content": [{"S_STRING1": "y"}]}]}]})"),
         "patients[0].visits[0].records[1]: another record of kind \"MDOPRECT\""},
        {withPatients(R"({"number": "00000002", "name": "가", "nmae": "x"})"), "patients[0]: unknown member \"nmae\""},
        {withPatients(R"({"number": "00000002", "name": "😀"})"),
         "patients[0].name: \"😀\" holds a character that CP949 cannot represent"},
        {withPatients(R"({"number": "00000002", "name": "가\u0001"})"), "patients[0].name: holds a control character"},
        {withPatients(R"({"number": "00000002", "name": 12})"), "patients[0].name: must be a text"},
        {withPatients(R"({"number": "00000002"})"), "patients[0].name: missing"},
        {withPatients(R"({"number": "00000002", "name": "가", "sex": "X"})"), "patients[0].sex: \"X\" is neither"},
        {withPatients(R"({"number": "00000002", "name": ")" + std::string(60, 'A') + std::string(60, 'B') + R"("})"),
         "patients[0].name: is 120 bytes long in CP949; at most 100"},
        {std::string(R"({"departments": [{"code": "GS", "name": "외과"}, {"code": "GS", "name": "일반외과"}]})"),
         "departments[1].code: department \"GS\" is already there"},
        {std::string(R"({"wards": [{"code": "71", "name": "71", "rooms": ["1", "1"]}]})"),
         "wards[0].rooms[1]: room \"1\" appears twice"},
        {std::string(R"({"serviceReplies": [{"service": "MD_RECOD_L3", "key": {"S_PATNO": "1"}, "rows": []}]})"),
         "serviceReplies[0].service: \"MD_RECOD_L3\" is served from its own tables"},
        {std::string(R"({"serviceReplies": [{"service": "MD_ADINF_S2", "key": {"S_PATNO": "1"}, "rows": [{"L_CNT1": "3"}]}]})"),
         "serviceReplies[0].rows[0].L_CNT1: must be a whole number"},
        {std::string(R"({"serviceReplies": [{"service": "SR_SEDME_L1", "key": {"L_SEQNO1": "1"}, "rows": []}]})"),
         "serviceReplies[0].key.L_SEQNO1: must be a whole number"},
        {std::string(R"({"patient": []})"), "unknown member \"patient\""},
        {std::string(R"({"patients": [)"), "not a JSON document"},
    };
    for (const auto &[json, expected] : cases) {
        SCOPED_TRACE(expected);
        const ImportResult r = importJson(db(), json);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find(expected), std::string::npos) << r.error;
        for (const char *table : {"departments", "wards", "rooms", "record_kinds", "patients", "visits", "records",
                                  "record_content", "service_replies"})
            EXPECT_EQ(count(table), 0) << table;
    }
}

std::string contentRows(int rows, int fields, std::size_t bytes)
{
    std::string text;
    for (int r = 0; r < rows; ++r) {
        text += r == 0 ? "{" : ", {";
        for (int f = 1; f <= fields; ++f)
            text += (f == 1 ? "" : ", ") + ("\"S_STRING" + std::to_string(f) + "\": \"" + std::string(bytes, 'x') + "\"");
        text += "}";
    }
    return text;
}

std::string recordWithContent(const std::string &rows)
{
    return withPatients(R"({"number": "00000002", "name": "가", "visits": [{"date": "201101011200", "kind": "admission",
        "department": "GS", "records": [{"kind": "MDOPRECT", "columns": ["00000002", "1", "2"], "content": [)"
                        + rows + "]}]}]}");
}

TEST_F(ImportTest, ContentOfAnyLengthIsTakenButNotARowLargerThanOneReply)
{
    // 400 rows of 60 fields of 30 bytes: about 16 standard replies, sent in turn.
    ImportResult r = importJson(db(), recordWithContent(contentRows(400, 60, 30)));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(count("record_content"), 400 * 60);

    // One row of five full free texts cannot travel in any one reply.
    r = importJson(db(), recordWithContent(R"({"S_STRING1": "a"}, )" + contentRows(1, 5, 16000)), {.replace = true});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("content[1]: the row takes 80,045 bytes in a reply"), std::string::npos) << r.error;
}

TEST_F(ImportTest, StoredRepliesAreMeasuredAsTheHostSendsEachRow)
{
    // Rows past the large buffer go in further replies.
    std::string rows;
    for (int r = 0; r < 200; ++r)
        rows += (r ? ", " : "") + std::string(R"({"L_SEQNO1": )") + std::to_string(r) + R"(, "S_STRING2": ")"
                + std::string(3000, 'y') + "\"}";
    const std::string many = R"({"serviceReplies": [{"service": "MD_IOCHK_L1", "key": {"S_TYPE1": "7"}, "rows": [)"
                             + rows + "]}]}";
    ImportResult r = importJson(db(), many);
    ASSERT_TRUE(r.ok) << r.error;

    // A sparse row is measured by what it carries, and a row too large alone is refused.
    const std::string big = R"({"serviceReplies": [{"service": "MD_ADINF_S2", "key": {"S_PATNO": "1"}, "rows": [
        {"S_STRING1": "a"}, {)" + contentRows(1, 5, 16000).substr(1) + "]}]}";
    r = importJson(db(), big);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("serviceReplies[0].rows[1]: the row takes 80,045 bytes in a reply"), std::string::npos)
        << r.error;
}

TEST_F(ImportTest, SecondImportAddsAndReplaceStartsAfreshKeepingHistory)
{
    importOk(kSmallCatalogue);
    // The same document again collides with itself.
    ImportResult again = importJson(db(), kSmallCatalogue);
    EXPECT_FALSE(again.ok);
    EXPECT_NE(again.error.find("departments[0].code: department \"GS\" is already there"), std::string::npos)
        << again.error;

    PrintHistoryEntry e;
    e.patno = "00001001";
    addPrintHistory(db(), e);

    ImportOptions replace;
    replace.replace = true;
    again = importJson(db(), kSmallCatalogue, replace);
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_EQ(count("patients"), 5);
    EXPECT_EQ(count("print_history"), 1);
}

TEST_F(ImportTest, CommandReportsUsageFailureAndSuccess)
{
    const auto data = dir() / "data.json";
    std::ofstream(data) << kSmallCatalogue;
    const auto bad = dir() / "bad.json";
    std::ofstream(bad) << withPatients(R"({"number": "0000001x", "name": "가"})");
    const std::string freshDb = (dir() / "fresh.db").string();

    struct Case
    {
        std::vector<std::string> args;
        int exit;
        const char *out;
        const char *err;
    };
    const std::vector<Case> cases = {
        {{"--db", freshDb}, 2, "", "usage: medrec-server import"},
        {{"--db", freshDb, (dir() / "missing.json").string()}, 1, "", "cannot read"},
        {{"--db", freshDb, bad.string()}, 1, "", "patients[0].number: \"0000001x\" is not a patient number"},
        {{"--db", freshDb, data.string()}, 0, "imported 5 patients, 7 visits, 3 records", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.back());
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runImport(c.args, out, err), c.exit);
        EXPECT_NE(out.str().find(c.out), std::string::npos) << out.str();
        EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
    }
    Connection check(freshDb, Connection::Mode::ReadWrite);
    Statement st(check.get(), "SELECT count(*) FROM patients");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.integer(0), 5);
}

} // namespace
} // namespace medrec::server::store::testing
