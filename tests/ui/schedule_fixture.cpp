#include "schedule_fixture.hpp"

#include <QLabel>

namespace quorvex::test {

void ScheduleTest::SetUp()
{
    AppDirTest::SetUp();
    preferences() = Preferences{-1, 99, ""};
    std::filesystem::create_directories(jobsDir());
    std::filesystem::create_directories(dir() / "data");
    std::filesystem::create_directories(backupTarget());
    m_window = std::make_unique<frmSchedule>();
    m_window->setJobWizard([this](frmSchedule& owner, bool addJob) {
        EXPECT_EQ(&owner, m_window.get());
        ++m_wizardShown;
        m_wizardAddJob = addJob;
    });
}

void ScheduleTest::TearDown()
{
    m_window.reset();
    AppDirTest::TearDown();
}

std::string ScheduleTest::addBackupJob(const std::string& name, bool sourceExists)
{
    if (sourceExists)
        writeFile(sourceOf(name), "database " + name);
    CDatabaseJob job;
    job.setJobName(name);
    job.setJobType(job_type::Backup);
    job.setFrequency(frequency::Daily);
    job.setStartTime(DateTime::fromTime(23, 30));
    job.setDateLastRun(at(2026, 12, 1));
    job.setBackupSourceMDB(sourceOf(name).string());
    job.setBackupTargetDirectory(backupTarget().string());
    job.setNumberCopies(1);
    const std::string file = (jobsDir() / (name + ".tsk")).string();
    job.SaveDatabaseJob(file);
    addRow(job, file);
    return file;
}

void ScheduleTest::addRow(const CDatabaseJob& job, const std::string& file)
{
    m_window->AddItemListView(job.JobName(), job.DateLastRun(), job.DateNextRun(), job.StartTime(),
                              job.JobType(), file);
}

QString ScheduleTest::cell(int row, int column) const
{
    return list().topLevelItem(row - 1)->text(column);
}

std::vector<std::string> ScheduleTest::names() const
{
    std::vector<std::string> result;
    for (int i = 0; i < list().topLevelItemCount(); ++i)
        result.push_back(list().topLevelItem(i)->text(0).toStdString());
    return result;
}

QString ScheduleTest::countText() const
{
    return m_window->findChild<QLabel*>(QStringLiteral("NbrDatabaseJobs"))->text();
}

void ScheduleTest::selectRows(std::initializer_list<int> rows)
{
    list().clearSelection();
    for (int row : rows) {
        QTreeWidgetItem* item = list().topLevelItem(row - 1);
        list().setCurrentItem(item, 0, QItemSelectionModel::Select);
    }
}

} // namespace quorvex::test
