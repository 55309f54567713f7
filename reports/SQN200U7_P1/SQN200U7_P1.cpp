#include "SQN200U7_P1.h"

#include "NstRules.h"

#include "ContextValues.h"
#include "RecordPrint.h"

#include "DateText.h"
#include "HsqNstapt.h"
#include "HsqNstsgt.h"
#include "Hsqnstrqt.h"

#include "report_engine/Report.h"

#include <array>

namespace medrec::reports {

namespace {

using nst::MeasurementField;

constexpr const char *kChecked = "[√]";
constexpr const char *kUnchecked = "[  ]";
constexpr const char *kRequest = "SQ_NSTRQ_S2.";
constexpr const char *kMeasurements = "SQ_NSTSG_S1.";
const char *const kNothingFound = "조회할 자료가 없습니다.";

std::string requestField(int number)
{
    return kRequest + std::string("S_STRING") + std::to_string(number);
}
std::string replyField(int number)
{
    return "S_STRING" + std::to_string(number);
}

// A row of four boxes checked by a grade "1" .. "4" (as text: "5" or blank checks none).
Binding gradeBoxes(int field, const std::string &prefix)
{
    std::vector<std::pair<std::string, std::string>> boxes;
    for (int k = 1; k <= 4; ++k)
        boxes.emplace_back(std::to_string(k), prefix + std::to_string(k));
    return bind::choiceTexts(MeasurementField(field), std::move(boxes), kChecked, kUnchecked);
}

// A row of four boxes checked by where a number lies; a blank number checks none.
Binding thresholdBoxes(int field, const std::string &prefix, nst::BoxChoice (*choose)(const Decimal &))
{
    const std::vector<std::string> boxes = bind::numbered(prefix, 1, 4);
    const std::string name = MeasurementField(field);
    return bind::custom(boxes, {name}, [boxes, name, choose](engine::Report &r, const FieldValues &v) {
        const auto value = nst::NumberOf(v, name);
        const nst::BoxChoice chosen = value ? choose(*value) : 0;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            r.label(boxes[i]).setCaption(static_cast<int>(i) + 1 == chosen ? kChecked : kUnchecked);
    });
}

Binding requirements()
{
    std::vector<std::string> reads{MeasurementField(2), MeasurementField(3), MeasurementField(20)};
    reads.insert(reads.end(), nst::RequirementFields().begin(), nst::RequirementFields().end());
    return bind::custom({"qrlb_qcal", "qrlb_pg", "qrlb_wrtfeed"}, reads,
                        [](engine::Report &r, const FieldValues &v) {
                            const nst::Requirements req = nst::ComputeRequirements(v);
                            r.label("qrlb_qcal").setCaption(req.energyRange);
                            r.label("qrlb_pg").setCaption(req.proteinRange);
                            r.label("qrlb_wrtfeed").setCaption(req.supply);
                        });
}

// The reply fields of one assessor: name, date-time and text.
struct AssessorFields
{
    int name, dateTime, text;
};

Binding teamMemo(const std::string &memo, const std::array<AssessorFields, 4> &assessors, int widerBlocks)
{
    static const std::array<const char *, 4> roles{"의  사 ", "영양사 ", "약  사 ", "간호사 "};
    std::vector<std::string> reads;
    for (const AssessorFields &a : assessors)
        for (int field : {a.name, a.dateTime, a.text})
            reads.push_back(replyField(field));
    return bind::custom(
        {memo}, reads, [memo, assessors, widerBlocks](engine::Report &r, const FieldValues &v) {
            std::vector<nst::Assessment> blocks;
            for (std::size_t i = 0; i < assessors.size(); ++i)
                blocks.push_back({roles[i], v[replyField(assessors[i].name)],
                                  v[replyField(assessors[i].dateTime)], v[replyField(assessors[i].text)]});
            r.memo(memo).setText(nst::TeamMemoText(blocks, widerBlocks));
        });
}

// The measurement, assessment, status and requirement labels, filled only from a measurement
// row: without one they print empty and every box unchecked.
BindingTable measurementBindings()
{
    using namespace bind;
    const auto m = MeasurementField;
    return {
        text("qrlb_height", m(1)),
        text("qrlb_nkg", m(2)),
        text("qrlb_skg", m(3)),
        text("qrlb_ibw", m(4)),
        text("qrlb_bmi", m(5)),
        text("qrlb_wdweek", m(6)),
        text("qrlb_wdpercent", m(7)),
        text("qrlb_nweight", m(2)),
        text("qrlb_sweight", m(4)),
        text("qrlb_albumin", m(10)),
        gradeBoxes(8, "qrlb_wdweek"),
        gradeBoxes(12, "qrlb_take"),
        gradeBoxes(14, "qrlb_mealp"),
        gradeBoxes(15, "qrlb_bu"),
        gradeBoxes(16, "qrlb_bok"),
        gradeBoxes(17, "qrlb_pi"),
        gradeBoxes(18, "qrlb_gum"),
        flagTexts(numbered("qrlb_eatp", 1, 6), m(13), kChecked, kUnchecked),
        flagTexts(numbered("qrlb_state", 1, 9), m(19), kChecked, kUnchecked),
        thresholdBoxes(4, "qrlb_wdp", nst::IdealWeightBox),
        thresholdBoxes(10, "qrlb_albumin", nst::AlbuminBox),
        requirements(),
        text("qrlb_water", {m(30), [](const std::string &ml) { return ml + "ml/day"; }}),
    };
}

BindingTable replyBindings()
{
    using namespace bind;
    return {
        text("qrlb_Patno", value::kPanelPatNo),
        text("qrlb_patName", value::kPanelName),
        text("qrlb_Sex", value::kPanelSexAge),
        text("qrlb_Admdate", {value::record(1), common::FmtKorDate}),
        text("qrlb_reqdate", {value::record(4), common::FmtKorDate}),
        flagTexts(numbered("qrlb_req", 1, 6), requestField(2), kChecked, kUnchecked),
        text("qrmm_request", requestField(1)),
        whenSet(MeasurementField(1), measurementBindings()),
        teamMemo("QRMemo1", {{{4, 2, 1}, {8, 6, 5}, {12, 10, 9}, {16, 14, 13}}}, 2),
        teamMemo("QRMemo2", {{{20, 18, 17}, {24, 22, 21}, {28, 26, 25}, {32, 30, 29}}}, 0),
        text("QRMemo3", replyField(33)),
    };
}

} // namespace

const std::vector<FormBindings> &NutritionSupportReplyForms()
{
    static const std::vector<FormBindings> forms{{.fill = replyBindings()}};
    return forms;
}

BlockResult PrintNutritionSupportReply(RecordPrint &print)
{
    const auto cell = [&](int n) -> const std::string & { return print.cell(n); };
    services::Hsqnstrqt request;
    if (auto stop = Fetched(request.GetNstrq(cell(0), cell(1), cell(2)), Notice::status(kNothingFound)))
        return *stop;
    services::HsqNstapt reply;
    if (auto stop =
            Fetched(reply.GetNstap(cell(0), cell(1), cell(2), cell(3)), Notice::status(kNothingFound)))
        return *stop;
    services::HsqNstsgt measurements;
    const int measured = measurements.GetNstsg(cell(0), cell(1), cell(2), cell(3));
    if (measured < 0)
        return *Fetched(measured, {});

    FieldValues &values = print.values;
    values.addRow(request.results, 0, kRequest);
    values.addRow(reply.results);
    if (measured > 0)
        values.addRow(measurements.results, 0, kMeasurements);
    PrintJob job = print.sheetJob();
    // Without measurements the reply still prints; the status line says what is missing.
    if (measured == 0)
        job.status = kNothingFound;
    job.summary = {
        .meddate = cell(1), .dschdate = cell(5), .patgubun = "I", .meddept = cell(6), .chadr = cell(7)};
    return job;
}

} // namespace medrec::reports
