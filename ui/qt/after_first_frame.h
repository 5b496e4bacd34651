// Start-up work that the first frame need not wait for.
#pragma once

#include <QObject>

#include <functional>

// Runs `work` on the turn of the event loop after the application's first paint, when that frame
// has been flushed to the screen; `context` going first cancels it.
void afterFirstFrame(QObject* context, std::function<void()> work);
