#pragma once

#include <QString>
#include <QStringList>
#include <QThread>

class FileCopier;

// Copies one finished recording to the folders the operator checked, on a thread of its own at the lowest
// priority, on its own copy of what it needs. Each copy gets a free name on its target, so nothing there
// is replaced, and a name sticks refuse is changed. It tells when it starts and ends, every copy that failed
// and every copy made under a changed name.
class Kopieren : public QThread {
    Q_OBJECT

public:
    Kopieren(QString recordingFolder, QString name, QStringList targetFolders, FileCopier& copier);

    QString source() const { return folder_ + name_; }

signals:
    void copying();
    void failed(const QString& message);
    void renamed(const QString& message);

protected:
    void run() override;

private:
    const QString folder_;
    const QString name_;
    const QStringList targets_;
    FileCopier& copier_;
};
