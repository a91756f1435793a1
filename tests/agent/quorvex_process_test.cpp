#include "agent/agent_fixture.hpp"
#include "agent/app_setup.hpp"
#include "platform/single_instance.hpp"

#include <QProcess>

namespace quorvex::test {
namespace {

// The agent program itself, copied into a fresh application directory and started without
// a display.
class AgentProgramTest : public AgentTest {
protected:
    void SetUp() override
    {
        AgentTest::SetUp();
        std::filesystem::copy_file(builtAppDir() / "quorvex", dir() / "quorvex");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        m_agent.setProcessEnvironment(env);
        m_agent.setProgram(QString::fromStdString(path("quorvex")));
    }
    void TearDown() override
    {
        if (m_agent.state() != QProcess::NotRunning) {
            m_agent.kill();
            m_agent.waitForFinished();
        }
        AgentTest::TearDown();
    }

    // The first line the agent writes to standard error.
    QString firstErrorLine()
    {
        m_agent.setReadChannel(QProcess::StandardError);
        while (!m_agent.canReadLine() && m_agent.waitForReadyRead(30000)) {
        }
        return QString::fromLocal8Bit(m_agent.readLine()).trimmed();
    }

    QProcess m_agent;
};

TEST_F(AgentProgramTest, WithoutADisplayItRunsSilentlyAndEndsWithStatusZeroOnSigterm)
{
    m_agent.start();
    ASSERT_TRUE(m_agent.waitForStarted());
    EXPECT_EQ(firstErrorLine(),
              "quorvex: no display found; running on the offscreen platform as with /SILENT");
    m_agent.terminate();
    ASSERT_TRUE(m_agent.waitForFinished(30000));
    EXPECT_EQ(m_agent.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_agent.exitCode(), 0);
}

TEST_F(AgentProgramTest, SecondInstanceSaysSoAndEnds)
{
    SingleInstance first(dir().string(), AppSetup::lockFileName());
    ASSERT_FALSE(first.anotherInstanceRuns());
    m_agent.start();
    ASSERT_TRUE(m_agent.waitForFinished(30000));
    EXPECT_EQ(m_agent.exitCode(), 0);
    const QString errors = QString::fromLocal8Bit(m_agent.readAllStandardError());
    EXPECT_TRUE(errors.contains("Verification Error: An instance of Quorvex is already running."))
        << errors.toStdString();
}

} // namespace
} // namespace quorvex::test
