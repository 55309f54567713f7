// The form definition of the main screen: its controls, their places, titles, widths and
// looks. Handlers live in MDG300U1.cpp and MDG300U1Lists.cpp.

#include "MDG300U1Controls.h"

#include "TStatusBar.h"
#include "UltraGrid.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

#include <algorithm>
#include <initializer_list>

namespace medrec::app {

namespace {

// Noto Sans CJK KR stands in for the site's 굴림, 9 points on a 96-dpi screen.
const QString kScreenFace = QStringLiteral("Noto Sans CJK KR");
constexpr int kScreenPixels = 12;

const QColor kCaptionBack(0, 70, 127);
const QColor kCaptionText(255, 255, 255);
const QColor kValueBack(255, 255, 255);
const QColor kSelectedRow(49, 106, 197);
const QColor kSelectedRowText(255, 255, 255);
const QColor kBandRow(238, 244, 251);
const QColor kBandRowText(0, 0, 0);
const QColor kSummaryText(0, 70, 127);

constexpr int kHeaderHeight = 44;
constexpr int kPatInfoHeight = 66;
constexpr int kGridRowHeight = 20;
constexpr int kTopGridsHeight = 250;
constexpr int kMargin = 4;
constexpr int kMinHistoryHeight = 200;

QFont screenFont(bool bold = false)
{
    QFont font(kScreenFace);
    font.setPixelSize(kScreenPixels);
    font.setBold(bold);
    return font;
}

void setBackground(QWidget *widget, const QColor &back, const QColor &text = QColor())
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, back);
    if (text.isValid())
        palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A container panel with a raised bevel.
QFrame *containerPanel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(geometry);
    return panel;
}

// A caption panel: white bold text on the screen's accent colour.
QLabel *captionPanel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QString::fromLatin1(name));
    label->setFont(screenFont(true));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Raised);
    setBackground(label, kCaptionBack, kCaptionText);
    label->setGeometry(geometry);
    return label;
}

// A sunken white panel showing one value; hint is its tool tip.
QLabel *valuePanel(QWidget *parent, const char *name, const QRect &geometry, const QString &hint = {})
{
    auto *panel = new QLabel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setIndent(4);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setBackground(panel, kValueBack);
    panel->setGeometry(geometry);
    if (!hint.isEmpty())
        panel->setToolTip(hint);
    return panel;
}

// The label of a value on the patient panel ("【주민번호】").
QLabel *fieldLabel(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setFont(screenFont(true));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(geometry);
    return label;
}

common::TUltraGrid *listGrid(QWidget *parent, const char *name, const QString &title,
                             std::initializer_list<int> widths)
{
    auto *grid = new common::TUltraGrid(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setColCount(static_cast<int>(widths.size()));
    grid->setFixedRows(1);
    grid->setRowCount(2);
    grid->setTitle(title.toStdString());
    int col = 0;
    for (int width : widths)
        grid->setColWidth(col++, width);
    grid->setFixedAlignment(common::ColAlign::Center);
    grid->setFixedFontBold(false);
    grid->setSelectedRowColor(kSelectedRow);
    grid->setSelectedRowFontColor(kSelectedRowText);
    grid->setGridRowColor(kBandRow);
    grid->setGridRowFontColor(kBandRowText);
    grid->setWrap(false);
    grid->setRowSelect(true);
    grid->setGridLineWidth(0);
    grid->setDefaultRowHeight(kGridRowHeight);
    return grid;
}

common::TUltraGrid *scratchGrid(QWidget *parent, const char *name, int columns)
{
    auto *grid = new common::TUltraGrid(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setColCount(columns);
    grid->setFixedRows(1);
    grid->setRowCount(2);
    grid->setWrap(false);
    grid->hide();
    return grid;
}

QComboBox *hiddenCombo(QWidget *parent, const char *name, std::initializer_list<const char *> items = {})
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    for (const char *item : items)
        combo->addItem(QString::fromUtf8(item));
    combo->hide();
    return combo;
}

void buildHeader(QWidget *central, MDG300Controls &ui)
{
    ui.pn_Header = containerPanel(central, "pn_Header", {0, 0, kScreenWidth, kHeaderHeight});
    QWidget *h = ui.pn_Header;
    ui.pn_PatNoCaption = captionPanel(h, "pn_PatNoCaption", QStringLiteral("환자번호입력"), {8, 9, 100, 26});

    ui.ed_PatNo = new QLineEdit(h);
    ui.ed_PatNo->setObjectName(QStringLiteral("ed_PatNo"));
    ui.ed_PatNo->setGeometry(112, 9, 124, 26);
    ui.ed_PatNo->setMaxLength(40);
    // Names come in through the input method (Hangul); the typing filter handles keys only.
    ui.ed_PatNo->setAttribute(Qt::WA_InputMethodEnabled, true);
    ui.ed_PatNo->setInputMethodHints(Qt::ImhNone);

    ui.pn_PatName = valuePanel(h, "pn_PatName", {240, 9, 112, 26}, QStringLiteral("환자번호"));
    ui.pn_PatName->setFont(screenFont(true));

    ui.bbt_MdHSearch = new QPushButton(QStringLiteral("조 회"), h);
    ui.bbt_MdHSearch->setObjectName(QStringLiteral("bbt_MdHSearch"));
    ui.bbt_MdHSearch->setGeometry(356, 8, 80, 28);

    ui.pn_Ward = valuePanel(h, "pn_Ward", {440, 9, 132, 26}, QStringLiteral("병동-병실"));
    ui.pn_birthdate = valuePanel(h, "pn_birthdate", {576, 9, 80, 26});
    ui.pn_birthdate->hide();
}

void buildPatientPanel(QWidget *central, MDG300Controls &ui)
{
    ui.pn_PatInfo = containerPanel(central, "pn_PatInfo", {0, kHeaderHeight, kScreenWidth, kPatInfoHeight});
    QWidget *p = ui.pn_PatInfo;
    constexpr int row1 = 7;
    constexpr int row2 = 35;
    constexpr int h = 24;

    fieldLabel(p, QStringLiteral("【주민번호】"), {4, row1, 86, h});
    ui.pn_ResNo = valuePanel(p, "pn_ResNo", {92, row1, 128, h});
    fieldLabel(p, QStringLiteral("【성별/나이】"), {224, row1, 92, h});
    ui.pn_SexAge = valuePanel(p, "pn_SexAge", {318, row1, 108, h});
    fieldLabel(p, QStringLiteral("【연락처】"), {430, row1, 80, h});
    ui.pn_TelNo = valuePanel(p, "pn_TelNo", {512, row1, 428, h});

    fieldLabel(p, QStringLiteral("【주    소】"), {4, row2, 86, h});
    ui.pn_ZipCd = valuePanel(p, "pn_ZipCd", {92, row2, 64, h});
    ui.pn_ZipCd->setAlignment(Qt::AlignCenter);
    ui.pn_Address = valuePanel(p, "pn_Address", {158, row2, 438, h});
    fieldLabel(p, QStringLiteral("【보험구분】"), {600, row2, 88, h});
    ui.pn_Insu = valuePanel(p, "pn_Insu", {690, row2, 80, h});
    fieldLabel(p, QStringLiteral("【퇴원병동】"), {774, row2, 88, h});
    ui.pn_WardRoom = valuePanel(p, "pn_WardRoom", {864, row2, 76, h});
}

void buildHistoryPanel(QWidget *central, MDG300Controls &ui)
{
    const int top = kHeaderHeight + kPatInfoHeight - kHistoryOverlap;
    ui.pn_History = containerPanel(central, "pn_History", {0, top, kScreenWidth, 560});
    QWidget *p = ui.pn_History;
    ui.pn_HistoryCaption =
        captionPanel(p, "pn_HistoryCaption", QStringLiteral("기록지 발급이력"), {2, 6, kScreenWidth - 4, 24});

    constexpr int gridTop = 34;
    ui.ugd_History = listGrid(p, "ugd_History", QStringLiteral("순번|내원일시|퇴원일시"), {63, 115, 108});
    ui.ugd_History->setGeometry(kMargin, gridTop, 310, kTopGridsHeight);
    ui.ugd_RecodKnd = listGrid(p, "ugd_RecodKnd", QStringLiteral("기록지 종류|서식 코드|재원일자|기록지코드"),
                               {156, 110, 72, 106});
    ui.ugd_RecodKnd->setGeometry(318, gridTop, 466, kTopGridsHeight);

    // The print button and, below it, the summary of the record printed last.
    constexpr int side = 790;
    constexpr int sideWidth = kScreenWidth - side - kMargin - 2;
    ui.bbt_Print = new QPushButton(QStringLiteral("기록지 출 력(&P)"), p);
    ui.bbt_Print->setObjectName(QStringLiteral("bbt_Print"));
    ui.bbt_Print->setFont(screenFont(true));
    ui.bbt_Print->setGeometry(side, gridTop, sideWidth, 34);

    struct SummaryLine
    {
        const char *caption;
        const char *name;
        QLabel **target;
        QLabel **captionLabel;
    };
    const SummaryLine lines[] = {
        {"환자번호", "lb_patno", &ui.lb_patno, nullptr},
        {kMeddateCaption, "lb_meddate", &ui.lb_meddate, &ui.Label3},
        {"퇴원일자", "lb_dschdate", &ui.lb_dschdate, nullptr},
        {"환자구분", "lb_patgubun", &ui.lb_patgubun, nullptr},
        {"진료과", "lb_meddept", &ui.lb_meddept, nullptr},
        {"주치의", "lb_chadr", &ui.lb_chadr, nullptr},
    };
    int y = gridTop + 40;
    for (const SummaryLine &line : lines) {
        auto *caption = new QLabel(QString::fromUtf8(line.caption), p);
        if (line.captionLabel) {
            caption->setObjectName(QStringLiteral("Label3"));
            *line.captionLabel = caption;
        }
        caption->setGeometry(side, y, sideWidth, 15);
        QPalette palette = caption->palette();
        palette.setColor(QPalette::WindowText, kSummaryText);
        caption->setPalette(palette);
        *line.target = valuePanel(p, line.name, {side, y + 15, sideWidth, 19});
        y += 35;
    }

    ui.ugd_RecodDt = listGrid(p, "ugd_RecodDt", QString(), {77, 128, 134, 100, 74, 69, 64, 39, 83, 97});
    ui.ugd_RecodDt->setGeometry(kMargin, gridTop + kTopGridsHeight + kMargin, kScreenWidth - 2 * kMargin - 2,
                                260);
}

void buildHiddenControls(QWidget *central, MDG300Controls &ui)
{
    ui.ugd_AllList = scratchGrid(central, "ugd_AllList", 60);
    ui.ugd_List = scratchGrid(central, "ugd_List", 30);
    ui.ugd_PrintList = scratchGrid(central, "ugd_PrintList", 27);
    ui.ugd_Temp = scratchGrid(central, "ugd_Temp", 30);

    ui.combx_RoomCd = hiddenCombo(central, "combx_RoomCd");
    ui.combx_Room = hiddenCombo(central, "combx_Room");
    ui.combx_roomno = hiddenCombo(central, "combx_roomno");
    ui.combx_MedDeptCd = hiddenCombo(central, "combx_MedDeptCd");
    ui.combx_MedDept = hiddenCombo(central, "combx_MedDept");
    ui.combx_OutDeptCd = hiddenCombo(central, "combx_OutDeptCd");
    ui.combx_OutDept = hiddenCombo(central, "combx_OutDept");
    ui.cboDeptCD = hiddenCombo(central, "cboDeptCD");
    ui.cboDept = hiddenCombo(central, "cboDept");
    ui.combx_ErRsltCd = hiddenCombo(central, "combx_ErRsltCd");
    ui.combx_ErRslt = hiddenCombo(central, "combx_ErRslt");
    ui.combx_DiagKindCd = hiddenCombo(central, "combx_DiagKindCd");
    ui.combx_DiagKind = hiddenCombo(central, "combx_DiagKind");
    ui.combx_Intencd = hiddenCombo(central, "combx_Intencd");
    ui.combx_Inten = hiddenCombo(central, "combx_Inten");
    ui.combx_Injurycd = hiddenCombo(central, "combx_Injurycd");
    ui.combx_Injury = hiddenCombo(central, "combx_Injury");
    ui.combx_returncd = hiddenCombo(central, "combx_returncd");
    ui.combx_return = hiddenCombo(central, "combx_return");
    ui.combx_transfercd = hiddenCombo(central, "combx_transfercd");
    ui.combx_transfer = hiddenCombo(central, "combx_transfer");
    ui.combx_inbedcd = hiddenCombo(central, "combx_inbedcd");
    ui.combx_inbed = hiddenCombo(central, "combx_inbed");
    ui.combx_killcd = hiddenCombo(central, "combx_killcd");
    ui.combx_kill = hiddenCombo(central, "combx_kill");
    ui.combx_kill2cd = hiddenCombo(central, "combx_kill2cd");
    ui.combx_kill2 = hiddenCombo(central, "combx_kill2");
    ui.combx_dangsacd = hiddenCombo(central, "combx_dangsacd");
    ui.combx_dangsa = hiddenCombo(central, "combx_dangsa");
    ui.cbx_type_in_cd = hiddenCombo(central, "cbx_type_in_cd");
    ui.cbx_type_in = hiddenCombo(central, "cbx_type_in");
    ui.cbx_type_out_cd = hiddenCombo(central, "cbx_type_out_cd");
    ui.cbx_type_out = hiddenCombo(central, "cbx_type_out");
    ui.combx_apathcd = hiddenCombo(central, "combx_apathcd");
    ui.combx_apath = hiddenCombo(central, "combx_apath");
    ui.combx_apathcd1 = hiddenCombo(central, "combx_apathcd1");
    ui.combx_apath1 = hiddenCombo(central, "combx_apath1");
    ui.combx_ConslDept1 = hiddenCombo(central, "combx_ConslDept1");
    ui.combx_ConslDept2 = hiddenCombo(central, "combx_ConslDept2");
    ui.combx_ConslDept3 = hiddenCombo(central, "combx_ConslDept3");

    ui.cboHome = hiddenCombo(central, "cboHome", {"무", "유"});
    ui.cboHome->setCurrentIndex(0);
    ui.combx_Location =
        hiddenCombo(central, "combx_Location",
                    {"1구역", "2구역", "3구역", "4구역", "소아구역", "관찰실", "처치실", "일반격리실1",
                     "일반격리실2", "음압격리실", "고압산소실", "5구역", "6구역", "7구역", "소아음압격리실",
                     "소아일반격리실", "소아처치실", "소아중증응급환자구역", "소아응급환자진료구역"});
}

} // namespace

MDG300Controls BuildMDG300Controls(QMainWindow &form)
{
    form.setFont(screenFont());
    auto *central = new QWidget(&form);
    central->setObjectName(QStringLiteral("MDG300F1_Client"));
    form.setCentralWidget(central);

    MDG300Controls ui;
    buildHeader(central, ui);
    buildPatientPanel(central, ui);
    buildHistoryPanel(central, ui);
    buildHiddenControls(central, ui);

    ui.stb_Message = new middleware::TStatusBar(&form);
    ui.stb_Message->setObjectName(QStringLiteral("stb_Message"));
    form.setStatusBar(ui.stb_Message);

    QWidget::setTabOrder(ui.ed_PatNo, ui.bbt_MdHSearch);
    QWidget::setTabOrder(ui.bbt_MdHSearch, ui.ugd_History);
    QWidget::setTabOrder(ui.ugd_History, ui.ugd_RecodKnd);
    QWidget::setTabOrder(ui.ugd_RecodKnd, ui.ugd_RecodDt);
    QWidget::setTabOrder(ui.ugd_RecodDt, ui.bbt_Print);
    return ui;
}

void FitHistoryPanel(const MDG300Controls &ui, int clientWidth, int clientHeight)
{
    // Never narrower than the form's own width: the controls keep their design places.
    const int width = std::max(kScreenWidth, clientWidth);
    ui.pn_Header->resize(width, ui.pn_Header->height());
    ui.pn_PatInfo->resize(width, ui.pn_PatInfo->height());

    QFrame *panel = ui.pn_History;
    const int panelWidth = width - panel->x();
    const int panelHeight = std::max(kMinHistoryHeight, clientHeight - panel->y());
    panel->resize(panelWidth, panelHeight);
    ui.pn_HistoryCaption->resize(panelWidth - 4, ui.pn_HistoryCaption->height());
    ui.ugd_RecodDt->resize(panelWidth - 2 * kMargin - 2,
                           std::max(3 * kGridRowHeight, panelHeight - ui.ugd_RecodDt->y() - kMargin - 2));
}

} // namespace medrec::app
