#include "CodeCombos.h"

#include <QCursor> // BusyCursor.h uses QCursor without including it

#include "BusyCursor.h"
#include "HmdExCode.h"
#include "HmdMcomct.h"
#include "TuxMsg.h"

#include <QComboBox>

namespace medrec::common {

namespace {

using middleware::ServiceResult;

void fillOne(QComboBox *combo, const ServiceResult &values, int rows)
{
    if (!combo)
        return;
    combo->clear();
    combo->addItem(QString());
    for (int i = 0; i < rows; ++i) {
        const auto index = static_cast<std::size_t>(i);
        combo->addItem(QString::fromStdString(index < values.size() ? values[index] : std::string()));
    }
}

// The common tail of the fillers: report, keep, or refill both combos.
void fillPair(int rows, const ServiceResult &codes, const ServiceResult &names, QComboBox *codeCombo,
              QComboBox *nameCombo)
{
    if (rows < 0) {
        middleware::ShowTuxMessageActive();
        return;
    }
    if (rows == 0)
        return;
    fillOne(codeCombo, codes, rows);
    fillOne(nameCombo, names, rows);
}

void fillDeptCodes(const std::string &kind, const std::string &qualifier, QComboBox *codeCombo,
                   QComboBox *nameCombo)
{
    middleware::BusyCursor busy;
    services::HmdExCode codes;
    const int rows = codes.ListDeptCode(kind, qualifier);
    fillPair(rows, codes.code, codes.name, codeCombo, nameCombo);
}

} // namespace

void FillDeptCombo(QComboBox *codeCombo, QComboBox *nameCombo) { fillDeptCodes("1", "EB1", codeCombo, nameCombo); }

void FillWardCombo(QComboBox *codeCombo, QComboBox *nameCombo) { fillDeptCodes("2", "", codeCombo, nameCombo); }

void FillCommonCodeCombo(const std::string &groupCode, QComboBox *codeCombo, QComboBox *nameCombo)
{
    middleware::BusyCursor busy;
    services::HmdMcomct codes;
    const int rows = codes.ListComCode("S", groupCode, "000", "");
    fillPair(rows, codes.entryCode(), codes.entryName(), codeCombo, nameCombo);
}

std::string CodeToName(const QComboBox *codeCombo, const QComboBox *nameCombo, const std::string &code)
{
    if (!codeCombo || !nameCombo)
        return {};
    const int index = codeCombo->findText(QString::fromStdString(code), Qt::MatchExactly);
    if (index < 0 || index >= nameCombo->count())
        return {};
    return nameCombo->itemText(index).toStdString();
}

} // namespace medrec::common
