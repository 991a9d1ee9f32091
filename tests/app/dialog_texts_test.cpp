// The progress bar's text: share done, speed and, once it can be told, the time left as a clock
// shows it.
#include "dialog_texts.h"

#include <gtest/gtest.h>

#include <QString>
#include <cstdint>

namespace {

TEST(ProgressText, ShareSpeedAndTimeLeft) {
    struct Case {
        uint64_t done, total;
        int64_t elapsedMs;
        const char* expected;
    };
    const Case cases[] = {
        {0, 200'000'000, 200, "0%  0.0 MB/s"},
        {1'000'000, 200'000'000, 500, "0%  2.0 MB/s"},  // too early to tell the time left
        {50'000'000, 200'000'000, 1000, "25%  50.0 MB/s  3 s left"},
        {10'000'000, 200'000'000, 2000, "5%  5.0 MB/s  38 s left"},
        {6'500'000, 1'000'000'000, 1000, "0%  6.5 MB/s  2:33 left"},
        {1'000'000, 7'000'000'000, 2000, "0%  0.5 MB/s  3:53:18 left"},
        {1'000'000, 61'000'000, 1000, "1%  1.0 MB/s  1:00 left"},
        {200'000'000, 200'000'000, 4000, "100%  50.0 MB/s"},
        {250'000'000, 200'000'000, 4000, "100%  62.5 MB/s"},  // the file grew
        {75, 150, 1000, "50%  0.0 MB/s  1 s left"},
        {123'000'000, 0, 3000, "123 MB  41.0 MB/s"},  // no size: a device or a pipe
        {2'500'000, 0, 1000, "2.5 MB  2.5 MB/s"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DialogTexts::Progress(c.done, c.total, c.elapsedMs), QLatin1String(c.expected))
            << c.done << "/" << c.total << " after " << c.elapsedMs << " ms";
    }
}

}  // namespace
