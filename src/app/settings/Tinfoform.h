#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class Tinfoform;
}

// The information window: the program and its version, its licence, the libraries and programs of other
// makers with their licences, makers and web addresses, and the version history. A title bar without buttons;
// "Schliessen" closes it.
class Tinfoform : public QDialog {
    Q_OBJECT

public:
    explicit Tinfoform(const QStringList& uiTexts, QWidget* parent = nullptr);
    ~Tinfoform() override;

    Ui::Tinfoform& form() { return *ui; }

    // Every text from the UI texts: the caption, the button, the version line and the notices. Names,
    // licences and web addresses of the other makers, and the version history, stay as they are.
    void applyTexts(const QStringList& uiTexts);

private:
    std::unique_ptr<Ui::Tinfoform> ui;
};
