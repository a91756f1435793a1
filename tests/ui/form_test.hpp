#pragma once

#include "fakes/case_table.hpp"
#include "fakes/job_files_test.hpp"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include <stdexcept>

namespace quorvex::test {

// The rows of a schedule window, one a line (no line end after the last), their columns
// apart by the separator.
inline std::string rowsOf(frmSchedule& schedule, const QString& separator = " | ")
{
    std::string rows;
    QTreeWidget& list = *schedule.lvwSchedule();
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < list.columnCount(); ++column)
            cells << list.topLevelItem(row)->text(column);
        rows += (row == 0 ? "" : "\n") + cells.join(separator).toStdString();
    }
    return rows;
}

// A window of the program, m_form, worked through its controls by their names as a user would.
class FormTest : public JobFilesTest {
protected:
    // A control of the form; a misspelt name fails the test with the name, not on a null pointer.
    template <class T = QWidget> T* find(const QString& name) const
    {
        T* control = m_form->findChild<T*>(name);
        if (control == nullptr)
            throw std::runtime_error("no control " + name.toStdString());
        return control;
    }
    void click(const QString& name) const { find<QAbstractButton>(name)->click(); }
    void trigger(const QString& name) const { find<QAction>(name)->trigger(); }
    // Sets controls from "<name>=<value>;...": a box's text, a list's entry (none when empty),
    // on or off for a button; <dir> stands for the application directory.
    void set(const std::string& entries) const
    {
        for (const QString& entry : QString::fromStdString(entries).split(';')) {
            QString value = entry.section('=', 1);
            value.replace("<dir>", QString::fromStdString(dir().string()));
            QWidget* widget = find(entry.section('=', 0, 0));
            if (auto* edit = qobject_cast<QLineEdit*>(widget))
                edit->setText(value);
            else if (auto* list = qobject_cast<QComboBox*>(widget))
                value.isEmpty() ? list->setCurrentIndex(-1) : list->setCurrentText(value);
            else if (auto* button = qobject_cast<QAbstractButton*>(widget);
                     button->isChecked() != (value == "on"))
                button->click();
        }
    }
    // The named controls as "<name>=<value>" (the values as set() takes them, or a label's
    // text; nothing for a push button), "!" before the value of a disabled control.
    std::string form(const QString& names) const
    {
        std::string shown;
        for (const QString& name : names.split(' ')) {
            QWidget* widget = find(name);
            QString value;
            if (auto* edit = qobject_cast<QLineEdit*>(widget))
                value = edit->text();
            else if (auto* list = qobject_cast<QComboBox*>(widget))
                value = list->currentText();
            else if (auto* label = qobject_cast<QLabel*>(widget))
                value = label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(widget); button->isCheckable())
                value = button->isChecked() ? "on" : "off";
            shown += (shown.empty() ? "" : " ") + name.toStdString() + "=" +
                     (widget->isEnabled() ? "" : "!") + value.toStdString();
        }
        return shown;
    }
    // The cases of tests/data/ui/<name>.
    static std::vector<CaseFields> cases(const std::string& name)
    {
        return readCaseTable(QUORVEX_TEST_DATA_DIR "/" + name);
    }

    QWidget* m_form = nullptr;
};

} // namespace quorvex::test
