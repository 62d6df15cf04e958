#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class Tinfoform;
}

// The information window: the program and its version, its licence, the libraries and programs of other
// makers with their licences, and the version history. A title bar without buttons; "Schliessen" closes it.
class Tinfoform : public QDialog {
    Q_OBJECT

public:
    explicit Tinfoform(const QStringList& uiTexts, QWidget* parent = nullptr);
    ~Tinfoform() override;

    Ui::Tinfoform& form() { return *ui; }

    // The caption and the button from the UI texts; the other texts are not translated.
    void applyTexts(const QStringList& uiTexts);

private:
    std::unique_ptr<Ui::Tinfoform> ui;
};
