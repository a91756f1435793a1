#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The windows under test need one QApplication for the whole test program.
class QtEnvironment final : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "quorvex_ui_tests";
        static char* argv[] = {name, nullptr};
        // Always off screen: the window tests rely on its instant, certain activation.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] const auto* const g_environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
