// Progress of long computations on the console's status line:
//   "big.iso  42%  812.3 MB/s  0:07 left"   ("big.iso  1234.5 MB  812.3 MB/s" without a size)
// An input shows only once it has taken a second, redrawn a few times a second at most, one input
// at a time (the first that grew long); its line is erased when it is done.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "many_files.h"

// What the display draws on: the console, or a stand-in in tests.
class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual void ShowStatus(std::string_view text) = 0;
    virtual void ClearStatus() = 0;
    virtual unsigned StatusWidth() const = 0;
    virtual bool OnTerminal() const = 0;
};

// --progress, --no-progress, or neither.
enum class ProgressMode { Auto, On, Off };

// Seconds from any fixed start.
using Clock = std::function<double()>;
double SteadySeconds();

// The status text for `done` of `total` bytes (total 0: unknown) after `seconds`, in fewer than
// `width` columns: the name loses its start first, and shows control characters as '?'.
std::string ProgressText(std::string_view name, uint64_t done, uint64_t total, double seconds,
                         unsigned width);

class ProgressDisplay : public RunProgress {
public:
    static constexpr double kShowAfter = 1.0;    // seconds before an input shows
    static constexpr double kRedrawEvery = 0.2;  // seconds between two draws

    explicit ProgressDisplay(StatusLine& statusLine, Clock now = SteadySeconds);

    // One input's progress, started when the input is. The hashing core calls Update after each
    // slice, from the thread hashing that input.
    class Meter : public RunProgress::Meter {
    public:
        ~Meter() override;  // erases the line if it is this input's
        Meter(const Meter&) = delete;
        Meter& operator=(const Meter&) = delete;
        void Update(uint64_t done, uint64_t total) override;

    private:
        friend class ProgressDisplay;
        Meter(ProgressDisplay& owner, std::string inputName, double startTime);
        ProgressDisplay& display;
        std::string name;
        double start;
        double nextDraw;
    };
    std::unique_ptr<Meter> Start(std::string name);
    std::unique_ptr<RunProgress::Meter> Start(std::size_t first, std::size_t count,
                                              const std::string& label) override {
        (void)first;
        (void)count;
        return Start(std::string(label));
    }

private:
    StatusLine& line;
    Clock clock;
    std::mutex mutex;
    const Meter* shown = nullptr;  // whose line is on the terminal
};

// The display a run gets: none when switched off, and by default none unless the line is on a
// terminal and the run is not meant to be silent (-c --status).
std::unique_ptr<ProgressDisplay> ProgressFor(ProgressMode mode, StatusLine& line, bool silent);
