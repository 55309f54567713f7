#include "MDN634U2_P01.h"

#include "ContextValues.h"
#include "FormConventions.h"
#include "PatientHeader.h"
#include "RecordPrint.h"

#include "DateText.h"
#include "HmdBdinft.h"
#include "TextHelpers.h"

#include "report_engine/Report.h"

#include <array>

namespace medrec::reports {

namespace {

// The mark a box prints; a box that does not apply is emptied.
constexpr const char *kMark = "∨";

void markBox(engine::Report &r, const std::string &box, bool checked) { r.label(box).setCaption(checked ? kMark : ""); }

// The pair rule: "N" keeps the first box ("무"), anything else, empty text included, the
// second ("유").
Binding pairBoxes(std::string field, std::string first, std::string second)
{
    return bind::custom({first, second}, {field}, [=](engine::Report &r, const FieldValues &v) {
        const bool no = v[field] == "N";
        markBox(r, first, no);
        markBox(r, second, !no);
    });
}

// The set rule: each box is marked when the value is its code; no box for any other value.
Binding setBoxes(Source source, std::vector<std::pair<std::string, std::string>> codeToBox)
{
    std::vector<std::string> boxes;
    for (const auto &[code, box] : codeToBox)
        boxes.push_back(box);
    return bind::custom(std::move(boxes), {source.field}, [=](engine::Report &r, const FieldValues &v) {
        const std::string value = source.read(v);
        for (const auto &[code, box] : codeToBox)
            markBox(r, box, value == code);
    });
}

// Character k of the flags marks box k when it is "Y"; a missing character marks nothing.
Binding flagBoxes(std::string field, std::vector<std::string> boxes)
{
    return bind::custom(boxes, {field}, [=](engine::Report &r, const FieldValues &v) {
        for (std::size_t k = 0; k < boxes.size(); ++k)
            markBox(r, boxes[k], bind::chars(k + 1, k + 1)(v[field]) == "Y");
    });
}

// Past history: "Y" first marks 무 alone; otherwise each disease is marked unless its
// character says "N".
Binding pastHistory()
{
    const std::string field = "S_CODE16";
    std::vector<std::string> boxes = bind::numbered("qrlb_dzh", 1, 9);
    std::vector<std::string> components = boxes;
    components.insert(components.begin(), "qrlb_none");
    return bind::custom(std::move(components), {field}, [=](engine::Report &r, const FieldValues &v) {
        const std::string &flags = v[field];
        const bool none = bind::chars(1, 1)(flags) == "Y";
        markBox(r, "qrlb_none", none);
        for (std::size_t k = 0; k < boxes.size(); ++k)
            markBox(r, boxes[k], !none && bind::chars(k + 2, k + 2)(flags) != "N");
    });
}

// Cord around the neck and meconium staining: "N" marks 무; "Y" marks 유 and shows "TYPE:"
// with the detail; every label not so set is emptied.
Binding typedPair(std::string field, std::string detailField, std::array<std::string, 4> labels)
{
    const auto &[no, yes, typeLabel, detailLabel] = labels;
    return bind::custom({no, yes, typeLabel, detailLabel}, {field, detailField},
                        [=](engine::Report &r, const FieldValues &v) {
                            const std::string &value = v[field];
                            markBox(r, no, value == "N");
                            markBox(r, yes, value == "Y");
                            r.label(typeLabel).setCaption(value == "Y" ? "TYPE:" : "");
                            r.label(detailLabel).setCaption(value == "Y" ? v[detailField] : "");
                        });
}

// One Apgar item: its label and field at one and at five minutes, and what scores 0, 1 and 2
// print as. The fields are not in item order; they are as the record stores them.
struct ApgarItem
{
    const char *oneMinuteLabel, *oneMinuteField, *fiveMinuteLabel, *fiveMinuteField;
    std::array<const char *, 3> texts;
};

constexpr ApgarItem kApgar[] = {
    {"qrlb_Apgar11", "S_NAME30", "qrlb_Apgar21", "S_STRING3", {"없음", "100/분이하", "101/분이상"}},    // heart rate
    {"qrlb_Apgar12", "S_DATE2", "qrlb_Apgar22", "S_STRING5", {"늘어짐", "사지를 약간 구부림", "잘움직임"}}, // muscle tone
    {"qrlb_Apgar13", "S_DATE1", "qrlb_Apgar23", "S_STRING4", {"없음", "느리고불규칙", "잘울음"}},        // breathing
    {"qrlb_Apgar14", "S_DATE4", "qrlb_Apgar24", "S_STRING7", {"청색/창백", "사지창백,몸은분홍", "전신분홍"}}, // skin colour
    {"qrlb_Apgar15", "S_DATE3", "qrlb_Apgar25", "S_STRING6", {"없음", "얼굴을 찡그림", "기침,재채기"}},    // reflex
};

// The item's text for its score; a score outside 0 .. 2, or none, prints nothing.
Binding apgarItem(const char *label, const char *field, const std::array<const char *, 3> &texts)
{
    return bind::codeText(label, field, {{0, texts[0]}, {1, texts[1]}, {2, texts[2]}});
}

// The sum of the five scores as given. An item not scored counts 0 at one minute as at five;
// a score that is not a number stops the print naming its field.
Binding apgarTotal(std::string label, const char *ApgarItem::*field)
{
    std::vector<std::string> fields;
    for (const ApgarItem &item : kApgar)
        fields.push_back(item.*field);
    return bind::custom({label}, fields, [=](engine::Report &r, const FieldValues &v) {
        int total = 0;
        for (const std::string &f : fields)
            if (!common::Trimmed(v[f]).empty())
                total += CodeToInt(v[f], f);
        r.label(label).setCaption(std::to_string(total));
    });
}

BindingTable apgarBindings()
{
    BindingTable table;
    for (const ApgarItem &item : kApgar) {
        table.push_back(apgarItem(item.oneMinuteLabel, item.oneMinuteField, item.texts));
        table.push_back(apgarItem(item.fiveMinuteLabel, item.fiveMinuteField, item.texts));
    }
    table.push_back(apgarTotal("qrlb_babyscore", &ApgarItem::oneMinuteField));
    table.push_back(apgarTotal("qrlb_babyscore5", &ApgarItem::fiveMinuteField));
    return table;
}

// A date shown only when its "unknown" flag is not "Y".
Binding dateUnlessUnknown(std::string label, std::string field, std::string unknownFlag)
{
    return bind::custom({label}, {field, unknownFlag}, [=](engine::Report &r, const FieldValues &v) {
        r.label(label).setCaption(v[unknownFlag] == "Y" ? std::string() : common::FmtDate(v[field]));
    });
}

Transform followedBy(std::string suffix)
{
    return [suffix = std::move(suffix)](const std::string &value) { return value + suffix; };
}

BindingTable motherBindings()
{
    using namespace bind;
    return {
        text("qrlb_admdate", {value::record(1), common::FmtKorDate}),
        text("qrlb_telno1", "S_CODE6"),
        text("qrlb_telno2", "S_CODE7"),
        text("qrlb_address", "S_CODE5"),
        text("qrlb_age", "S_CODE2"),
        pairBoxes("S_CODE8", "qrlb_marryyn1", "qrlb_marryyn2"),
        text("qrlb_religion", "S_CODE14"),
        text("qrlb_husrel", "S_CODE15"),
        text("qrlb_husname", "S_STRING9"),
        custom({"qrlb_bp"}, {"S_CODE9", "S_CODE10"}, [](engine::Report &r, const FieldValues &v) {
            r.label("qrlb_bp").setCaption(common::Trimmed(v["S_CODE9"] + "/" + v["S_CODE10"]));
        }),
        text("qrlb_pulse", {"S_CODE11", trimmed()}),
        text("qrlb_bt", {"S_CODE12", trimmed()}),
        text("qrlb_fht", {"S_CODE13", trimmed()}),
        pastHistory(),
        text("qrlb_prewgt", "S_CODE17"),
        text("qrlb_Aftwgt", "S_CODE18"),
        text("qrlb_Height", "S_CODE19"),
        text("qrlb_bldabo", "S_CODE20"),
        text("qrlb_rh", "S_CODE21"),
        text("qrlb_husbld", "S_CODE22"),
        text("qrlb_husrh", "S_CODE23"),
        dateUnlessUnknown("qrlb_lmp", "S_CODE24", "S_STRING1"),
        dateUnlessUnknown("qrlb_edc", "S_CODE25", "S_STRING2"),
        text("qrlb_dgpwks", "S_CODE26"),
        text("qrlb_dgpday", "S_CODE27"),
        text("qrlb_full", "S_CODE28"),
        text("qrlb_pre", "S_CODE29"),
        text("qrlb_abort", "S_CODE30"),
        text("qrlb_lineb", "S_NAME1"),
        pairBoxes("S_NAME3", "qrlb_amnio1", "qrlb_amnio2"),
        flagBoxes("S_NAME2", numbered("qrlb_PrgSick", 1, 6)),
        text("qrlb_prgsketc", "S_DATE18"),
        pairBoxes("S_NAME4", "qrlb_xray1", "qrlb_xray2"),
        text("qrlb_xray", "S_NAME5"),
        pairBoxes("S_NAME6", "qrlb_prgdrg1", "qrlb_prgdrg2"),
        text("qrlb_prgdrg", "S_NAME7"),
        pairBoxes("S_NAME8", "qrlb_prgsmk1", "qrlb_prgsmk2"),
        text("qrlb_prgsmk", "S_NAME9"),
        pairBoxes("S_NAME10", "qrlb_prgdrk1", "qrlb_prgdrk2"),
        text("qrlb_prgdrk", "S_NAME11"),
        pairBoxes("S_NAME12", "qrlb_alg1", "qrlb_alg2"),
        text("qrlb_alg", "S_NAME13"),
        pairBoxes("S_NAME14", "qrlb_dimthd1", "qrlb_dimthd2"),
        text("qrlb_dimthd", "S_NAME15"),
        text("qrlb_etc", "S_NAME16"),
    };
}

BindingTable deliveryBindings()
{
    using namespace bind;
    return {
        pairBoxes("S_NAME17", "qrlb_dew1", "qrlb_dew2"),
        pairBoxes("S_NAME18", "qrlb_rom1", "qrlb_rom2"),
        pairBoxes("S_NAME19", "qrlb_pain1", "qrlb_pain2"),
        text("qrlb_painper", "S_NAME20"),
        pairBoxes("S_NAME21", "qrlb_inborn1", "qrlb_inborn2"),
        text("qrlb_inborn", "S_NAME22"),
    };
}

BindingTable newbornBindings()
{
    using namespace bind;
    return {
        literal("qrlb_baby1", "아기 1"),
        text("qrlb_borntime", {"S_NAME23", common::FmtDateTimeHMS}),
        setBoxes("S_NAME24", {{"M", "qrlb_babysex1"}, {"F", "qrlb_babysex2"}}),
        text("qrlb_babyWeight", "S_NAME25"),
        text("qrlb_Deltype", {"S_DATE12", DeliveryTypeText}),
        setBoxes("S_DATE5", {{"N", "qrlb_revive1"}, {"Y", "qrlb_revive2"}}),
        setBoxes("S_DATE6", {{"N", "qrlb_oxigen1"}, {"Y", "qrlb_oxigen2"}}),
        setBoxes("S_DATE7", {{"N", "qrlb_intu1"}, {"Y", "qrlb_intu2"}}),
        text("qrlb_Maturity", {"S_STRING8", followedBy(" / D")}),
        typedPair("S_NAME26", "S_NAME27", {"qrlb_neck1", "qrlb_neck2", "qrlb_necktype", "qrlb_neck"}),
        typedPair("S_NAME28", "S_NAME29", {"qrlb_stlcol1", "qrlb_stlcol2", "qrlb_Type", "qrlb_stlcol"}),
        text("qrlb_bodychk", "S_DATE8"),
        setBoxes("S_DATE9", {{"NUR", "qrlb_nur"}, {"NICU", "qrlb_nicu"}, {"PRI", "qrlb_pri"}, {"ABORTION", "qrlb_abortion"}}),
        text("qrlb_delvdr", "S_DATE16"),
        text("qrlb_delvnur", "S_DATE15"),
    };
}

} // namespace

std::string DeliveryTypeText(const std::string &type)
{
    const std::string trimmed = common::Trimmed(type);
    if (trimmed == "P-C" || trimmed == "R-C")
        return type + " / S";
    return type + (trimmed == "V" ? " BAC" : " / D");
}

const std::vector<FormBindings> &DeliveryRecordForms()
{
    static const std::vector<FormBindings> forms{{.fill = Concat({
        HeaderBindings({.patNo = "qrlb_Patno", .name = "qrlb_patname", .resNo = "qrlb_citizen",
                        .sexAge = "qrlb_patsex", .dept = "qrlb_meddept"}),
        motherBindings(), deliveryBindings(), newbornBindings(), apgarBindings()})}};
    return forms;
}

BlockResult PrintDeliveryRecord(RecordPrint &print)
{
    services::HmdBdinft data;
    if (auto stop = Fetched(data.GetBdinf(print.cell(0), print.cell(1)), Notice::status("")))
        return *stop;
    print.values.addRow(data.results);
    PatientHeader header = PatientHeader::fromPanels(print.context.patient);
    header.dept = print.cell(3);
    header.addTo(print.values);

    PrintJob job = print.sheetJob();
    job.summary = {.meddate = print.cell(1),
                   .dschdate = print.cell(2),
                   .patgubun = "I",
                   .meddept = print.cell(3),
                   .chadr = print.cell(6)};
    return job;
}

} // namespace medrec::reports
