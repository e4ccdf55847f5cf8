// Letting the event loop run until something has happened, within a time limit.
#pragma once

#include <QElapsedTimer>
#include <QTest>
#include <functional>

// True as soon as `done` holds; false when `limitMs` ran out first. Events are processed meanwhile.
inline bool WaitUntil(const std::function<bool()>& done, int limitMs = 5000) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.hasExpired(limitMs)) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}
