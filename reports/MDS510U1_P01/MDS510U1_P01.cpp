#include "MDS510U1_P01.h"

#include "FormConventions.h"
#include "PrintContext.h"
#include "ReportForms.h"

#include "Hmdrecodt.h"
#include "MsgCom.h"
#include "TuxMsg.h"

#include <utility>

namespace medrec::reports {

namespace {

constexpr const char *kCode = "MDOPRECT";

// Output field number -> label, in the order the form is filled.
constexpr std::pair<int, const char *> kLabels[] = {
    {1, "qlb_patno"},       {2, "qlb_SexAge"},     {3, "qlb_patName"},    {4, "qlb_ResNo"},
    {5, "qlb_Meddept"},     {6, "qlb_chadr"},      {7, "qrl_ward"},       {8, "qrlb_OpDr"},
    {8, "qrlb_OpDr1"},      {9, "qrlb_OpDate"},    {10, "qrlb_OpDr2"},    {11, "qrlb_OpDr3"},
    {12, "qrlb_PreIcdNm"},  {13, "qrlb_PstIcdNm"}, {14, "qrlb_PreOpName"}, {15, "qrlb_OpName"},
    {16, "qrlb_OpName2"},   {17, "qrlb_OpName3"},  {18, "qrlb_OpName4"},  {19, "qrlb_AnethNm"},
    {22, "qrlb_Recid"},     {23, "qrlb_Recdate"},  {24, "qrlb_bloodrj"},  {25, "qrl_blood"},
    {27, "qrlb_Opstm"},     {28, "qrlb_Opetm"},    {29, "qrlb_OpDr4"},    {30, "qrlb_PstIcdNm2"},
    {31, "qrlb_PstIcdNm3"}, {32, "qrlb_PstIcdNm4"},
};

} // namespace

TMDS510F1_P01::TMDS510F1_P01() : qr_01(LoadReportForm("MDS510U1_P01", "TMDS510F1_P01"), clearCheckMarks) {}

std::string OperationMemoText(const std::string &findings, const std::string &procedure)
{
    const std::string crlf = "\r\n";
    std::string text;
    if (!findings.empty())
        text += "관찰소견및수술중특이사항" + crlf + crlf + " " + findings + crlf;
    if (!procedure.empty())
        text += "수술절차" + crlf + crlf + " " + procedure + crlf + crlf;
    else if (!findings.empty())
        text += crlf;
    return text;
}

std::optional<HistoryValues> PrintOperationRecord(PrintContext &context)
{
    const std::string patNo = context.recordCell(0);
    const std::string key2 = context.recordCell(1);
    const std::string key3 = context.recordCell(2);
    services::Hmdrecodt &data = context.recodt();
    const int rows = data.GetRecodData(kCode, patNo, key2, key3, "", "");
    if (rows == -1) {
        middleware::ShowTuxMessage(context.statusBar());
        return std::nullopt;
    }
    if (rows == 0) {
        middleware::PlainMessage("출력할  자료가 없습니다.");
        return std::nullopt;
    }
    auto field = [&data](int number) { return data.data(number).front(); };

    TMDS510F1_P01 form;
    report::Report &report = form.qr_01;
    for (const auto &[number, label] : kLabels)
        report.label(label).setCaption(field(number));
    markYesNo(report, field(20), "qrlb_TissY", "qrlb_TissN");
    markYesNo(report, field(21), "qrlb_DrainY", "qrlb_DrainN");
    markYesNo(report, field(26), "qrl_sponY", "qrl_sponN");
    report.memo("qrme_data").setText(OperationMemoText(field(34), field(33)));

    context.setSummary({patNo, context.recordCell(3), field(35), field(36), field(5), field(37)});
    if (!PrintReport(report, kCode, patNo, context.window()))
        return std::nullopt;
    return HistoryValues{key3, "empty", "empty"};
}

} // namespace medrec::reports
