#pragma once

#include "fakes/test_environment.hpp"
#include "jobs/database_job.hpp"
#include "support/preferences.hpp"
#include "ui/schedule/frm_schedule.hpp"

#include <QTreeWidget>

#include <memory>
#include <string>
#include <vector>

namespace quorvex::test {

// A schedule window in a fresh application directory, with job files made on demand.
class ScheduleTest : public AppDirTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path jobsDir() const { return dir() / "DatabaseJobs"; }
    // A daily backup job of a database of its own, saved to its file; its row is added.
    std::string addBackupJob(const std::string& name, bool sourceExists = true);
    void addRow(const CDatabaseJob& job, const std::string& file);
    std::filesystem::path backupTarget() const { return dir() / "target"; }
    std::filesystem::path sourceOf(const std::string& name) const
    {
        return dir() / "data" / (name + ".mdb");
    }

    QTreeWidget& list() const { return *m_window->lvwSchedule(); }
    QString cell(int row, int column) const;
    std::vector<std::string> names() const;
    QString countText() const;
    void selectRows(std::initializer_list<int> rows);

    std::unique_ptr<frmSchedule> m_window;
    int m_wizardShown = 0;
    bool m_wizardAddJob = false;
};

} // namespace quorvex::test
