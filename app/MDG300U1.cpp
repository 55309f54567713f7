// The main screen's life (creation, showing) and its patient-number edit.

#include "MDG300U1.h"

#include "Hmdrecodt.h"

#include "SearchPatient.h"
#include "SiteEnvironment.h"

#include "GridOps.h"
#include "MCC100U1.h"
#include "TStatusBar.h"
#include "TextHelpers.h"
#include "TuxCom.h"
#include "TuxMsg.h"
#include "UltraGrid.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace medrec::app {

namespace {

bool isEditShortcut(const QKeyEvent &key)
{
    for (QKeySequence::StandardKey shortcut : {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
                                               QKeySequence::Paste, QKeySequence::Undo, QKeySequence::Redo})
        if (key.matches(shortcut))
            return true;
    return false;
}

} // namespace

TMDG300F1::TMDG300F1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MDG300F1"));
    setWindowTitle(QStringLiteral("MDG300F1 환자정보조회(NEW)"));
    m_ui = BuildMDG300Controls(*this);
    resize(kScreenWidth, kScreenHeight);
    setMinimumSize(kScreenWidth, kScreenHeight);

    m_ui.ed_PatNo->installEventFilter(this);
    m_ui.bbt_Print->installEventFilter(this);
    connect(m_ui.ed_PatNo, &QLineEdit::textChanged, this, &TMDG300F1::ed_PatNoChange);
    connect(m_ui.bbt_MdHSearch, &QPushButton::clicked, this, &TMDG300F1::bbt_MdHSearchClick);
    connect(m_ui.ugd_History, &common::TUltraGrid::clicked, this, &TMDG300F1::ugd_HistoryClick);
    connect(m_ui.ugd_RecodKnd, &common::TUltraGrid::clicked, this, &TMDG300F1::ugd_RecodKndClick);
    connect(m_ui.bbt_Print, &QPushButton::clicked, this, &TMDG300F1::bbt_PrintClick);
    // Only the operator's choice (or the print run's explicit call) lists the rooms.
    connect(m_ui.combx_Room, &QComboBox::activated, this, &TMDG300F1::combx_RoomChange);

    FormCreate();
}

TMDG300F1::~TMDG300F1() = default;

void TMDG300F1::FormCreate()
{
    m_sessionOpen = middleware::TuxInit(SiteEnvironmentFile());
    if (!m_sessionOpen)
        middleware::TuxTerm();
}

void TMDG300F1::FormShow()
{
    // Directly below the header and the patient panel, overlapping the latter's bevel.
    m_ui.pn_History->move(m_ui.pn_Header->x(),
                          m_ui.pn_Header->height() + m_ui.pn_PatInfo->height() - kHistoryOverlap);
    FitHistoryPanel(m_ui, centralWidget()->width(), centralWidget()->height());
    m_ui.ugd_History->setColAlign(0, common::ColAlign::Center);
    for (int col = 0; col <= 4; ++col)
        m_ui.ugd_RecodDt->setColAlign(col, common::ColAlign::Center);
    m_ui.ed_PatNo->setFocus(Qt::OtherFocusReason);
}

void TMDG300F1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMDG300F1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (QWidget *client = centralWidget())
        FitHistoryPanel(m_ui, client->width(), client->height());
}

bool TMDG300F1::event(QEvent *event)
{
    // Unsolicited messages are announced to the main window and deliberately ignored.
    if (event->type() == middleware::kUnsolicitedEvent)
        return true;
    return QMainWindow::event(event);
}

bool TMDG300F1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui.bbt_Print && dropsSecondClickOfDoubleClick(event))
        return true;
    if (watched == m_ui.ed_PatNo) {
        if (event->type() == QEvent::FocusIn) {
            ed_PatNoEnter();
        } else if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            // The key first, then the character it types, as the system delivers them.
            ed_PatNoKeyDown(key->key());
            // Tab moves the focus before any character is typed; the edit's own shortcuts
            // (select all, copy, paste...) type none.
            const bool focusKey = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (!focusKey && !isEditShortcut(*key) && ed_PatNoKeyPress(key->text()))
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMDG300F1::dropsSecondClickOfDoubleClick(QEvent *event)
{
    if (event->type() != QEvent::MouseButtonDblClick)
        return false;
    // The second press already pushed the button down; released up, it clicks nothing.
    m_ui.bbt_Print->setDown(false);
    return true;
}

void TMDG300F1::ed_PatNoEnter()
{
    m_patNoTag = 1;
}

bool TMDG300F1::ed_PatNoKeyPress(const QString &typed)
{
    // Keys that type no character (arrows, Home, Delete...) are not filtered; Hangul names
    // arrive through the input method, not as key characters.
    if (typed.isEmpty() || typed == QStringLiteral("\x7f"))
        return false;
    const QChar c = typed.front();
    const bool accepted = c == QLatin1Char('\b') || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                          c == QLatin1Char('%') || c == QLatin1Char('\'') || c == QLatin1Char('.');
    return !accepted || typed.size() > 1;
}

void TMDG300F1::ed_PatNoChange()
{
    for (common::TUltraGrid *grid : centralWidget()->findChildren<common::TUltraGrid *>())
        common::ClearGrid(*grid, grid->colCount());
    // The hidden birth date goes with the other panels: no print may show the previous
    // patient's.
    for (QLabel *panel : {m_ui.pn_ResNo, m_ui.pn_SexAge, m_ui.pn_TelNo, m_ui.pn_ZipCd, m_ui.pn_Address,
                          m_ui.pn_Insu, m_ui.pn_WardRoom, m_ui.pn_birthdate})
        panel->clear();
    if (m_patNoTag == 1) {
        m_ui.pn_PatName->clear();
        m_ui.pn_Ward->clear();
    }
    setStatusText({});
}

void TMDG300F1::ed_PatNoKeyDown(int key)
{
    setStatusText({});
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    if (common::TrimBlanks(m_ui.ed_PatNo->text().toStdString()).empty())
        return;
    m_patNoTag = 0;
    if (SearchPatient(m_ui.ed_PatNo, m_ui.ed_PatNo, m_ui.pn_PatName, m_ui.pn_Ward, "1", m_chooser)) {
        m_ui.pn_Ward->hide();
        ShowPatientInfo();
        bbt_MdHSearchClick();
    }
    m_patNoTag = 1;
}

void TMDG300F1::setStatusText(const std::string &text)
{
    const QString value = QString::fromStdString(text);
    m_ui.stb_Message->setPanelText(0, value);
    emit statusTextChanged(value);
}

std::string TMDG300F1::patientNumber() const
{
    return std::string(common::TrimBlanks(m_ui.ed_PatNo->text().toStdString()));
}

} // namespace medrec::app
