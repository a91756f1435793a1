#include "agent/app_setup.hpp"
#include "fakes/test_environment.hpp"
#include "platform/single_instance.hpp"

#include <QProcess>

namespace quorvex::test {
namespace {

using AgentProgramTest = AppDirTest;

// The agent program itself, copied into a fresh application directory and started without a
// display, even though the environment asks for X11: without a display it always runs off
// screen.
TEST_F(AgentProgramTest, WithoutADisplayRunsOffscreenRefusesASecondInstanceEndsOnSigterm)
{
    std::filesystem::copy_file(builtAppDir() / "quorvex", dir() / "quorvex");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    QProcess agent;
    agent.setProcessEnvironment(env);
    agent.setProgram(QString::fromStdString(path("quorvex")));
    {
        SingleInstance first(dir().string(), AppSetup::lockFileName());
        ASSERT_FALSE(first.anotherInstanceRuns());
        agent.start();
        ASSERT_TRUE(agent.waitForFinished(30000));
        EXPECT_EQ(agent.exitCode(), 0);
        const QString errors = QString::fromLocal8Bit(agent.readAllStandardError());
        EXPECT_TRUE(
            errors.contains("Verification Error: An instance of Quorvex is already running."))
            << errors.toStdString();
    }

    agent.start();
    ASSERT_TRUE(agent.waitForStarted());
    agent.setReadChannel(QProcess::StandardError);
    while (!agent.canReadLine() && agent.waitForReadyRead(30000)) {
    }
    EXPECT_EQ(QString::fromLocal8Bit(agent.readLine()).trimmed(),
              "quorvex: no display found; running on the offscreen platform as with /SILENT");
    agent.terminate();
    ASSERT_TRUE(agent.waitForFinished(30000));
    EXPECT_EQ(agent.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(agent.exitCode(), 0);
}

} // namespace
} // namespace quorvex::test
