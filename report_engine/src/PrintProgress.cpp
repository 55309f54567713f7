#include "report_engine/PrintProgress.h"

#include <QApplication>
#include <QProgressDialog>

namespace medrec::engine {

PrintProgress::PrintProgress(QWidget* parent, bool show)
{
    if (!show || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    // No total yet: a busy bar until the layout is done.
    m_dialog = std::make_unique<QProgressDialog>(QStringLiteral("인쇄 준비 중입니다..."), QString(), 0, 0, parent);
    m_dialog->setWindowTitle(QStringLiteral("인쇄"));
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    // Shown from the first page laid out; through forceShow() so the window knows it is shown
    // and takes the events on each page it counts while painting.
    QMetaObject::invokeMethod(m_dialog.get(), "forceShow", Qt::DirectConnection);
}

PrintProgress::~PrintProgress() = default;

void PrintProgress::laidOut(int pages)
{
    if (!m_dialog)
        return;
    m_dialog->setLabelText(QStringLiteral("인쇄 준비 중입니다... (%1쪽)").arg(pages));
    // The busy bar's value does not move, so setValue() would not take the events: the
    // window shows and repaints here, once a page, as it does while the pages are painted.
    QCoreApplication::processEvents();
}

void PrintProgress::printed(int done, int total)
{
    if (!m_dialog)
        return;
    if (m_dialog->maximum() != total)
        m_dialog->setRange(0, total);
    m_dialog->setLabelText(QStringLiteral("인쇄 중입니다... (%1 / %2 쪽)").arg(done).arg(total));
    m_dialog->setValue(done);
}

} // namespace medrec::engine
