#include "ControlText.h"
#include "PrinterCheck.h"
#include "RecordingPresenter.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

using namespace medrec::common;
using medrec::testing::RecordedMessage;
using medrec::testing::ScopedRecordingPresenter;

namespace {

// Sets or unsets an environment variable for one scope.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const char *value) : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

constexpr const char *kNoPrinter = "프린터가 제대로 설치되었는지 확인하시기 바랍니다.";

} // namespace

TEST(SetControlText, EditsCombosAndPanels)
{
    QLineEdit edit;
    SetControlText(&edit, "00001234");
    EXPECT_EQ(edit.text(), "00001234");

    QComboBox editable;
    editable.setEditable(true);
    SetControlText(&editable, "홍길동");
    EXPECT_EQ(editable.currentText(), "홍길동");

    QComboBox list;
    list.addItems({"", "내과", "외과"});
    SetControlText(&list, "외과");
    EXPECT_EQ(list.currentIndex(), 2);
    SetControlText(&list, "치과"); // not an item: nothing selected
    EXPECT_EQ(list.currentIndex(), -1);

    QLabel panel;
    SetControlText(&panel, "M/35세");
    EXPECT_EQ(panel.text(), "M/35세");
    EXPECT_EQ(ControlText(&panel), "M/35세");

    QPushButton button(QStringLiteral("조 회"));
    SetControlText(&button, "changed");
    EXPECT_EQ(button.text(), "조 회");
    EXPECT_EQ(ControlText(&button), "");
    SetControlText(nullptr, "nothing");
}

TEST(PrinterMissing, ElectronicCopiesCountAsAPrinter)
{
    ScopedRecordingPresenter presenter;
    ScopedEnv env("MEDREC_PRINT_TO", "pdf:/tmp/copies");
    EXPECT_FALSE(PrinterMissing());
    EXPECT_TRUE(presenter->log().empty());
}

TEST(PrinterMissing, AMalformedSettingIsNoPrinter)
{
    for (const char *setting : {"pdf:", "/tmp/copies", "printer"}) {
        SCOPED_TRACE(setting);
        ScopedRecordingPresenter presenter;
        ScopedEnv env("MEDREC_PRINT_TO", setting);
        EXPECT_TRUE(PrinterMissing());
        EXPECT_EQ(presenter->texts(RecordedMessage::Channel::Plain), (std::vector<std::string>{kNoPrinter}));
        EXPECT_EQ(presenter->log().size(), 1u);
    }
}

TEST(PrinterMissing, WithoutTheSettingTheSystemPrinterDecides)
{
    ScopedRecordingPresenter presenter;
    ScopedEnv env("MEDREC_PRINT_TO", nullptr);
    const bool systemPrinter = !QPrinterInfo::defaultPrinter().isNull();
    EXPECT_EQ(PrinterMissing(), !systemPrinter);
    EXPECT_EQ(presenter->texts(RecordedMessage::Channel::Plain).size(), systemPrinter ? 0u : 1u);
}
