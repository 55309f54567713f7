#include "SearchPatient.h"

#include "BusyCursor.h"
#include "Clock.h"
#include "ControlText.h"
#include "DateText.h"
#include "HmdPatInf.h"
#include "MCC100U1.h"
#include "MsgCom.h"
#include "TextHelpers.h"
#include "TuxMsg.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <vector>

namespace medrec::app {

namespace {

constexpr std::size_t kMinNumberDigits = 4;
constexpr std::size_t kPaddedNumberDigits = 8;
constexpr std::size_t kMinNameChars = 2;

bool isWholeNumber(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

const std::string &at(const services::ServiceResult &result, std::size_t row)
{
    static const std::string empty;
    return row < result.size() ? result[row] : empty;
}

std::string sexAgeText(const std::string &sex, const std::string &birthDate)
{
    return sex + "/" + std::string(common::TrimBlanks(common::AgeText(birthDate, common::Today())));
}

std::vector<common::PatientCandidate> candidates(const services::HmdPatInf &patients, int count)
{
    std::vector<common::PatientCandidate> list;
    for (std::size_t row = 0; row < static_cast<std::size_t>(count); ++row) {
        list.push_back({at(patients.patNo, row), at(patients.field(1), row), at(patients.field(2), row),
                        at(patients.field(3), row), at(patients.field(4), row), at(patients.field(5), row),
                        at(patients.field(12), row), at(patients.field(13), row)});
    }
    return list;
}

void focus(QWidget *control)
{
    if (control)
        control->setFocus(Qt::OtherFocusReason);
}

} // namespace

PatientQuery ClassifyPatientText(std::string_view text)
{
    const std::string trimmed(common::TrimBlanks(text));
    PatientQuery query;
    if (trimmed.empty())
        return query;
    if (!isWholeNumber(trimmed)) {
        if (common::CharCount(trimmed) < kMinNameChars) {
            query.kind = PatientQuery::Kind::ShortName;
            return query;
        }
        query.kind = PatientQuery::Kind::ByName;
        query.type = "2";
        query.name = trimmed;
        return query;
    }
    if (trimmed.size() < kMinNumberDigits) {
        query.kind = PatientQuery::Kind::ShortNumber;
        return query;
    }
    query.kind = PatientQuery::Kind::ByNumber;
    query.type = "1";
    query.padded = trimmed.size() <= kPaddedNumberDigits;
    query.number = query.padded ? std::string(kPaddedNumberDigits - trimmed.size(), '0') + trimmed : trimmed;
    return query;
}

std::string SearchType(std::string_view mode, std::string_view type)
{
    if (mode == "2") {
        if (type == "1")
            return "4";
        if (type == "2")
            return "5";
    }
    return std::string(type);
}

bool SearchPatient(QWidget *input, QWidget *numberControl, QWidget *nameControl, QWidget *sexAgeControl,
                   std::string_view mode, QPointer<common::TMCC100F1> &chooser)
{
    if (!qobject_cast<QLineEdit *>(input) && !qobject_cast<QComboBox *>(input)) {
        focus(input);
        return false;
    }
    const PatientQuery query = ClassifyPatientText(common::ControlText(input));
    switch (query.kind) {
    case PatientQuery::Kind::Empty:
        return false;
    case PatientQuery::Kind::ShortName:
        middleware::PlainMessage("환자명을 2글자이상 입력하세요");
        focus(input);
        return false;
    case PatientQuery::Kind::ShortNumber:
        middleware::PlainMessage("등록번호를 4글자이상 입력하세요");
        focus(input);
        return false;
    case PatientQuery::Kind::ByNumber:
        if (query.padded && common::ControlText(numberControl) != query.number)
            common::SetControlText(numberControl, query.number);
        break;
    case PatientQuery::Kind::ByName:
        break;
    }

    services::HmdPatInf patients;
    int found = 0;
    {
        middleware::BusyCursor busy;
        found = patients.GetPatInf(SearchType(mode, query.type), query.number, query.name);
    }

    if (found < 0) {
        middleware::ShowTuxMessageActive();
        return false;
    }
    if (found == 0) {
        middleware::PlainMessage("해당 환자는 존재하지 않습니다. 환자명 또는 등록번호를 다시입력하십시오.");
        common::SetControlText(numberControl, {});
        common::SetControlText(nameControl, {});
        common::SetControlText(sexAgeControl, {});
        focus(input);
        return false;
    }
    if (found == 1) {
        common::SetControlText(numberControl, at(patients.patNo, 0));
        common::SetControlText(nameControl, at(patients.field(1), 0));
        common::SetControlText(sexAgeControl, sexAgeText(at(patients.field(5), 0), at(patients.field(4), 0)));
        return true;
    }

    const bool alreadyOpen = !chooser.isNull();
    const common::ChooserResult choice =
        common::ChoosePatient(chooser, input, candidates(patients, found), common::Today());
    if (alreadyOpen)
        return false;
    if (!choice.chosen) {
        focus(input);
        return false;
    }
    common::SetControlText(numberControl, choice.patientNo);
    common::SetControlText(nameControl, choice.name);
    common::SetControlText(sexAgeControl, choice.sexAge);
    return true;
}

} // namespace medrec::app
