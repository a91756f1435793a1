#pragma once

#include "fakes/job_files_test.hpp"

#include <QLabel>
#include <QTreeWidget>

#include <memory>
#include <string>
#include <vector>

namespace quorvex::test {

// A schedule window in a fresh application directory, with job files made on demand; the
// job wizard only notes how it was asked.
class ScheduleTest : public JobFilesTest {
protected:
    void SetUp() override
    {
        JobFilesTest::SetUp();
        m_window = std::make_unique<frmSchedule>();
        m_window->setJobWizard([this](frmSchedule& owner, bool addJob) {
            EXPECT_EQ(&owner, m_window.get());
            ++m_wizardShown;
            m_wizardAddJob = addJob;
        });
    }
    void TearDown() override
    {
        m_window.reset();
        JobFilesTest::TearDown();
    }

    // A daily backup job of a database of its own, saved to its file and listed.
    std::string addBackupJob(const std::string& name, bool sourceExists = true)
    {
        const std::string file = saveBackupJob(name, name, DateTime::fromTime(23, 30),
                                               at(2026, 12, 1), sourceExists);
        listJob(*m_window, file);
        return file;
    }
    QTreeWidget& list() const { return *m_window->lvwSchedule(); }
    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (int i = 0; i < list().topLevelItemCount(); ++i)
            result.push_back(list().topLevelItem(i)->text(0).toStdString());
        return result;
    }
    QString countText() const { return m_window->findChild<QLabel*>("NbrDatabaseJobs")->text(); }

    std::unique_ptr<frmSchedule> m_window;
    int m_wizardShown = 0;
    bool m_wizardAddJob = false;
};

} // namespace quorvex::test
