#pragma once

#include <functional>

class Dialogs;

// Runs an entry point that Qt calls (a signal, a timer, a start-up step). A KandolorError or any
// other exception stops it where it is; its message is shown and the program goes on.
// Returns false when the action was stopped by an exception.
bool guarded(Dialogs& dialogs, const std::function<void()>& action);
