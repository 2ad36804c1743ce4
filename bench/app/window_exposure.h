#pragma once

// The child side of the window start benchmark: shows a window and reports when it is on screen.

#include <QTest>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tolvane::bench {

inline long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// Shows `window`, prints the monotonic clock in nanoseconds once it is exposed and ends the
// program: the teardown is not what is measured.
[[noreturn]] inline void ShowAndReportExposure(QWidget& window) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::_Exit(1);
    }
    std::printf("%lld\n", MonotonicNanoseconds());
    std::fflush(stdout);
    std::_Exit(0);
}

}  // namespace tolvane::bench
