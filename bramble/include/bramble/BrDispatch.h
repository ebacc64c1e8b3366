#pragma once
// Posting work to the main thread, the one documented way across threads.
//
// brPostMain() may be called from any thread; fn runs later on the thread of
// `context` (the application object when none is given), inside whatever
// event loop is running there, nested modal loops included. When `context`
// is destroyed before the call runs, the call is dropped.
#include <functional>

class QObject;

void brPostMain(std::function<void()> fn, QObject *context = nullptr);

// Runs fn once, delayMs milliseconds from now, on the thread of `context`
// (the application object when none is given).
void brPostMainAfter(int delayMs, std::function<void()> fn, QObject *context = nullptr);
