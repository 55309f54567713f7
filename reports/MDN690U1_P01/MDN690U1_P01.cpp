#include "MDN690U1_P01.h"

#include "ContextValues.h"
#include "PatientHeader.h"
#include "RecordContent.h"
#include "RecordPrint.h"
#include "StagedRows.h"
#include "TransfusionSlots.h"

#include "TextHelpers.h"

#include "report_engine/Report.h"

#include <array>

namespace medrec::reports {

namespace {

constexpr const char *kDetailBand = "band_Detail";

// The content field each list column 1 .. 59 takes, and whether it is flattened.
struct ListColumn
{
    int field;
    bool flattened = false;
};

const std::vector<ListColumn> &listColumns()
{
    static const std::vector<ListColumn> columns = [] {
        std::vector<ListColumn> c{{4},        {19},       {5},  {22}, {6}, {7},        {8}, {9},
                                  {10, true}, {23, true}, {13}, {8},  {9}, {16, true}, {1}, {21}};
        for (int field = 24; field <= 31; ++field) // the eight observations
            c.push_back({field, true});
        for (int field : {2, 3, 11, 12, 17, 18, 1, 20})
            c.push_back({field});
        for (int field = 32; field <= 47; ++field) // the observations' answers
            c.push_back({field});
        c.push_back({57});
        c.push_back({58});
        for (int field = 48; field <= 56; ++field) // the observations' "기타" texts
            c.push_back({field});
        return c;
    }();
    return columns;
}

std::string col(int n)
{
    return value::col(n);
}

Binding transfusers(std::string label, int first, int second)
{
    return bind::custom({label}, {col(first), col(second)},
                        [label, first, second](engine::Report &r, const FieldValues &v) {
                            r.label(label).setCaption(Transfusers(v[col(first)], v[col(second)]));
                        });
}

Binding answer(std::string label, int column)
{
    return bind::custom({label}, {col(column)}, [label, column](engine::Report &r, const FieldValues &v) {
        r.label(label).setCaption(AnswerText(v[col(column)]));
    });
}

BindingTable fillBindings()
{
    return HeaderBindings(
        {"qrlb_Patno", "qrlb_Patname", "qrl_ci", "qrlb_SexAge", "qrlb_Deptnm", "qrl_chadr", "qrlb_WardNo"});
}

// One unit of blood from its staged row.
BindingTable detailBindings()
{
    using namespace bind;
    return {
        text("qrlb_No", col(0)),
        text("qrlb_Date", col(1)),
        text("qrlb_BloodNm", col(2)),
        text("qrlb_BloodNo", col(3)),
        text("qrlb_delitime", col(4)),
        text("qrlb_RHABO", col(5)),
        text("qrlb_Gttmin", col(16)),
        text("qrlb_Start", col(6)),
        text("qrlb_Remark", col(9)),
        text("qrlb_End", col(11)),
        text("qrlb_Remark2", col(14)),
        transfusers("qrlb_BldNrs1", 7, 8),
        // The transfusers at the end, never the end time in their place.
        transfusers("qrlb_BldNrs2", 12, 13),
        check("qrlb_check1", col(27), "∨"),
        check("qrlb_check2", col(28), "∨"),
        answer("qrlb_stat3", 33),
        answer("qrlb_stat4", 34),
        ObservationSlots(kDetailBand),
    };
}

} // namespace

std::vector<std::string> TransfusionRow(const RecordContent &content, int row)
{
    std::vector<std::string> cells{std::to_string(row + 1)};
    for (const ListColumn &c : listColumns()) {
        const std::string &text = content.value(c.field, row);
        cells.push_back(c.flattened ? common::JoinLines(text) : text);
    }
    return cells;
}

std::string Transfusers(const std::string &first, const std::string &second)
{
    return second.empty() ? first : first + "/" + second;
}

const std::vector<FormBindings> &TransfusionRecordForms()
{
    static const std::vector<FormBindings> forms{{.fill = fillBindings(), .detail = detailBindings()}};
    return forms;
}

BlockResult PrintTransfusionRecord(RecordPrint &print)
{
    auto content = FetchRecordContent(print, {1, 4, 7}, Notice::status("조회된 자료가 없습니다."));
    if (!content)
        return content.stop();

    common::GridData &list = print.context.scratch.list;
    list.setColCount(kTransfusionColumns);
    list.setRowCount(list.fixedRows() + content->rows());
    for (int i = 0; i < content->rows(); ++i)
        list.setRowCells(list.fixedRows() + i, TransfusionRow(*content, i));

    PatientHeader header = PatientHeader::fromPanels(print.context.patient);
    header.dept = print.cell(7);
    header.doctor = print.cell(6);
    header.ward = print.cell(3);
    header.addTo(print.values);

    PrintJob job;
    FeedDetailRows(print.addReport(job), list, print.detail());
    job.summary = print.summaryOf({.meddate = 1, .dschdate = 2, .patgubun = 4, .meddept = 7, .chadr = 5});
    return job;
}

} // namespace medrec::reports
