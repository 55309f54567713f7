// The code/name combo fillers against a real service host on loopback.
#include "CodeCombos.h"
#include "RecordingPresenter.h"
#include "TestSupport.h"
#include "TuxCom.h"

#include <QComboBox>
#include <QStringList>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

using namespace medrec;
using namespace medrec::common;
namespace mt = medrec::testing;
using Channel = mt::RecordedMessage::Channel;

namespace {

enum class Outcome { Rows, NoRows, Fail };

// What the host answers and what it was asked.
struct HostState
{
    std::atomic<Outcome> outcome{Outcome::Rows};
    std::mutex mutex;
    std::vector<std::string> lastInputs;
};

HostState &host()
{
    static HostState state;
    return state;
}

void remember(server::ServiceContext &c, std::initializer_list<const char *> fields)
{
    std::vector<std::string> inputs;
    for (const char *f : fields)
        inputs.push_back(c.request().text(f));
    std::lock_guard lock(host().mutex);
    host().lastInputs = std::move(inputs);
}

bool answered(server::ServiceContext &c)
{
    switch (host().outcome.load()) {
    case Outcome::Fail:
        c.fail("코드 조회 실패", 1); // 1: the plain message box
        return false;
    case Outcome::NoRows:
        return false;
    case Outcome::Rows:
        break;
    }
    return true;
}

void registerCodeServices(server::ServiceRegistry &r)
{
    r.add("MD_DEPTC_L1", [](server::ServiceContext &c) {
        remember(c, {"S_TYPE1", "S_TYPE2"});
        if (!answered(c))
            return;
        const bool wards = c.request().text("S_TYPE1") == "2";
        const std::vector<std::pair<const char *, const char *>> rows =
            wards ? std::vector<std::pair<const char *, const char *>>{{"51", "51병동"}, {"ICU", "중환자실"}}
                  : std::vector<std::pair<const char *, const char *>>{{"IM", "내과"}, {"GS", "외과"}, {"PED", "소아과"}};
        for (const auto &[code, name] : rows) {
            c.reply().addText("S_CODE1", code);
            c.reply().addText("S_CODE2", name);
        }
    });
    r.add("MD_MCOMC_L1", [](server::ServiceContext &c) {
        remember(c, {"S_TYPE1", "S_CODE1", "S_CODE2", "S_CODE3"});
        if (!answered(c))
            return;
        for (const auto &[code, name] : std::vector<std::pair<const char *, const char *>>{{"01", "귀가"}, {"02", "입원"}}) {
            c.reply().addText("S_STRING1", "204");
            c.reply().addText("S_STRING3", code);
            c.reply().addText("S_STRING6", name);
        }
    });
}

QStringList items(const QComboBox &combo)
{
    QStringList out;
    for (int i = 0; i < combo.count(); ++i)
        out << combo.itemText(i);
    return out;
}

std::vector<std::string> lastInputs()
{
    std::lock_guard lock(host().mutex);
    return host().lastInputs;
}

class CodeCombos : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_server = new mt::InProcessServer(registerCodeServices);
        s_environment = new std::string(s_server->writeEnvironment());
    }
    static void TearDownTestSuite()
    {
        delete s_server;
        delete s_environment;
    }

    void SetUp() override
    {
        host().outcome = Outcome::Rows;
        middleware::SetCommandLine({"medrec", "MR", "LEE"});
        ASSERT_TRUE(middleware::TuxInit(*s_environment)) << middleware::LastTuxMessage();
        m_code.addItems({"old"});
        m_name.addItems({"이전"});
    }
    void TearDown() override { middleware::TuxTerm(); }

    static mt::InProcessServer *s_server;
    static std::string *s_environment;
    mt::ScopedRecordingPresenter m_recorder;
    QComboBox m_code;
    QComboBox m_name;
};

mt::InProcessServer *CodeCombos::s_server = nullptr;
std::string *CodeCombos::s_environment = nullptr;

} // namespace

TEST_F(CodeCombos, DepartmentsAndWardsFillBothCombosInParallel)
{
    FillDeptCombo(&m_code, &m_name);
    EXPECT_EQ(lastInputs(), (std::vector<std::string>{"1", "EB1"}));
    EXPECT_EQ(items(m_code), (QStringList{"", "IM", "GS", "PED"}));
    EXPECT_EQ(items(m_name), (QStringList{"", "내과", "외과", "소아과"}));
    EXPECT_EQ(CodeToName(&m_code, &m_name, "PED"), "소아과");
    EXPECT_EQ(CodeToName(&m_code, &m_name, "XX"), "");

    FillWardCombo(&m_code, &m_name);
    EXPECT_EQ(lastInputs(), (std::vector<std::string>{"2", ""}));
    EXPECT_EQ(items(m_code), (QStringList{"", "51", "ICU"}));
    EXPECT_EQ(items(m_name), (QStringList{"", "51병동", "중환자실"}));
    EXPECT_TRUE(m_recorder->log().empty());
}

TEST_F(CodeCombos, CommonCodeGroup)
{
    FillCommonCodeCombo("204", &m_code, &m_name);
    EXPECT_EQ(lastInputs(), (std::vector<std::string>{"S", "204", "000", ""}));
    EXPECT_EQ(items(m_code), (QStringList{"", "01", "02"}));
    EXPECT_EQ(items(m_name), (QStringList{"", "귀가", "입원"}));
}

TEST_F(CodeCombos, NoRowsOrAFailureKeepWhatTheCombosHeld)
{
    host().outcome = Outcome::NoRows;
    FillDeptCombo(&m_code, &m_name);
    FillCommonCodeCombo("204", &m_code, &m_name);
    EXPECT_EQ(items(m_code), (QStringList{"old"}));
    EXPECT_EQ(items(m_name), (QStringList{"이전"}));
    EXPECT_TRUE(m_recorder->log().empty());

    host().outcome = Outcome::Fail;
    FillWardCombo(&m_code, &m_name);
    EXPECT_EQ(items(m_code), (QStringList{"old"}));
    EXPECT_EQ(items(m_name), (QStringList{"이전"}));
    EXPECT_EQ(m_recorder->texts(Channel::Plain), (std::vector<std::string>{"코드 조회 실패"}));
}
