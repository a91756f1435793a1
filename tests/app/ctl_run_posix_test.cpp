// quorvexctl run where only a POSIX shell can set the scene: two runs at once.
#include "ctl_run_test.hpp"

#include <cstdlib>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

// Two runs of one job at once, as from quorvexctl beside the agent, take turns on the target:
// the copies are exactly those of two runs one after the other. Repeated, since without the
// target's lock the outcome would depend on how the two happen to interleave. The zip stand-in
// is the one beside quorvexctl: the data folder has none.
TEST_F(CtlRunTest, TwoRunsOfOneJobAtOnceRotateAsTwoRunsOneAfterTheOther)
{
    const std::string big(8 << 20, 'n');
    putFile(path("data/Sales.mdb"), big);
    addJob("Plain", "Sales.mdb");
    addJob("Zipped", "Sales.mdb", "Compress=-1\r\n");
    const auto quoted = [](const std::string& text) { return "'" + text + "'"; };
    for (const std::string job : {"Plain", "Plain", "Zipped", "Zipped"}) {
        SCOPED_TRACE(job);
        fs::remove_all(target());
        fs::create_directories(target());
        for (const std::string copy : {"Sales", "Sales_1", "Sales_4"})
            putFile(target() / (copy + (job == "Plain" ? ".mdb" : ".zip")), copy);
        std::string both;
        for (const std::string status : {"first", "second"})
            both += "(" + quoted(QUORVEXCTL_PATH) + " run " + job + " --app-dir " +
                    quoted(dir().string()) + " 2>/dev/null; echo $? >" + quoted(path(status)) +
                    ") & ";
        ASSERT_EQ(std::system((both + "wait").c_str()), 0);
        EXPECT_EQ(readFile(path("first")) + readFile(path("second")), "0\n0\n");
        Files files = targetFiles();
        const bool zip = job == "Zipped";
        for (auto& [name, content] : files)
            if (zip && content.starts_with("PK"))
                content = "zip";
            else if (content == big)
                content = "new";
        EXPECT_EQ(files, zip ? (Files{{"Sales.zip", "zip"},
                                      {"Sales_1.zip", "zip"},
                                      {"Sales_2.zip", "Sales"},
                                      {"Sales_3.zip", "Sales_1"}})
                             : (Files{{"Sales.mdb", "new"},
                                      {"Sales_1.mdb", "new"},
                                      {"Sales_2.mdb", "Sales"},
                                      {"Sales_3.mdb", "Sales_1"}}));
    }
}

} // namespace
} // namespace quorvex::test
