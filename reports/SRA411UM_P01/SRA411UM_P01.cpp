#include "SRA411UM_P01.h"

#include "FormConventions.h"
#include "NursingSheet.h"
#include "RecordContent.h"
#include "RecordPrint.h"
#include "Sedation.h"

#include "DateText.h"
#include "TextHelpers.h"

namespace medrec::reports {

namespace {

using sedation::AnswerAt;
using sedation::letterSquares;
using sedation::yesNoSquares;

constexpr const char *kAnswersA = "S_STRING8";
constexpr const char *kAnswersB = "S_STRING12";

// The history items of answer string A by position: the squares of "A" 유, "B" 무, "C" 미상.
BindingTable historyItems()
{
    struct Item
    {
        std::size_t position;
        int firstSquare;
    };
    // The squares of an item are numbered in a row; the form's columns number them out of order.
    static const Item items[] = {{2, 3},   {3, 6},   {4, 9},   {5, 12},  {6, 24},  {7, 21},  {8, 18}, {9, 15},
                                 {10, 27}, {11, 30}, {12, 33}, {13, 36}, {14, 39}, {15, 42}, {16, 45}};
    BindingTable table;
    for (const Item &item : items) {
        const auto squares = bind::numbered("Q_RadioButton", item.firstSquare, item.firstSquare + 2);
        table.push_back(letterSquares(AnswerAt(kAnswersA, item.position),
                                      {{"A", squares[0]}, {"B", squares[1]}, {"C", squares[2]}}));
    }
    return table;
}

// Answer string B gives each drug three places: taken, stopped, then the days in three.
sedation::DrugAnswer drugAt(const std::string &answers, std::size_t position)
{
    return {.taken = sheet::CharAt(answers, position) == "Y",
            .stopped = sheet::CharAt(answers, position + 1) == "Y",
            .days = DayCount(sheet::Chars(answers, position + 2, position + 4))};
}

template <std::size_t Position>
sedation::DrugAnswer drugOfB(const std::string &answers)
{
    return drugAt(answers, Position);
}

BindingTable assessmentBindings()
{
    using namespace bind;
    return Concat({
        sedation::PatientLineBindings("qrlb_SexAge", "", "S_STRING3"),
        {yesNoSquares(AnswerAt(kAnswersA, 1), "Q_RadioButton1", "Q_RadioButton2")},
        historyItems(),
        {
            text("Q_ed_Etc", "S_STRING9"),
            yesNoSquares(AnswerAt(kAnswersA, 17), "Q_rbt_allergyY", "Q_rbt_allergyN"),
            text("Q_ed_allergy", "S_STRING10"),
            square("Q_cbx_medhisN", AnswerAt(kAnswersB, 1)),
            sedation::drugRow({"Q_cbx_medhisaspi", "Q_rbt_medaspiY", "Q_rbt_medaspiN", "Q_ed_medaspi"}, kAnswersB,
                              &drugOfB<2>),
            sedation::drugRow({"Q_cbx_medhiswapa", "Q_rbt_medwapaY", "Q_rbt_medwapaN", "Q_ed_medwapa"}, kAnswersB,
                              &drugOfB<7>),
            sedation::drugRow({"Q_cbx_medhisetc", "Q_rbt_medetcY", "Q_rbt_medetcN", "Q_ed_medetc"}, kAnswersB,
                              &drugOfB<12>),
            text("Q_ed_medhisetc", "S_STRING11"),
            yesNoSquares(AnswerAt(kAnswersA, 18), "Q_RadioButton48", "Q_RadioButton49"),
            yesNoSquares(AnswerAt(kAnswersA, 19), "Q_RadioButton50", "Q_RadioButton51"),
            flagSquares(numbered("Q_CheckBox", 1, 4), kAnswersA, 20),
            letterSquares(AnswerAt(kAnswersA, 24), {{"A", "Q_RadioButton52"},
                                                    {"B", "Q_RadioButton53"},
                                                    {"C", "Q_RadioButton54"},
                                                    {"D", "Q_RadioButton55"}}),
            yesNoSquares(AnswerAt(kAnswersA, 25), "Q_RadioButton56", "Q_RadioButton57"),
            yesNoSquares(AnswerAt(kAnswersA, 26), "Q_RadioButton58", "Q_RadioButton59"),
            text("Q_mskEstmdate", {"S_STRING16", VitalSignTime}),
            text("Q_ed_bph", "S_STRING17"),
            text("Q_ed_bpl", "S_STRING18"),
            text("Q_ed_pr", "S_STRING19"),
            text("Q_ed_rr", "S_STRING20"),
            memoLine("Q_mm_Etc", "S_STRING13"),
            text("Q_ed_cdrecid1", "S_STRING14"),
            text("Q_ed_recid1", "S_STRING21"),
        },
    });
}

// The list shows the examination date as YYYY-MM-DD; the summary keeps its digits.
std::string dateDigits(const std::string &date)
{
    return date.size() == 10 && date[4] == '-' ? common::UnFmtDate(date) : date;
}

} // namespace

std::string DayCount(const std::string &characters)
{
    if (common::TrimBlanks(characters).empty())
        return {};
    return std::to_string(CodeToInt(characters));
}

std::string VitalSignTime(const std::string &digits)
{
    if (digits.empty())
        return {};
    const auto at = [&](std::size_t first, std::size_t last) { return sheet::Chars(digits, first, last); };
    return at(1, 4) + "-" + at(5, 6) + "-" + at(7, 8) + " " + at(9, 10) + ":" + at(11, 12);
}

const std::vector<FormBindings> &SedationAssessmentForms()
{
    static const std::vector<FormBindings> forms{{.fill = assessmentBindings()}};
    return forms;
}

BlockResult PrintSedationAssessment(RecordPrint &print)
{
    if (auto stop = FetchRecordRow(print, {1, 2, 3}, Notice::status("조회할 자료가 없습니다.")))
        return *stop;
    const FieldValues &values = print.values;
    sedation::AddPatientLines(print, values["S_STRING6"]);
    PrintJob job = print.sheetJob();
    job.summary = {.meddate = dateDigits(print.cell(1)),
                   .patgubun = values["S_STRING1"],
                   .meddept = values["S_STRING6"],
                   .meddateCaption = "처방일자"};
    return job;
}

} // namespace medrec::reports
