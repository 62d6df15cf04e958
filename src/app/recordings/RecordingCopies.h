#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>

class Kopieren;
class TForm1;

// The copies of finished recordings to the checked drives: one worker after the other, "USB-Speicher nicht
// entfernen !" in red while one runs, and a message for every copy that failed.
class RecordingCopies : public QObject {
    Q_OBJECT

public:
    explicit RecordingCopies(TForm1& form);
    ~RecordingCopies() override;

    // Copies folder + name to each non-empty target folder.
    void copy(const QString& folder, const QString& name, const QStringList& targets);
    // The recordings being copied or waiting for it.
    QSet<QString> busyFiles() const;
    bool busy() const { return !workers_.empty(); }

signals:
    // Every copy has ended.
    void idle();

private:
    void startNext();
    void workerDone();

    TForm1& form_;
    // The front one runs.
    std::deque<std::unique_ptr<Kopieren>> workers_;
};
