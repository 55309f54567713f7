#include "ControlText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace medrec::common {

void SetControlText(QWidget *control, const std::string &text)
{
    const QString value = QString::fromStdString(text);
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->setText(value);
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        if (combo->isEditable())
            combo->setEditText(value);
        else
            combo->setCurrentIndex(combo->findText(value, Qt::MatchExactly));
    } else if (auto *panel = qobject_cast<QLabel *>(control)) {
        panel->setText(value);
    }
}

std::string ControlText(const QWidget *control)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text().toStdString();
    if (const auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText().toStdString();
    if (const auto *panel = qobject_cast<const QLabel *>(control))
        return panel->text().toStdString();
    return {};
}

} // namespace medrec::common
