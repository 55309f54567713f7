#include "CodeCombos.h"

#include <QCursor> // BusyCursor.h uses QCursor without including it

#include "BusyCursor.h"
#include "CodeLookups.h"
#include "TuxMsg.h"

#include <QComboBox>

namespace medrec::common {

namespace {

void fillOne(QComboBox *combo, const std::vector<std::string> &items)
{
    if (!combo)
        return;
    combo->clear();
    for (const std::string &item : items)
        combo->addItem(QString::fromStdString(item));
}

// The common tail of the fillers: report, keep, or refill both combos from the list (its
// empty first entry included).
void fillPair(int rows, const CodeList &list, QComboBox *codeCombo, QComboBox *nameCombo)
{
    if (rows < 0) {
        middleware::ShowTuxMessageActive();
        return;
    }
    if (rows == 0)
        return;
    fillOne(codeCombo, list.codes());
    fillOne(nameCombo, list.names());
}

} // namespace

void FillDeptCombo(QComboBox *codeCombo, QComboBox *nameCombo)
{
    middleware::BusyCursor busy;
    CodeList list;
    fillPair(services::ListDepartments(list), list, codeCombo, nameCombo);
}

void FillWardCombo(QComboBox *codeCombo, QComboBox *nameCombo)
{
    middleware::BusyCursor busy;
    CodeList list;
    fillPair(services::ListWards(list), list, codeCombo, nameCombo);
}

void FillCommonCodeCombo(const std::string &groupCode, QComboBox *codeCombo, QComboBox *nameCombo)
{
    middleware::BusyCursor busy;
    CodeList list;
    fillPair(services::ListCommonCodes(groupCode, list), list, codeCombo, nameCombo);
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
