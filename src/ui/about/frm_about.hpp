#pragma once

#include <QDialog>

class QLabel;

namespace quorvex {

// The About box: the program's title with its version and build, what it is, the maker's
// notice, the error log, and the maker's addresses as links. F1 asks for the help page.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

    void cmdClose_Click();
    void cmdErrorLog_Click();
    void lblMailTo_Click();
    void lblWebsite_Click();

signals:
    void helpRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    QLabel* addLabel(const char* name, const QString& text, int left, int top, int width,
                     int height);
    QLabel* addLink(const char* name, const QString& text, int left, int top, int width);
    void addSeparator(int grey, int white, int top, int left, int right);

    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblMailTo = nullptr;
    QLabel* m_lblWebsite = nullptr;
};

} // namespace quorvex
