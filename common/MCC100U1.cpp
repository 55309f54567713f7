#include "MCC100U1.h"

#include "DateText.h"
#include "TextHelpers.h"
#include "UltraGrid.h"

#include <QPushButton>

namespace medrec::common {

namespace {

constexpr const char *kListTitle = "환자번호|환자명|Sex/Age|주민등록번호||진료과|합본번호";
constexpr const char *kPatListTitle = "환자번호|환자명|Sex/Age|주민등록번호";
constexpr const char *kOutPatListTitle = "환자번호|환자명|Sex/Age|입원일자|진료과";
const QColor kBackground(128, 0, 64);

// The screens' grid look: centred plain titles, silver column lines, one line per cell.
void setUpList(TUltraGrid *grid, int columns, const char *title, const std::vector<int> &widths)
{
    grid->setColCount(columns);
    grid->setRowCount(2);
    grid->setFixedRows(1);
    grid->setTitle(title);
    grid->setFixedAlignment(ColAlign::Center);
    grid->setFixedFontBold(false);
    grid->setWrap(false);
    grid->setGridLineWidth(0);
    grid->setRowSelect(true);
    grid->setDefaultRowHeight(20);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    for (std::size_t c = 0; c < widths.size(); ++c)
        grid->setColWidth(static_cast<int>(c), widths[c]);
    grid->setGeometry(4, 4, TMCC100F1::kClientWidth - 8, 152);
}

} // namespace

std::vector<std::string> CandidateCells(const PatientCandidate &patient, Date today)
{
    return {patient.patNo,
            patient.name,
            patient.sex + "/" + std::string(TrimBlanks(AgeText(patient.birthDate, today))),
            patient.resNoFront + "-" + patient.resNoBack,
            patient.extra,
            patient.dept};
}

QPoint ChooserPosition(const QRect &editOnScreen, const QSize &dialogSize)
{
    int left = editOnScreen.left();
    int top = editOnScreen.top() + editOnScreen.height();
    if (left > 687)
        left = editOnScreen.left() + editOnScreen.width() - dialogSize.width();
    if (top > 570)
        top = editOnScreen.top() - dialogSize.height();
    return {left, top};
}

TMCC100F1::TMCC100F1(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("MCC100F1"));
    setWindowTitle(QStringLiteral("환자조회"));
    setFixedSize(kClientWidth, kClientHeight);
    QPalette background = palette();
    background.setColor(QPalette::Window, kBackground);
    setPalette(background);
    setAutoFillBackground(true);

    m_list = new TUltraGrid(this);
    m_list->setObjectName(QStringLiteral("ugd_List"));
    setUpList(m_list, 7, kListTitle, {70, 62, 64, 110, 0, 58, 60});
    m_list->viewport()->setCursor(Qt::PointingHandCursor);

    // Kept hidden in this system, in the same place as the candidate list.
    m_patList = new TUltraGrid(this);
    m_patList->setObjectName(QStringLiteral("ugd_PatList"));
    setUpList(m_patList, 4, kPatListTitle, {70, 70, 80, 140});
    m_patList->hide();
    m_outPatList = new TUltraGrid(this);
    m_outPatList->setObjectName(QStringLiteral("ugd_OutPatList"));
    setUpList(m_outPatList, 5, kOutPatListTitle, {70, 70, 70, 80, 70});
    m_outPatList->hide();

    m_confirm = new QPushButton(QStringLiteral("선택"), this);
    m_confirm->setObjectName(QStringLiteral("bbt_Confirm"));
    m_confirm->setGeometry(kClientWidth - 168, kClientHeight - 34, 80, 28);
    m_confirm->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("취소(&X)"), this);
    m_cancel->setObjectName(QStringLiteral("bbt_Cancel"));
    m_cancel->setGeometry(kClientWidth - 84, kClientHeight - 34, 80, 28);

    connect(m_list, &TUltraGrid::clicked, this, [this] { m_row = m_list->row(); });
    connect(m_list, &TUltraGrid::doubleClicked, this, &TMCC100F1::confirm);
    connect(m_confirm, &QPushButton::clicked, this, &TMCC100F1::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TMCC100F1::~TMCC100F1() = default;

void TMCC100F1::setCandidates(const std::vector<PatientCandidate> &patients, Date today)
{
    m_list->setColCount(9);
    m_list->clearRows();
    m_list->setColCount(6);
    m_list->setRowCount(m_list->fixedRows() + static_cast<int>(patients.size()));
    int row = m_list->fixedRows();
    for (const PatientCandidate &patient : patients)
        m_list->setRowCells(row++, CandidateCells(patient, today));
}

void TMCC100F1::placeUnder(const QWidget *edit)
{
    const QRect onScreen(edit->mapToGlobal(QPoint(0, 0)), edit->size());
    move(ChooserPosition(onScreen, size()));
}

void TMCC100F1::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_row = 1;
    m_result = {};
    m_list->setRow(1);
    m_list->setFocus(Qt::OtherFocusReason);
}

void TMCC100F1::confirm()
{
    // An empty row (no candidates) is no patient; the operator can still cancel.
    if (TrimBlanks(m_list->cell(0, m_row)).empty())
        return;
    m_result.chosen = true;
    m_result.patientNo = m_list->cell(0, m_row);
    m_result.name = m_list->cell(1, m_row);
    m_result.sexAge = m_list->cell(2, m_row);
    for (std::size_t k = 0; k < m_result.further.size(); ++k)
        m_result.further[k] = m_list->cell(4 + static_cast<int>(k), m_row);
    accept();
}

ChooserResult ChoosePatient(QPointer<TMCC100F1> &open, QWidget *edit, const std::vector<PatientCandidate> &patients,
                            Date today)
{
    if (open) {
        open->raise();
        open->activateWindow();
        return {};
    }
    open = new TMCC100F1(edit ? edit->window() : nullptr);
    open->setCandidates(patients, today);
    if (edit)
        open->placeUnder(edit);
    open->exec();
    ChooserResult result = open ? open->chooserResult() : ChooserResult{};
    delete open.data();
    return result;
}

} // namespace medrec::common
