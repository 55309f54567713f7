#include "MDS210U2_P01.h"

#include "ContextValues.h"
#include "FormConventions.h"
#include "RecordPrint.h"

#include "HmdOprptt.h"
#include "TextHelpers.h"

#include "report_engine/Report.h"

#include <array>
#include <utility>

namespace medrec::reports {

namespace {

using namespace bind;
using CodeLabels = std::vector<std::pair<std::string, std::string>>;

// "(" + the trimmed text + ")", or nothing when it is blank: the "기타" names.
Source parenthesized(std::string field)
{
    return {std::move(field), [](const std::string &value) {
                const std::string trimmed = common::Trimmed(value);
                return trimmed.empty() ? std::string() : "(" + trimmed + ")";
            }};
}

Binding nameList(std::string label, std::vector<std::string> fields, NamePresent present)
{
    return custom({label}, fields, [label, fields, present](engine::Report &r, const FieldValues &v) {
        std::vector<std::string> names;
        for (const std::string &field : fields)
            names.push_back(v[field]);
        r.label(label).setCaption(NameList(names, present));
    });
}

// The label shows the text of the value's code, compared as text; nothing for another code.
Binding codeCaption(std::string label, Source source, CodeLabels codeToText)
{
    return custom({label}, {source.field},
                  [label, source, codeToText](engine::Report &r, const FieldValues &v) {
                      const std::string code = source.read(v);
                      std::string text;
                      for (const auto &[c, t] : codeToText)
                          if (c == code)
                              text = t;
                      r.label(label).setCaption(text);
                  });
}

// Sections 1 and 2: the heading and the patient lines.
BindingTable patientLines()
{
    return {
        text("qlb_OPDate", "S_STRING1"),
        text("qlb_PatNo", "S_PATNO"),
        text("qlb_PatName", "S_NAME21"),
        text("qlb_Sex", "S_NAME22"),
        text("qlb_Dept", "S_STRING6"),
        // "Y" is an emergency: the mark stands before "응급", otherwise before "정규".
        yesNoCheck("S_STRING5", "qlb_OPG2", "qlb_OPG1"),
        text("qlb_OPRoom", "S_STRING3"),
        custom(
            {"qlb_RoomNo"}, {"S_STRING7", "S_STRING8"},
            [](engine::Report &r, const FieldValues &v) {
                const std::string &ward = v["S_STRING7"];
                r.label("qlb_RoomNo").setCaption(ward.empty() ? std::string() : ward + "-" + v["S_STRING8"]);
            }),
        text("qlb_DiagBef", "S_STRING16"),
        text("qlb_DiagAft1", "S_STRING18"),
        text("qlb_OPBef", "S_NAME17"),
        text("qlb_OPAft1", "S_STRING21"),
    };
}

// Section 3: the team's names at the left, the times at the right.
BindingTable teamAndTimes()
{
    return {
        nameList("qlb_OPDr", {"S_STRING44", "S_STRING115", "S_STRING45", "S_STRING46"},
                 NamePresent::NotEmpty),
        nameList("qlb_SterNur", {"S_NAME1", "S_NAME2", "S_NAME3", "S_NAME4", "S_NAME5"},
                 NamePresent::NotBlank),
        nameList("qlb_RoundNur", {"S_NAME6", "S_NAME7", "S_NAME8", "S_NAME9", "S_NAME10"},
                 NamePresent::NotBlank),
        nameList("qlb_AnethDr", {"S_STRING47", "S_STRING48", "S_STRING49"}, NamePresent::NotBlank),
        nameList("qlb_AnethNur", {"S_NAME11", "S_NAME12", "S_NAME13", "S_NAME14", "S_NAME15"},
                 NamePresent::NotBlank),
        text("qlb_OPSTArv", "S_STRING28"),
        text("qlb_OPArv", "S_STRING29"),
        text("qlb_OPStr", "S_STRING34"),
        text("qlb_OPEnd", "S_STRING35"),
        text("qlb_OPOut", "S_STRING30"),
    };
}

// Sections 4 to 7: position, skin preparation, diathermy pad, anaesthesia.
BindingTable preparation()
{
    return {
        check("qlb_OPPos1", "S_NAME24"),
        check("qlb_OPPos2", "S_NAME25"),
        check("qlb_OPPos3", "S_NAME26"),
        check("qlb_OPPos4", "S_NAME27"),
        check("qlb_OPPos5", "S_NAME28"),
        check("qlb_OPPos6", "S_NAME29"),
        check("qlb_OPPosEtc", "S_NAME30"),
        text("qlb_OPPosNm", parenthesized("S_CODE1")),
        check("qlb_OPSkin1", "S_CODE2"),
        check("qlb_OPSkin2", "S_CODE3"),
        check("qlb_OPSkin3", "S_CODE4"),
        check("qrl_OpSkin4", "S_STRING50"),
        check("qrl_OpSkin5", "S_STRING51"),
        check("qlb_OPSkinEtc", "S_CODE5"),
        text("qlb_OPSkinNm", parenthesized("S_CODE6")),
        checkChoice("S_STRING52", {{"1", "qrl_pad1"}, {"2", "qrl_pad2"}, {"3", "qrl_pad3"}}),
        checkMark("S_STRING22", {{1, "qlb_AnethCd1"},
                                 {2, "qlb_AnethCd2"},
                                 {3, "qlb_AnethCd3"},
                                 {4, "qlb_AnethCd4"},
                                 {5, "qlb_AnethCd5"},
                                 {6, "qlb_AnethCd6"}}),
        checkMark("S_CODE9", {{1, "qlb_Local1"}, {2, "qlb_Local2"}, {3, "qlb_LocalEtc"}}),
        text("qlb_LocalNm", parenthesized("S_CODE10")),
    };
}

// Rows `first`.. of a table column: component prefix + 1.. from fields family + first...
BindingTable column(const std::string &prefix, const std::string &family, int first, int rows)
{
    BindingTable table;
    for (int i = 0; i < rows; ++i)
        table.push_back(text(prefix + std::to_string(i + 1), family + std::to_string(first + i)));
    return table;
}

// Sections 8 and 9: implants, tourniquet, drains, where the patient went, re-operation.
BindingTable implantsAndDrains()
{
    return Concat({
        {yesNoCheck("S_STRING53", "qrlb_ImpY", "qrlb_ImpN")},
        column("qrlb_impkind", "S_STRING", 54, 3),
        column("qrlb_impmanu", "S_STRING", 57, 3),
        column("qrlb_impetc", "S_STRING", 60, 3),
        {yesNoCheck("S_STRING76", "qrlb_TournY", "qrlb_TournN")},
        column("qrlb_armon", "S_STRING", 77, 3),
        column("qrlb_armoff", "S_STRING", 80, 3),
        column("qrlb_armpressure", "S_STRING", 83, 3),
        column("qrlb_legon", "S_STRING", 86, 3),
        column("qrlb_legoff", "S_STRING", 89, 3),
        column("qrlb_legpressure", "S_STRING", 92, 3),
        {yesNoCheck("S_STRING63", "qrlb_DrainY", "qrlb_DrainN")},
        column("qrlb_drainkind", "S_STRING", 64, 3),
        column("qrlb_drainsize", "S_STRING", 67, 3),
        column("qrlb_draincnt", "S_STRING", 70, 3),
        column("qrlb_drainsite", "S_STRING", 73, 3),
        {codeCaption("qrlb_outArea", "S_STRING147",
                     {{"1", "회복실"},
                      {"2", "병실"},
                      {"3", "중환자실"},
                      {"4", "검사실"},
                      {"5", "영안실"},
                      {"9", "기타"}}),
         check("qlb_reopyn", "S_STRING39")},
    });
}

// The count table, row by row: the label stem, each stage's first nurse, second nurse and
// quantity, and the "무" mark.
struct CountRow
{
    const char *stem;
    std::array<std::array<const char *, 3>, 4> stages;
    const char *none;
};

constexpr CountRow kCountRows[] = {
    {"Xray",
     {{{"S_CODE12", "S_CODE13", "S_CODE18"},
       {"S_CODE14", "S_CODE15", "S_CODE19"},
       {"S_CODE16", "S_CODE17", "S_CODE20"},
       {"S_CODE31", "S_CODE32", "S_CODE33"}}},
     "S_CODE21"},
    {"Ring",
     {{{"S_CODE23", "S_CODE24", "S_CODE29"},
       {"S_CODE25", "S_CODE26", "S_CODE30"},
       {"S_CODE27", "S_CODE28", "S_TEXT1"},
       {"S_CODE34", "S_CODE35", "S_CODE36"}}},
     "S_TEXT2"},
    {"Bong",
     {{{"S_STRING120", "S_STRING121", "S_STRING126"},
       {"S_STRING122", "S_STRING123", "S_STRING127"},
       {"S_STRING124", "S_STRING125", "S_STRING128"},
       {"S_CODE37", "S_CODE38", "S_CODE39"}}},
     "S_STRING129"},
    {"Tool",
     {{{"S_STRING131", "S_STRING132", "S_STRING137"},
       {"S_STRING133", "S_STRING134", "S_STRING138"},
       {"S_STRING135", "S_STRING136", "S_STRING139"},
       {"S_CODE40", "S_CODE41", "S_CODE42"}}},
     "S_STRING140"},
};

// Section 10: the counts. The fifth row and the stage marks are filled though the form never
// prints them.
BindingTable counts()
{
    BindingTable table{yesNoCheck("S_CODE11", "qlb_CountYn", "qrl_countN")};
    for (const CountRow &row : kCountRows) {
        for (std::size_t i = 0; i < row.stages.size(); ++i) {
            const std::string at = std::string("qlb_") + row.stem + std::to_string(i + 1);
            table.push_back(text(at + "Nur1", row.stages[i][0]));
            table.push_back(text(at + "Nur2", row.stages[i][1]));
            table.push_back(text(at + "Cnt", row.stages[i][2]));
        }
        table.push_back(check(std::string("qlb_") + row.stem + "3Yn", row.none));
    }
    return Concat(
        {table,
         {text("qlb_Etc1Nm", "S_IDNUM2"), check("qlb_Etc1Yn", "S_IDNUM3"), check("qlb_Etc2Yn", "S_IDNUM4"),
          check("qlb_Etc3Yn", "S_IDNUM5"), check("qlb_Pin1Yn", "S_TEXT4"), check("qlb_Pin2Yn", "S_TEXT5"),
          check("qlb_Pin3Yn", "S_TEXT6"), check("qlb_Inst1Yn", "S_TEXT8"), check("qlb_Inst2Yn", "S_TEXT9"),
          check("qlb_Inst3Yn", "S_TEXT10")}});
}

// Section 11: specimens, added drugs, site confirmation and falls.
BindingTable specimensAndDrugs()
{
    return Concat({
        {yesNoCheck("S_IDNUM7", "qlb_SpcYn", "qrl_spcN"), text("qlb_SpcPart1", "S_IDNUM8"),
         text("qlb_SpcPart2", "S_IDNUM9"), text("qlb_SpcPart3", "S_IDNUM10"),
         text("qlb_SpcPart4", "S_NUMVAL1"), text("qlb_SpcPart5", "S_NUMVAL2")},
        column("qlb_SpcCnt", "S_NUMVAL", 3, 5),
        column("qlb_SpcUser", "S_NUMVAL", 8, 5),
        {yesNoCheck("S_STRING95", "qrlb_addY", "qrlb_addN")},
        column("qrlb_add", "S_STRING", 96, 3),
        column("qrlb_addcontent", "S_STRING", 99, 3),
        column("qrlb_addcnt", "S_STRING", 102, 3),
        column("qrlb_addsite", "S_STRING", 105, 3),
        {yesNoCheck("S_STRING112", "qlb_ConfY", "qlb_ConfN"),
         yesNoCheck("S_STRING113", "qlb_DropY", "qlb_DropN")},
    });
}

// Sections 12 to 15: cautions, combined operations, remarks, skin state and the foot.
BindingTable cautionsToFoot()
{
    return {
        check("qlb_Cau1", "S_NUMVAL19"),      check("qlb_Cau2", "S_NUMVAL20"),
        check("qlb_Cau3", "S_NUMVAL21"),      check("qlb_Cau4", "S_NUMVAL22"),
        check("qlb_Cau5", "S_NUMVAL23"),      check("qlb_Cau6", "S_NUMVAL24"),
        check("qlb_Cau7", "S_NUMVAL25"),      check("qlb_Cau8", "S_NUMVAL26"),
        check("qlb_CauEtc", "S_NUMVAL27"),    text("qrm_CauNm", "S_NUMVAL28"),
        text("qlb_ComDept1", "S_NUMVAL29"),   text("qlb_ComDept2", "S_NUMVAL30"),
        text("qlb_ComDr1", "S_NO1"),          text("qlb_ComDr2", "S_NO2"),
        text("qlb_ComOp1", "S_NO9"),          text("qlb_ComOp2", "S_NO10"),
        text("qrm_Remark1", "S_CONTENTS7"),   yesNoCheck("S_STRING143", "qlb_OpPreY", "qlb_OpPreN"),
        text("qlb_preoptxt", "S_STRING145"),  yesNoCheck("S_STRING144", "qlb_OpPostY", "qlb_OpPostN"),
        text("qlb_postoptxt", "S_STRING146"), text("qlb_edtdate", "S_STRING151"),
        text("qlb_edtnurnm", "S_STRING153"),
    };
}

} // namespace

std::string NameList(const std::vector<std::string> &names, NamePresent present)
{
    if (names.empty())
        return {};
    std::string list = names.front();
    for (std::size_t i = 1; i < names.size(); ++i) {
        const bool there =
            present == NamePresent::NotEmpty ? !names[i].empty() : !common::TrimBlanks(names[i]).empty();
        if (there)
            list += "," + names[i];
    }
    return list;
}

std::int32_t OperationNumber(const std::string &cell)
{
    const auto first = cell.find_first_not_of(' ');
    const auto number =
        first == std::string::npos ? std::nullopt : common::WholeNumber(std::string_view(cell).substr(first));
    if (!number)
        throw CodeConversionError(cell, value::record(2));
    return *number;
}

const std::vector<FormBindings> &OperatingRoomNursingRecordForms()
{
    static const std::vector<FormBindings> forms{
        {.fill = Concat({patientLines(), teamAndTimes(), preparation(), implantsAndDrains(), counts(),
                         specimensAndDrugs(), cautionsToFoot()})}};
    return forms;
}

BlockResult PrintOperatingRoomNursingRecord(RecordPrint &print)
{
    const std::int32_t opNo = OperationNumber(print.cell(2));
    services::HmdOprptt data;
    if (auto stop = Fetched(data.ListOprpt("P", print.cell(0), print.cell(1), "EB1", opNo), kNothingToPrint))
        return *stop;
    print.values.addRow(data.results());
    PrintJob job = print.sheetJob();
    job.summary = print.summaryOf({.meddate = 4, .dschdate = 5, .patgubun = 6, .meddept = 3, .chadr = 7});
    return job;
}

} // namespace medrec::reports
