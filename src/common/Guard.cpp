#include "Guard.h"

#include "Dialogs.h"
#include "KandolorError.h"

bool guarded(Dialogs& dialogs, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const KandolorError& e) {
        dialogs.showMessage(e.message());
    } catch (const std::exception& e) {
        dialogs.showMessage(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
