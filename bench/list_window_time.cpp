// The list window as a whole process, to time against corvane-sum -c on the same list and to see
// how long the event loop ever waits while rows pour in: checks LIST (or, with --hash, hashes the
// FILES with SHA-256) in the window on the offscreen platform, prints the summary and the longest
// gap between two turns of the event loop, and exits.
//   list_window_time SHA256SUMS
//   list_window_time --hash DIR...
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "sum_list_model.h"
#include "sum_list_window.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: list_window_time LIST | --hash FILE...\n");
        return 2;
    }
    CSumListWindow window;
    window.show();
    // A timer that wants to run every 5 ms: the longest gap between its turns is the longest
    // the window was unresponsive.
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    clock.start();
    beat.start(5);
    if (std::strcmp(argv[1], "--hash") == 0) {
        window.HashFiles(std::vector<std::string>(argv + 2, argv + argc), Algorithm::Sha256);
    } else {
        window.CheckList(argv[1]);
    }
    window.WaitForIdle();
    std::printf("%s\nrows: %zu, %lld ms, longest event-loop gap %lld ms\n",
                window.SummaryText().toStdString().c_str(), window.Model().Rows().size(),
                static_cast<long long>(clock.elapsed()), static_cast<long long>(longest));
    return 0;
}
