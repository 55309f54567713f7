#include "StoreFixture.h"

#include "Catalogue.h"
#include "Codes.h"
#include "Commands.h"
#include "Patients.h"
#include "PrintHistory.h"
#include "StoredReplies.h"

#include <sstream>

namespace medrec::server::store::testing {
namespace {

class QueryTest : public StoreTest
{
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        importOk(kSmallCatalogue);
    }

    std::vector<std::string> names(const PatientQuery &q)
    {
        std::vector<std::string> list;
        for (const Patient &p : findPatients(db(), q, 100))
            list.push_back(p.name);
        return list;
    }
};

TEST_F(QueryTest, NameSearchTakesTheTextLiterally)
{
    using V = std::vector<std::string>;
    const std::vector<std::pair<std::string, V>> cases = {
        {"김민", V{"김민수", "김민준", "김민지"}},
        {"김", V{"김민수", "김민준", "김민지"}},
        {"김민준", V{"김민준"}},
        {"민", V{}},               // a prefix, not a part
        {"김%", V{}},              // '%' is no wildcard
        {"%", V{}},
        {"_", V{}},
        {"박'_", V{}},             // '_' is no wildcard either
        {"박'%", V{"박'%_"}},
        {"박'%_", V{"박'%_"}},
        {"' OR 1=1 --", V{}},
        {"김' OR '1'='1", V{}},
        {"\"; DROP TABLE patients; --", V{}},
    };
    for (const auto &[text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(names(PatientQuery{PatientQuery::By::NamePrefix, text, false}), expected);
    }
    EXPECT_EQ(count("patients"), 5);
}

TEST_F(QueryTest, NumberSearchIsExact)
{
    using V = std::vector<std::string>;
    const std::vector<std::pair<std::string, V>> cases = {
        {"00001001", V{"김민준"}}, {"1001", V{}}, {"0000100", V{}}, {"99999999", V{}}, {"' OR 1=1 --", V{}},
    };
    for (const auto &[text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(names(PatientQuery{PatientQuery::By::Number, text, false}), expected);
    }
}

TEST_F(QueryTest, PatientRowCarriesEveryFieldAndNewestDepartment)
{
    const auto found = findPatients(db(), PatientQuery{PatientQuery::By::Number, "00001001", false}, 10);
    ASSERT_EQ(found.size(), 1u);
    const Patient &p = found[0];
    EXPECT_EQ(p.resFront, "800101");
    EXPECT_EQ(p.resBack, "1234567");
    EXPECT_EQ(p.birthDate, "19800101");
    EXPECT_EQ(p.mobileTel, "01012345678");
    EXPECT_EQ(p.address, "서울특별시 강남구 테헤란로 1");
    EXPECT_EQ(p.extra12, "숨김");
    EXPECT_EQ(p.department, "내과"); // the 2016 outpatient visit is the newest
}

TEST_F(QueryTest, InpatientSearchKeepsOnlyThoseStillIn)
{
    EXPECT_EQ(names(PatientQuery{PatientQuery::By::NamePrefix, "김민", true}), std::vector<std::string>{"김민지"});
    EXPECT_TRUE(names(PatientQuery{PatientQuery::By::Number, "00001001", true}).empty());
}

TEST_F(QueryTest, LimitReportsMore)
{
    bool more = false;
    EXPECT_EQ(findPatients(db(), PatientQuery{PatientQuery::By::NamePrefix, "김", false}, 2, &more).size(), 2u);
    EXPECT_TRUE(more);
    EXPECT_EQ(findPatients(db(), PatientQuery{PatientQuery::By::NamePrefix, "김", false}, 3, &more).size(), 3u);
    EXPECT_FALSE(more);
}

TEST_F(QueryTest, VisitsFromADateNewestFirst)
{
    std::vector<std::string> at;
    for (const Visit &v : listVisits(db(), "00001001", "20110101"))
        at.push_back(v.visitAt);
    EXPECT_EQ(at, (std::vector<std::string>{"201601051200", "201503021800", "201503021030"}));
    EXPECT_EQ(listVisits(db(), "00001001", "").size(), 4u);
    EXPECT_TRUE(listVisits(db(), "00002001", "20110101").empty());
    EXPECT_EQ(listVisits(db(), "00001003", "20120101").size(), 1u); // the day itself counts

    const Visit admission = listVisits(db(), "00001001", "20150302").back();
    EXPECT_EQ(admission.kind, "I");
    EXPECT_EQ(admission.deptName, "외과");
    EXPECT_EQ(admission.wardCode, "71");
    EXPECT_EQ(admission.roomNo, "7101");
    EXPECT_EQ(admission.dischargeAt, "20150310");
}

TEST_F(QueryTest, RecordKindsByFullDigitsOrByDay)
{
    auto codes = [&](const std::string &digits) {
        std::vector<std::string> list;
        for (const RecordKind &k : listRecordKinds(db(), "00001001", digits))
            list.push_back(k.code + "/" + k.name + "/" + k.formCode);
        return list;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(codes("201503021030"), (V{"MDOPRECT/수술기록/KRV 82-OP-2-40", "MDPGNOTT/경과기록/KRV 82-MR-3-32"}));
    EXPECT_EQ(codes("201503021800"), V{"MDPGNOTT/경과기록/KRV 82-MR-3-32"});
    EXPECT_EQ(codes("20150302"), (V{"MDOPRECT/수술기록/KRV 82-OP-2-40", "MDPGNOTT/경과기록/KRV 82-MR-3-32"}));
    EXPECT_TRUE(codes("201601051200").empty()); // a visit without records
    EXPECT_TRUE(codes("20150303").empty());
}

TEST_F(QueryTest, RecordListCarriesColumnsAndTitles)
{
    const auto rows = listRecords(db(), "MDPGNOTT", "00001001", "20150302");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].columns[2], "");  // the admission's note first
    EXPECT_EQ(rows[1].columns[2], "E");
    EXPECT_EQ(rows[0].titles, "등록번호|입원일자||||||||"); // padded to ten titles

    const auto op = listRecords(db(), "MDOPRECT", "00001001", "20150302");
    ASSERT_EQ(op.size(), 1u);
    EXPECT_EQ(op[0].columns[6], "충수절제술");
    EXPECT_EQ(op[0].columns[9], "");
}

TEST_F(QueryTest, ContentRowsHaveSixtyFieldsUnderTheExactKeys)
{
    const auto rows = recordContent(db(), "MDOPRECT", "00001001", {"20150303", "1", "", ""});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "00001001");
    EXPECT_EQ(rows[0][1], "");
    EXPECT_EQ(rows[0][32], "절차\r\n둘째 줄");
    EXPECT_EQ(rows[0][59], "끝");

    EXPECT_TRUE(recordContent(db(), "MDOPRECT", "00001001", {"20150303", "2", "", ""}).empty());
    EXPECT_TRUE(recordContent(db(), "MDOPRECT", "00001001", {"20150303", "1", "x", ""}).empty());
    EXPECT_TRUE(recordContent(db(), "MDOPRECT", "00001002", {"20150303", "1", "", ""}).empty());
    // The admission's progress note has no content.
    EXPECT_TRUE(recordContent(db(), "MDPGNOTT", "00001001", {"20150302", "", "", ""}).empty());

    const auto notes = recordContent(db(), "MDPGNOTT", "00001001", {"20150302", "E", "", ""});
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[1][0], "b");
    EXPECT_EQ(notes[2][0], "");
}

TEST_F(QueryTest, CodeTables)
{
    const auto depts = listDepartments(db());
    ASSERT_EQ(depts.size(), 3u);
    EXPECT_EQ(depts[0].code, "GS");
    EXPECT_EQ(depts[2].name, "응급의학과");
    EXPECT_EQ(listWards(db()).size(), 2u);
    EXPECT_EQ(listRooms(db(), "71"), (std::vector<std::string>{"7101", "7102", "7103"}));
    EXPECT_TRUE(listRooms(db(), "52").empty());
    EXPECT_TRUE(listRooms(db(), "' OR 1=1 --").empty());

    const auto codes = listCommonCodes(db(), "204", "000", "");
    ASSERT_EQ(codes.size(), 3u);
    EXPECT_EQ(codes[0].groupName, "내원경로");
    EXPECT_EQ(codes[1].name, "타병원의뢰");
    EXPECT_EQ(codes[1].texts[0], "의뢰서");
    EXPECT_EQ(codes[1].counts[0], 7);
    EXPECT_EQ(codes[2].seq, 9);
    EXPECT_EQ(listCommonCodes(db(), "204", "000", "2").size(), 1u);
    EXPECT_TRUE(listCommonCodes(db(), "205", "000", "").empty());
}

TEST_F(QueryTest, StoredRepliesByServiceAndKey)
{
    const auto rows = storedReply(db(), "MD_ADINF_S2", {{"S_STRING1", "20150302"}, {"S_PATNO", "00001001"}});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("S_STRING1"), "첫째");
    EXPECT_EQ(rows[0].at("L_CNT1"), "3");
    EXPECT_EQ(rows[1].count("L_CNT1"), 0u);
    EXPECT_TRUE(storedReply(db(), "MD_ADINF_S2", {{"S_PATNO", "00001001"}}).empty());
    EXPECT_TRUE(storedReply(db(), "MD_OBINF_S2", {{"S_STRING1", "20150302"}, {"S_PATNO", "00001001"}}).empty());
}

TEST_F(QueryTest, HistoryListsNewestFirstOneLineARow)
{
    PrintHistoryEntry first;
    first.patno = "00001001";
    first.key2 = "20150303";
    first.key3 = "1";
    first.key4 = first.key5 = "empty";
    first.kindCode = "MDOPRECT";
    first.logUser = "홍길동";
    first.logClient = "127.0.0.1";
    first.logForm = "MDG300F1";
    addPrintHistory(db(), first);
    PrintHistoryEntry second = first;
    second.key3 = "tab\there\nnewline\\";
    addPrintHistory(db(), second);

    std::ostringstream out;
    writeHistory(db(), out);
    std::istringstream lines(out.str());
    std::string header, newest, oldest, rest;
    std::getline(lines, header);
    std::getline(lines, newest);
    std::getline(lines, oldest);
    EXPECT_FALSE(std::getline(lines, rest));
    EXPECT_EQ(header,
              "id\tprinted_at\tpatient\tkey2\tkey3\tkey4\tkey5\tkind\tuser\tclient\tform\tsession_user\tsession_client\tworkstation");
    auto columns = [](const std::string &line) { return std::count(line.begin(), line.end(), '\t') + 1; };
    EXPECT_EQ(columns(newest), columns(header));
    EXPECT_EQ(columns(oldest), columns(header));
    EXPECT_EQ(newest.substr(0, 2), "2\t");
    EXPECT_NE(newest.find("\t00001001\t20150303\ttab\\there\\nnewline\\\\\tempty\tempty\tMDOPRECT\t홍길동\t127.0.0.1\tMDG300F1"),
              std::string::npos)
        << newest;
    EXPECT_EQ(oldest.substr(0, 2), "1\t");
}

} // namespace
} // namespace medrec::server::store::testing
