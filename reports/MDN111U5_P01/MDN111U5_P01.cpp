#include "MDN111U5_P01.h"

#include "ContextValues.h"
#include "PatientHeader.h"
#include "RecordPrint.h"

#include "DateText.h"
#include "HmdObdept.h"

namespace medrec::reports {

namespace {

// Field n of the record's row, "S_STRING<n>".
std::string field(int n) { return "S_STRING" + std::to_string(n); }

Source date(int n) { return {field(n), common::FmtDate}; }
Source dateTime(int n) { return {field(n), common::FmtDateTimeHM}; }

// A group of squares, square k filled when character k of the field is "Y".
Binding squares(std::vector<std::string> shapes, int n) { return bind::flagSquares(std::move(shapes), field(n)); }
// A pair of squares prefix1 and prefix2 ("(+)" and "(-)", "YES" and "NO" ...).
Binding pair(const std::string &prefix, int n) { return squares({prefix + "1", prefix + "2"}, n); }

// The menstrual cycle codes. A code outside the table prints nothing.
Binding cycle(std::string label, int n)
{
    return bind::codeText(std::move(label), field(n), {{0, ""}, {1, "regular"}, {2, "irregular"}});
}

BindingTable historyBindings()
{
    using namespace bind;
    return Concat({
        HeaderBindings({.patNo = "qrl_Hospno", .name = "qrl_patname"}),
        {
            text("qrl_age", field(3)),
            // The record holds no religion: the label prints empty.
            literal("qrl_religion", ""),
            text("qrl_admdate", {value::record(1), common::FmtDate}),
            text("qrl_lmp", date(4)),
            cycle("qrl_pmp", 5),
            text("qrl_edc", date(6)),
            text("qrl_gestwks", field(116)),
            text("qrl_laborTm", dateTime(7)),
            text("qrl_interval", field(9)),
            text("qrl_duration", field(10)),
            pair("qrs_fhrshow", 13),
            pair("qrs_fhrbleed", 14),
            text("qrl_contract", field(8)),
            text("qrl_charact", field(11)),
            text("qrl_fhr", field(12)),
            pair("qrs_membranes", 15),
            text("qrl_memdate", dateTime(16)),
            pair("qrs_bldrh", 17),
            text("qrl_bldabo", field(18)),
            text("qrl_xraydate", date(19)),
            text("qrl_xrayrslt", field(20)),
            text("qrl_prewt", field(22)),
            pair("qrs_prenav", 23),
            pair("qrs_prenhyper", 24),
            pair("qrs_prenhache", 25),
            pair("qrs_pren", 26),
            pair("qrs_prenbleed", 27),
            memoLine("qrm_othcomp", field(28)),
            text("qrl_pastpara", field(29)),
            text("qrl_pastal", field(30)),
            pair("qrs_pastherb", 31),
            pair("qrs_pastiron", 32),
            text("qrl_menache", field(33)),
            text("qrl_marriage", field(34)),
            cycle("qrl_menscycl", 35),
            text("qrl_mensintv", field(36)),
            text("qrl_mensdula", field(37)),
            text("qrl_mensamt", field(38)),
            memoLine("qrm_surghis", field(39)),
            memoLine("qrm_fmhis", field(40)),
            text("qrl_weight", field(41)),
            squares(numbered("qrs_bodytyp", 1, 3), 42),
            text("qrl_head", field(43)),
            text("qrl_ears", field(44)),
            text("qrl_nosnthr", field(45)),
            text("qrl_mouth", field(46)),
            text("qrl_teeth", field(47)),
            pair("qrs_denture", 48),
            text("qrl_thyroid", field(49)),
            text("qrl_breast", field(50)),
            text("qrl_nipple", field(51)),
            text("qrl_lung", field(52)),
            text("qrl_heart", field(53)),
            text("qrl_abdomen", field(54)),
            text("qrl_bacnspn", field(55)),
            text("qrl_hof", field(56)),
            text("qrl_present", field(57)),
            text("qrl_position", field(58)),
            squares(numbered("qrs_fetal", 1, 4), 60),
            text("qrl_fethfhr", field(59)),
            // The first impression line is S61; the other four follow from S117.
            text("qrl_fetalimp1", field(61)),
            text("qrl_fetalimp2", field(117)),
            text("qrl_fetalimp3", field(118)),
            text("qrl_fetalimp4", field(119)),
            text("qrl_fetalimp5", field(120)),
        }});
}

// The infants and their breathing: three numbered lines, the first from the old fields, the
// second and third from the fields added later.
BindingTable infantBindings()
{
    using namespace bind;
    struct Line
    {
        std::string sexBoy, sexGirl, weight, abnormal, respSpontaneous, respAssisted, oxygen;
        int sex, weightField, abnormalField, resp, oxygenField;
    };
    const Line lines[] = {
        {"qrs_infantsx1", "qrs_infantsx2", "qr1_infantwt", "qr1_infantabn", "qrs_respir1", "qrs_respir2",
         "qrl_respiro2", 86, 87, 88, 89, 90},
        {"qrs_infantsx1B", "qrs_infantsx2B", "qr1_infantwt2", "qr1_infantabn2", "qrs_respir1b", "qrs_respir2b",
         "qrl_respiro2b", 130, 132, 134, 136, 138},
        {"qrs_infantsx1C", "qrs_infantsx2C", "qr1_infantwt3", "qr1_infantabn3", "qrs_respir1c", "qrs_respir2c",
         "qrl_respiro2c", 131, 133, 135, 137, 139},
    };
    BindingTable table;
    for (const Line &line : lines) {
        table.push_back(squares({line.sexBoy, line.sexGirl}, line.sex));
        table.push_back(text(line.weight, field(line.weightField)));
        table.push_back(text(line.abnormal, field(line.abnormalField)));
        table.push_back(squares({line.respSpontaneous, line.respAssisted}, line.resp));
        table.push_back(text(line.oxygen, field(line.oxygenField)));
    }
    return table;
}

// The Apgar grid's value rows as delivered: heart rate, respiratory effort, muscle tone,
// response to the catheter, colour, total. The five-minute total is S140.
BindingTable apgarBindings()
{
    const char *items[] = {"hr", "re", "mt", "rcn", "col", "to"};
    const int oneMinute[] = {94, 95, 96, 97, 98, 99};
    const int fiveMinutes[] = {122, 123, 124, 125, 126, 140};
    BindingTable table;
    for (std::size_t i = 0; i < std::size(items); ++i) {
        table.push_back(bind::text("qrl_" + std::string(items[i]) + "1", field(oneMinute[i])));
        table.push_back(bind::text("qrl_" + std::string(items[i]) + "2", field(fiveMinutes[i])));
    }
    return table;
}

BindingTable deliveryBindings()
{
    using namespace bind;
    return Concat({
        HeaderBindings({.patNo = "QRLabel241", .name = "QRLabel237"}),
        {
            text("qrl_bydr", field(62)),
            text("qrl_assistnr", field(63)),
            joined("qrl_delvdate", {dateTime(64), dateTime(128), dateTime(129)}, " / "),
            text("qrl_plcdelvt", dateTime(65)),
            pair("qrs_prepscrb", 66),
            pair("qrs_prepdrap", 67),
            pair("qrs_prepcath", 68),
            text("qrl_preppos", field(69)),
            text("qrl_prepstat", field(70)),
            text("qrl_prepdila", field(71)),
            pair("qrs_anesth", 72),
            text("qrl_anedr", field(73)),
            pair("qrs_delvspon", 74),
            text("qrl_delvtxt", field(75)),
            pair("qrs_plaspon", 76),
            text("qrl_placond", {field(77), trimmed()}),
            text("qrl_bldloss", field(79)),
            text("qrl_epst", field(80)),
            text("qrl_lacerat", field(81)),
            memoLine("qrm_reptpsut", field(82)),
            text("qrl_meddelv", field(83)),
            text("qrl_pdelvfund", field(121)),
            text("qrl_pdelvbp", field(84)),
            text("qrl_pdelvp", field(85)),
        },
        infantBindings(),
        {
            pair("qrs_imcarecd", 91),
            pair("qrs_imcareye", 92),
            pair("qrs_imcarbph", 93),
        },
        apgarBindings(),
        {
            text("qrl_discdate", dateTime(100)),
            pair("qrs_discuper", 101),
            text("qrl_discomp1", field(102)),
            text("qrl_dsbreast", field(103)),
            text("qrl_dsvipple", field(104)),
            pair("qrs_nursing", 105),
            pair("qrs_utinvol", 106),
            text("qrl_utinvlab", field(107)),
            pair("qrs_lochiana", 108),
            text("qrl_lochiaab", field(109)),
            text("qrl_condperi", field(110)),
            text("qrl_condepis", field(111)),
            text("qrl_discomp2", field(112)),
            text("qrl_remark", field(113)),
            pair("qrs_adfmyn", 114),
            text("qrl_signdr", field(115)),
        },
    });
}

} // namespace

const std::vector<FormBindings> &ObstetricRecordForms()
{
    static const std::vector<FormBindings> forms{{.fill = historyBindings()}, {.fill = deliveryBindings()}};
    return forms;
}

BlockResult PrintObstetricRecord(RecordPrint &print)
{
    services::HmdObdept data;
    if (auto stop = Fetched(data.GetObdep(print.cell(0), common::FmtDate(print.cell(1))),
                            Notice::status("조회할 자료가 없습니다.")))
        return *stop;
    print.values.addRow(data.results);
    PatientHeader::fromPanels(print.context.patient).addTo(print.values);

    PrintJob job = print.sheetJob();
    job.summary = {.meddate = print.cell(1),
                   .dschdate = print.cell(2),
                   .patgubun = print.cell(5),
                   .meddept = print.cell(3),
                   .chadr = print.cell(4)};
    return job;
}

} // namespace medrec::reports
