#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class TDualListDlg;
}
class TForm1;

// The copy dialog: the recordings grouped by age on the left, the drives on the right; "--> Kopieren -->"
// copies the selected recordings to up to four selected drives, on a worker thread with a progress window.
class TDualListDlg : public QDialog {
    Q_OBJECT

public:
    explicit TDualListDlg(TForm1& form);
    ~TDualListDlg() override;

    Ui::TDualListDlg& form() { return *ui; }

    // The captions from the UI texts.
    void FormCreate(const QStringList& uiTexts);
    // Rebuilds both lists.
    void FormActivate();
    void sendClick();
    // The copies of "--> Kopieren -->" are running.
    bool copying() const { return copying_; }

protected:
    bool event(QEvent* event) override;

private:
    struct Task {
        QString source;
        QString target;
        bool replace = false;
    };
    std::vector<Task> tasksFor(const QStringList& targets, const QStringList& sources);
    void runCopies(const std::vector<Task>& tasks);

    std::unique_ptr<Ui::TDualListDlg> ui;
    TForm1& main_;
    bool copying_ = false;
};
