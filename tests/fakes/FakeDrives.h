#pragma once

#include "common/Drives.h"

#include <algorithm>

// Volumes a test sets; arrive() and remove() change them and send the notice, as the real backend does.
class FakeDrives : public Drives {
public:
    std::vector<Volume> volumes() override { return list; }
    void setListener(std::function<void(const DriveNotice&)> listener) override {
        listener_ = std::move(listener);
    }

    static Volume volume(const QString& root, int kind, const QString& label, bool medium = true) {
        const QString name = root.section(QLatin1Char('/'), -2, -2);
        return {root, name, kind, label, medium};
    }
    void arrive(const Volume& volume, bool mediumChanged = false) {
        list.push_back(volume);
        std::sort(list.begin(), list.end(), [](const Volume& a, const Volume& b) { return a.root < b.root; });
        notify({DriveNotice::Arrival, mediumChanged, volume});
    }
    void remove(const QString& root, bool mediumChanged = false) {
        const auto gone =
            std::find_if(list.begin(), list.end(), [&](const Volume& v) { return v.root == root; });
        if (gone == list.end())
            return;
        const Volume volume = *gone;
        list.erase(gone);
        notify({DriveNotice::Removal, mediumChanged, volume});
    }

    std::vector<Volume> list;

private:
    void notify(const DriveNotice& notice) {
        if (listener_)
            listener_(notice);
    }
    std::function<void(const DriveNotice&)> listener_;
};
