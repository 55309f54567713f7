// The catalogue and look-up services over loopback, with the fields the client sends.

#include "ServiceFixture.h"

#include <functional>

namespace medrec::server::store::testing {
namespace {

using CatalogueServiceTest = ServiceTest;

Buffer &patientQuery(Buffer &b, const std::string &type, const std::string &number, const std::string &name)
{
    return b.set("S_TYPE1", type).set("S_TYPE2", number).set("S_TYPE3", name).log("MDUSER", "10.1.20.3", "MDG300F1");
}

TEST_F(CatalogueServiceTest, NameMatchingThreePatientsFillsEveryFieldThreeTimes)
{
    Buffer b;
    patientQuery(b, "2", "", "김민");
    const Outcome o = call("MD_PATBA_L2", b);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    EXPECT_EQ(o.statlin, "3건의 자료가 조회되었습니다.");
    EXPECT_EQ(b.count("S_PATNO"), 3);
    for (int f = 1; f <= 17; ++f) {
        const std::string field = "S_STRING" + std::to_string(f);
        EXPECT_EQ(b.count(field.c_str()), 3) << field;
    }
    EXPECT_EQ(b.text("S_STRING1", 0), "김민수");
    EXPECT_EQ(b.text("S_STRING1", 1), "김민준");
    EXPECT_EQ(b.text("S_PATNO", 1), "00001001");
    EXPECT_EQ(b.text("S_STRING2", 1), "800101");
    EXPECT_EQ(b.text("S_STRING11", 1), "서울특별시 강남구 테헤란로 1");
    EXPECT_EQ(b.text("S_STRING12", 1), "숨김");
    EXPECT_EQ(b.text("S_STRING13", 1), "내과");
}

TEST_F(CatalogueServiceTest, PatientSearchesByType)
{
    struct Case
    {
        const char *type, *number, *name;
        int rows;
        const char *firstNumber;
    };
    const Case cases[] = {
        {"1", "00001001", "", 1, "00001001"},
        {"3", "00001001", "", 1, "00001001"},
        {"1", "99999999", "", 0, ""},       // an unknown number
        {"1", "1001", "", 0, ""},           // numbers are not padded by the server
        {"4", "00001002", "", 1, "00001002"}, // in hospital now
        {"4", "00001001", "", 0, ""},       // discharged
        {"5", "", "김민", 1, "00001002"},
        {"2", "", "박'%", 1, "00003001"},
        // Quotes, wildcards and SQL find nothing they should not.
        {"2", "", "%", 0, ""},
        {"2", "", "김%", 0, ""},
        {"2", "", "박'_", 0, ""},
        {"2", "", "' OR 1=1 --", 0, ""},
        {"2", "", "김' OR '1'='1", 0, ""},
        {"1", "' OR 1=1 --", "", 0, ""},
        {"1", "00001001' OR '1'='1", "", 0, ""},
        {"2", "", "'; DELETE FROM patients; --", 0, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.number + c.name);
        Buffer b;
        patientQuery(b, c.type, c.number, c.name);
        const Outcome o = call("MD_PATBA_L2", b);
        ASSERT_EQ(o.rc, 0) << o.statlin;
        EXPECT_EQ(b.count("S_PATNO"), c.rows);
        if (c.rows > 0)
            EXPECT_EQ(b.text("S_PATNO"), c.firstNumber);
        else
            EXPECT_EQ(o.statlin, "조회된 자료가 없습니다.");
    }
    EXPECT_EQ(server().queryText("SELECT count(*) FROM patients"), "5");
}

TEST_F(CatalogueServiceTest, BadInputIsRefusedWithAClearStatus)
{
    struct Case
    {
        const char *service;
        std::vector<std::pair<const char *, std::string>> fields; // raw bytes
        const char *statlin; // a part of it
    };
    const std::string tooLongName(81, 'A');
    const std::string loneLeadByte = "\xB0";      // the first half of a double-byte character
    const std::string notCp949 = "\xFF\xFE\xFD";
    const std::vector<Case> cases = {
        {"MD_PATBA_L2", {{"S_TYPE1", "2"}, {"S_TYPE3", tooLongName}}, "환자명(S_TYPE3): 값이 너무 깁니다 (81바이트, 최대 80바이트)."},
        {"MD_PATBA_L2", {{"S_TYPE1", "2"}, {"S_TYPE3", "\xB1\xE8" + loneLeadByte}}, "환자명(S_TYPE3): 올바른 한글(CP949) 문자가 아닌 값"},
        {"MD_PATBA_L2", {{"S_TYPE1", "1"}, {"S_TYPE2", notCp949}}, "환자번호(S_TYPE2): 올바른 한글(CP949)"},
        {"MD_PATBA_L2", {{"S_TYPE1", "2"}}, "환자명(S_TYPE3): 값이 입력되지 않았습니다."},
        {"MD_PATBA_L2", {{"S_TYPE1", "9"}, {"S_TYPE2", "00001001"}}, "알 수 없는 조회구분"},
        {"MD_PMEDH_S1", {{"S_PATNO", "00001001"}, {"S_TYPE1", "EB1"}, {"S_TYPE2", "2011-01-01"}}, "조회시작일(S_TYPE2)"},
        {"MD_PMEDH_S1", {{"S_TYPE2", "20110101"}}, "환자번호(S_PATNO): 값이 입력되지 않았습니다."},
        {"MD_RECOD_L1", {{"S_TYPE2", "1"}, {"S_PATNO", "00001001"}, {"S_STRING1", "2015030"}}, "내원일자(S_STRING1)"},
        {"MD_RECOD_L2", {{"S_TYPE1", "MDOPRECT"}, {"S_PATNO", "00001001"}, {"S_STRING1", "20150230"}}, "내원일자(S_STRING1)"},
        {"MD_RECOD_L3", {{"S_TYPE1", "MDOPRECT"}, {"S_PATNO", "00001001"}, {"S_STRING2", std::string(101, '1')}}, "기록지 키(S_STRING2): 값이 너무 깁니다"},
        {"MD_DEPTC_L1", {{"S_TYPE1", "3"}}, "알 수 없는 코드구분"},
        {"MD_WDRMC_L1", {{"S_TYPE1", notCp949}}, "병동코드(S_TYPE1): 올바른 한글(CP949)"},
        {"MD_MCOMC_L1", {{"S_TYPE1", "X"}, {"S_CODE1", "204"}}, "알 수 없는 조회구분"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.service) + ": " + c.statlin);
        Buffer b;
        for (const auto &[field, bytes] : c.fields)
            b.setRaw(field, bytes);
        const Outcome o = call(c.service, b);
        EXPECT_EQ(o.rc, -1);
        EXPECT_EQ(o.error, TPESVCFAIL);
        EXPECT_EQ(o.userCode, 0); // shown on the status line
        EXPECT_NE(o.statlin.find(c.statlin), std::string::npos) << o.statlin;
    }
}

TEST_F(CatalogueServiceTest, VisitListFrom2011LeavesOutOlderVisits)
{
    Buffer b("FML32");
    b.set("S_PATNO", "00001001").set("S_TYPE1", "EB1").set("S_TYPE2", "20110101");
    Outcome o = call("MD_PMEDH_S1", b);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    ASSERT_EQ(b.count("S_STRING1"), 3);
    EXPECT_EQ(b.text("S_STRING1", 0), "201601051200");
    EXPECT_EQ(b.text("S_STRING1", 1), "201503021800");
    EXPECT_EQ(b.text("S_STRING1", 2), "201503021030");
    EXPECT_EQ(b.text("S_STRING2", 2), "20150310");
    EXPECT_EQ(b.text("S_STRING3", 2), "I");
    EXPECT_EQ(b.text("S_STRING5", 2), "외과");
    EXPECT_EQ(b.text("S_STRING7", 2), "7101");

    Buffer none("FML32");
    none.set("S_PATNO", "00002001").set("S_TYPE1", "EB1").set("S_TYPE2", "20110101");
    o = call("MD_PMEDH_S1", none);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    EXPECT_EQ(none.count("S_STRING1"), 0);
    EXPECT_EQ(o.statlin, "조회된 자료가 없습니다.");
}

TEST_F(CatalogueServiceTest, RecordKindsOfAVisitByDigitsOrDay)
{
    const std::pair<const char *, std::vector<std::string>> cases[] = {
        {"201503021030", {"MDOPRECT", "MDPGNOTT"}},
        {"201503021800", {"MDPGNOTT"}},
        {"20150302", {"MDOPRECT", "MDPGNOTT"}},
        {"201601051200", {}}, // a visit without records
    };
    for (const auto &[visit, codes] : cases) {
        SCOPED_TRACE(visit);
        Buffer b;
        b.set("S_TYPE2", "1").set("S_PATNO", "00001001").set("S_STRING1", visit);
        const Outcome o = call("MD_RECOD_L1", b);
        ASSERT_EQ(o.rc, 0) << o.statlin;
        ASSERT_EQ(b.count("S_STRING1"), static_cast<int>(codes.size()));
        for (std::size_t i = 0; i < codes.size(); ++i)
            EXPECT_EQ(b.text("S_STRING2", static_cast<int>(i)), codes[i]);
        if (!codes.empty()) {
            EXPECT_EQ(b.text("S_STRING1"), codes[0] == "MDOPRECT" ? "수술기록" : "경과기록");
            EXPECT_EQ(b.count("S_STRING3"), static_cast<int>(codes.size()));
        }
    }
}

TEST_F(CatalogueServiceTest, RecordListPutsTheTitleLineInSixAndColumnsAroundIt)
{
    Buffer b;
    b.set("S_TYPE1", "MDOPRECT").set("S_PATNO", "00001001").set("S_STRING1", "20150302");
    const Outcome o = call("MD_RECOD_L2", b);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    ASSERT_EQ(b.count("S_STRING1"), 1);
    EXPECT_EQ(b.text("S_STRING1"), "00001001");
    EXPECT_EQ(b.text("S_STRING2"), "20150303");
    EXPECT_EQ(b.text("S_STRING3"), "1");
    EXPECT_EQ(b.text("S_STRING4"), "20150302");
    EXPECT_EQ(b.text("S_STRING5"), "외과");
    EXPECT_EQ(b.text("S_STRING6"), "등록번호|수술일자|순번|입원일자|진료과|집도의|수술명|||");
    EXPECT_EQ(b.text("S_STRING7"), "이정훈");
    EXPECT_EQ(b.text("S_STRING8"), "충수절제술");
    EXPECT_EQ(b.count("S_STRING11"), 1);
}

TEST_F(CatalogueServiceTest, RecordContentOfAOneRowRecordGivesTheSixtyFieldsLeavingOutTheEmpty)
{
    Buffer b;
    b.set("S_TYPE1", "MDOPRECT").set("S_PATNO", "00001001").set("S_STRING2", "20150303").set("S_STRING3", "1");
    b.set("S_STRING4", "").set("S_STRING5", "");
    Outcome o = call("MD_RECOD_L3", b);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    // A field is there once when it has a value, not at all when empty (read as empty text).
    for (int f = 1; f <= 60; ++f) {
        const std::string field = "S_STRING" + std::to_string(f);
        EXPECT_EQ(b.count(field.c_str()), b.text(field.c_str()).empty() ? 0 : 1) << field;
    }
    EXPECT_EQ(b.text("S_STRING1"), "00001001");
    EXPECT_EQ(b.text("S_STRING3"), "김민준");
    EXPECT_EQ(b.text("S_STRING33"), "절차\r\n둘째 줄");
    EXPECT_EQ(b.count("S_STRING34"), 0);
    EXPECT_EQ(b.text("S_STRING60"), "끝");

    Buffer rows;
    rows.set("S_TYPE1", "MDPGNOTT").set("S_PATNO", "00001001").set("S_STRING2", "20150302").set("S_STRING3", "E");
    o = call("MD_RECOD_L3", rows);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    EXPECT_EQ(rows.count("S_STRING1"), 3);
    EXPECT_LE(rows.count("S_STRING60"), 3);
    EXPECT_EQ(rows.text("S_STRING1", 1), "b");

    Buffer none;
    none.set("S_TYPE1", "MDOPRECT").set("S_PATNO", "00001001").set("S_STRING2", "20150303").set("S_STRING3", "2");
    o = call("MD_RECOD_L3", none);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    EXPECT_EQ(none.count("S_STRING1"), 0);
}

TEST_F(CatalogueServiceTest, CodeLookups)
{
    Buffer depts;
    depts.set("S_TYPE1", "1").set("S_TYPE2", "EB1");
    ASSERT_EQ(call("MD_DEPTC_L1", depts).rc, 0);
    EXPECT_EQ(depts.count("S_CODE1"), 3);
    EXPECT_EQ(depts.text("S_CODE2", 1), "내과");

    Buffer wards;
    wards.set("S_TYPE1", "2").set("S_TYPE2", "");
    ASSERT_EQ(call("MD_DEPTC_L1", wards).rc, 0);
    EXPECT_EQ(wards.count("S_CODE1"), 2);

    Buffer rooms("FML32");
    rooms.set("S_TYPE1", "71");
    ASSERT_EQ(call("MD_WDRMC_L1", rooms).rc, 0);
    EXPECT_EQ(rooms.count("S_STRING1"), 3);
    EXPECT_EQ(rooms.text("S_STRING1", 2), "7103");

    Buffer empty("FML32");
    empty.set("S_TYPE1", "52");
    const Outcome o = call("MD_WDRMC_L1", empty);
    ASSERT_EQ(o.rc, 0);
    EXPECT_EQ(empty.count("S_STRING1"), 0);
    EXPECT_EQ(o.statlin, "조회된 자료가 없습니다.");

    Buffer codes;
    codes.set("S_TYPE1", "S").set("S_CODE1", "204").set("S_CODE2", "000").set("S_CODE3", "");
    ASSERT_EQ(call("MD_MCOMC_L1", codes).rc, 0);
    ASSERT_EQ(codes.count("S_STRING1"), 3);
    EXPECT_EQ(codes.text("S_STRING3", 1), "2");
    EXPECT_EQ(codes.text("S_STRING6", 1), "타병원의뢰");
    EXPECT_EQ(codes.text("S_STRING7", 1), "의뢰서");
    EXPECT_EQ(codes.count("S_STRING14"), 3);
    EXPECT_EQ(codes.integer("L_CNT1", 1), 7);
    EXPECT_EQ(codes.integer("L_SEQNO1", 2), 9);
    EXPECT_EQ(codes.count("L_CNT5"), 3);
}

TEST_F(CatalogueServiceTest, StoredRowsAnswerByServiceAndKeyWithEveryFieldInEveryRow)
{
    Buffer b;
    b.set("S_PATNO", "00001001").set("S_STRING1", "20150302");
    Outcome o = call("MD_ADINF_S2", b);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    EXPECT_EQ(o.statlin, "2건의 자료가 조회되었습니다.");
    ASSERT_EQ(b.count("S_STRING1"), 2);
    EXPECT_EQ(b.text("S_STRING1", 1), "둘째");
    ASSERT_EQ(b.count("L_CNT1"), 2); // the second row lacks it and gets 0
    EXPECT_EQ(b.integer("L_CNT1", 0), 3);
    EXPECT_EQ(b.integer("L_CNT1", 1), 0);

    Buffer other;
    other.set("S_PATNO", "00001001").set("S_STRING1", "20150303");
    o = call("MD_ADINF_S2", other);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    EXPECT_EQ(other.count("S_STRING1"), 0);
}

TEST_F(CatalogueServiceTest, AnIntegerKeyFieldKeysByItsNumberHoweverItIsSent)
{
    // The operating-room nursing record: the operation's number is the integer field "L_CNT1".
    import(R"({"serviceReplies": [
        {"service": "MD_OPRPT_L1", "key": {"S_TYPE2": "00001001", "S_TYPE3": "20150302", "L_CNT1": 2},
         "rows": [{"S_PATNO": "00001001", "S_STRING153": "둘째 수술"}]}]})");
    const auto ask = [&](const std::function<void(Buffer &)> &number) {
        Buffer b;
        b.set("S_TYPE1", "P").set("S_TYPE2", "00001001").set("S_TYPE3", "20150302").set("S_TYPE4", "EB1");
        number(b);
        const Outcome o = call("MD_OPRPT_L1", b);
        return std::make_pair(o, b.count("S_STRING153") > 0 ? b.text("S_STRING153") : std::string());
    };
    auto [asInteger, nurse] = ask([](Buffer &b) { b.setInteger("L_CNT1", 2); });
    ASSERT_EQ(asInteger.rc, 0) << asInteger.statlin;
    EXPECT_EQ(nurse, "둘째 수술");
    EXPECT_EQ(ask([](Buffer &b) { b.setInteger("L_CNT1", 3); }).second, "");
    // Not sent: no operation's rows.
    EXPECT_EQ(ask([](Buffer &) {}).second, "");
}

TEST_F(CatalogueServiceTest, IntegerKeyFieldsAnswerByTheirNumberAsTheClientSendsThem)
{
    const auto ask = [&](std::int32_t seq1, std::int32_t seq2) {
        Buffer b;
        b.set("S_CODE1", "00001001").set("S_CODE2", "20150302").setInteger("L_SEQNO1", seq1).setInteger("L_SEQNO2", seq2);
        const Outcome o = call("SR_SEDME_L1", b);
        EXPECT_EQ(o.rc, 0) << o.statlin;
        std::vector<long> rows;
        for (int i = 0; i < b.count("L_SEQNO3"); ++i)
            rows.push_back(b.integer("L_SEQNO3", i));
        return rows;
    };
    EXPECT_EQ(ask(1, 40012), (std::vector<long>{1, 2}));
    EXPECT_TRUE(ask(1, 40013).empty());
    EXPECT_TRUE(ask(40012, 1).empty());

    // A key field not sent finds nothing.
    Buffer absent;
    absent.set("S_CODE1", "00001001").set("S_CODE2", "20150302").setInteger("L_SEQNO1", 1);
    ASSERT_EQ(call("SR_SEDME_L1", absent).rc, 0);
    EXPECT_EQ(absent.count("S_STRING1"), 0);
}

} // namespace
} // namespace medrec::server::store::testing
