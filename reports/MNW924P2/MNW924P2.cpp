#include "MNW924P2.h"

#include "MNW921P3/GeneralSheetRules.h"

#include "ContextValues.h"
#include "FormConventions.h"
#include "NursingSheet.h"
#include "RecordPrint.h"

#include "HmdAdinfd.h"

#include "TextHelpers.h"

#include "report_engine/Report.h"

namespace medrec::reports {

namespace {

constexpr const char *kWriterName = "S_NAME9";
// The second page (the discharge plan and the teaching) came with the sheet of this day.
constexpr int kSecondPageFrom = 20110714;

// Two squares answered by one field compared whole: each is black when the field is its
// value, white otherwise.
Binding pair(Source source, std::string first, std::string firstShape, std::string second, std::string secondShape)
{
    return bind::choiceSquares(std::move(source), {{first, firstShape}, {second, secondShape}}, Others::White);
}

// "HH:MM" from the four characters at `hourAt`; a short value gives what it holds and the ":".
Binding clock(std::string label, std::string field, std::size_t hourAt)
{
    using bind::chars;
    return bind::joined(std::move(label), {{field, chars(hourAt, hourAt + 1)}, {field, chars(hourAt + 2, hourAt + 3)}},
                        ":");
}

// A delivery "C" (blanks around it allowed) is a Caesarean section; anything else is written
// as delivered and marked vaginal.
Binding deliveryType()
{
    return bind::custom({"qrlb_DelType"}, {"S_CODE12"}, [](engine::Report &r, const FieldValues &v) {
        const std::string &value = v["S_CODE12"];
        r.label("qrlb_DelType").setCaption(common::TrimBlanks(value) == "C" ? "C / S" : value + " / D");
    });
}

// The care after discharge: eleven squares, each with its text after it, from fields in pairs
// (square, text) from "S_STRING38". A square is black on "Y" and otherwise left alone.
BindingTable healthCare()
{
    BindingTable table;
    int field = 38;
    for (const char *item : {"Prevcont", "Weightcont", "Mousecont", "Suckcont", "Skincont", "Fececont", "Tubecont",
                             "Umbilcont", "Flucont", "Aftcont", "Othcont"}) {
        const std::string square = "S_STRING" + std::to_string(field++);
        const std::string text = "S_STRING" + std::to_string(field++);
        table.push_back(bind::choiceSquares(square, {{"Y", std::string("qrs_") + item}}));
        table.push_back(bind::text(std::string("qrlb_") + item, text));
    }
    return table;
}

BindingTable page1Bindings()
{
    using namespace bind;
    const std::string admDate = value::record(1);
    return Concat({
        sheet::HeaderTable(),
        {
            text("qrlb_Frecdate", "S_NAME13"),
            text("QRLabel190", kWriterName),
            // 1. 신생아 관련 정보
            text("qrlb_BornDateY", {"S_CODE7", chars(1, 4)}),
            text("qrlb_BornDateM", {"S_CODE7", chars(5, 6)}),
            text("qrlb_BornDateD", {"S_CODE7", chars(7, 8)}),
            clock("qrlb_BornDateH", "S_CODE7", 9),
            text("qrlb_AdmDateY", {admDate, chars(1, 4)}),
            text("qrlb_AdmDateM", {admDate, chars(5, 6)}),
            text("qrlb_AdmDateD", {admDate, chars(7, 8)}),
            clock("qrlb_AdmDateH", "S_NAME10", 1),
            joined("qrlb_Dgp", {"S_CODE8", "S_CODE9"}, " 주 "),
            text("qrlb_Weight", "S_CODE10"),
            pair("S_CODE11", "M", "qrs_sexM", "F", "qrs_sexF"),
            deliveryType(),
            text("qrlb_Apgar1", "S_CODE13"),
            text("qrlb_Apgar5", "S_CODE14"),
            text("qrlb_Parity", "S_CODE15"),
            flagSquares(numbered("qrs_DelMark", 1, 8), "S_CODE16"),
            text("qrlb_DelMark11", "S_CODE17"),
            text("qrlb_DelMark22", "S_CODE18"),
            text("qrlb_DelMark33", "S_CODE19"),
            text("qrlb_DelMark55", "S_CODE20"),
            text("qrlb_DelMark66", "S_CODE21"),
            text("qrlb_icdname", "S_NAME11"),
            memoLine("qrme_Remark", "S_CODE22"),
            // 2. 입원시 간호
            pair("S_CODE23", "N", "qrs_hyn1", "Y", "qrs_hyn2"),
            flagSquares(numbered("qrs_stlcnt", 1, 4), "S_CODE24"),
            pair("S_CODE26", "N", "qrs_Oxygenyn1", "Y", "qrs_Oxygenyn2"),
            text("qrlb_Oxygen", "S_CODE27"),
            flagSquares(numbered("qrs_stlcol", 1, 4), "S_CODE25"),
            square("qrs_TempKind1", "S_CODE28"),
            text("qrlb_BodyTemp", "S_CODE29"),
            text("qrlb_Hrtbt", "S_CODE30"),
            text("qrlb_Resp", "S_STRING1"),
            text("qrlb_Height", "S_STRING2"),
            text("qrlb_HeadSize", "S_STRING3"),
            text("qrlb_ChstSize", "S_STRING4"),
            text("qrlb_BodySize", "S_STRING5"),
            pair("S_STRING6", "Y", "qrs_LavelYn1", "N", "qrs_LavelYn2"),
            pair("S_STRING7", "Y", "qrs_eyeyn1", "N", "qrs_eyeyn2"),
            square("qrs_vitamin", "S_STRING8"),
            square("qrs_vaccine", "S_STRING9"),
            text("qrlb_Hbct", "S_STRING10"),
            general_sheet::broughtMedication("S_STRING71"),
            // 3. 신체사정
            flagSquares(numbered("qrs_cryrate", 1, 4), "S_STRING11"),
            flagSquares(numbered("qrs_Respyn", 1, 10), "S_STRING12"),
            text("qrlb_RespETC", "S_STRING13"),
            flagSquares(numbered("qrs_CircYN", 1, 6), "S_STRING14"),
            text("qrlb_CircEtc", "S_STRING15"),
            flagSquares(numbered("qrs_SknunYN", 1, 11), "S_STRING16"),
            text("qrlb_SknunSt", "S_STRING17"),
            flagSquares(numbered("qrs_headair", 1, 4), "S_STRING19"),
            flagSquares(numbered("qrs_headfr", 1, 3), "S_STRING18"),
            text("qrlb_HeadETC", "S_STRING20"),
            flagSquares(numbered("qrs_faceyn", 1, 6), "S_STRING21"),
            text("qrlb_FaceETC", "S_STRING22"),
            text("qrlb_NabelVs1", "S_STRING23"),
            text("qrlb_NabelVs2", "S_STRING24"),
            pair("S_STRING25", "Y", "qrs_bloodyn1", "N", "qrs_bloodyn2"),
            flagSquares(numbered("qrs_uriyn", 1, 6), "S_STRING26"),
            text("qrlb_UriETC", "S_STRING27"),
            flagSquares(numbered("qrs_limyn", 1, 5), "S_STRING28"),
            text("qrlb_LimSt1", "S_STRING29"),
            text("qrlb_LimSt2", "S_STRING30"),
            pair("S_NAME1", "L", "qrs_limynlr1", "R", "qrs_limynlr2"),
            flagSquares(numbered("qrs_diaref", 1, 5), "S_NAME2"),
            pair("S_NAME3", "L", "qrs_diarefas1", "R", "qrs_diarefas2"),
            flagSquares(numbered("qrs_catref", 1, 5), "S_NAME4"),
            pair("S_NAME5", "L", "qrs_catrefas1", "R", "qrs_catrefas2"),
            flagSquares(numbered("qrs_pumref", 1, 4), "S_NAME6"),
            flagSquares(numbered("qrs_lactref", 1, 4), "S_NAME7"),
            text("qrlb_DfrmETC", "S_NAME8"),
        }});
}

BindingTable page2Bindings()
{
    using namespace bind;
    return Concat({
        {
            text("qrlb_Nurse", kWriterName),
            // 4. 초기퇴원계획
            numberSquares("S_STRING31", {{1, "qrs_Patstay1"}, {2, "qrs_Patstay2"}, {3, "qrs_Patstay3"}}),
            numberSquares("S_STRING32", {{1, "qrs_Dwell1"}, {2, "qrs_Dwell2"}}),
            numberSquares("S_STRING33", {{1, "qrs_Nursmen1"}, {2, "qrs_Nursmen2"}}),
            flagSquares(numbered("qrs_Eat", 1, 5), "S_STRING34"),
            text("qrlb_Eatoth", "S_STRING35"),
            flagSquares(numbered("qrs_Bath", 1, 3), "S_STRING36"),
            text("qrlb_Bathoth", "S_STRING37"),
        },
        healthCare(),
        {
            flagSquares(numbered("qrs_Dismove", 1, 3), "S_STRING60"),
            // 5. 입원시 간호 및 교육 내용
            flagSquares(numbered("qrs_Article", 1, 3), "S_STRING61"),
            flagSquares(numbered("qrs_Meet", 1, 3), "S_STRING62"),
            flagSquares(numbered("qrs_Consult", 1, 4), "S_STRING63"),
            choiceSquares("S_STRING64", {{"Y", "qrs_Brstmilk1"}}),
            flagSquares(numbered("qrs_Disprod", 1, 4), "S_STRING65"),
            flagSquares(numbered("qrs_Dispaper", 1, 4), "S_STRING66"),
            choiceSquares("S_STRING67", {{"Y", "qrs_Hosinfo1"}}),
        }});
}

} // namespace

bool NewbornSheetHasSecondPage(const std::string &admDate)
{
    // Read as the toolkit reads a whole number: no text is not one either.
    if (common::TrimBlanks(admDate).empty())
        throw CodeConversionError(admDate);
    return CodeToInt(admDate) >= kSecondPageFrom;
}

const std::vector<FormBindings> &NewbornNursingSheetForms()
{
    static const std::vector<FormBindings> forms{{.fill = page1Bindings()}, {.fill = page2Bindings()}};
    return forms;
}

BlockResult PrintNewbornNursingSheet(RecordPrint &print)
{
    services::HmdAdinfd sheetData;
    if (auto stop = sheet::FetchedRow(print, sheetData.GetNbinf(print.cell(0), print.cell(1), ""), sheetData.newborn,
                                      sheet::kNoRowsFound))
        return *stop;
    // Decided before any page is made: a date that is not a number stops the print whole.
    const bool secondPage = NewbornSheetHasSecondPage(print.cell(1));

    sheet::PanelHeader(print, print.values["S_CODE1"], print.cell(3), print.cell(4));

    PrintJob job;
    print.addReport(job, 0);
    if (secondPage)
        print.addReport(job, 1);
    job.summary = sheet::Summary(print, 6, 2, 5);
    return job;
}

} // namespace medrec::reports
