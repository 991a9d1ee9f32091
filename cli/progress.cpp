// The progress line: what it says and when it is drawn.
#include "progress.h"

#include <chrono>
#include <cmath>
#include <cstdio>

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

namespace {

std::string Duration(double seconds) {
    const auto whole = static_cast<unsigned long long>(std::ceil(seconds));
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", whole / 3600, whole / 60 % 60,
                      whole % 60);
    else
        std::snprintf(text, sizeof text, "%llu:%02llu", whole / 60, whole % 60);
    return text;
}

std::string Figures(uint64_t done, uint64_t total, double seconds) {
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    char text[96];
    if (total == 0) {
        std::snprintf(text, sizeof text, "  %.1f MB  %.1f MB/s", static_cast<double>(done) / 1e6,
                      rate / 1e6);
        return text;
    }
    const uint64_t shown = done < total ? done : total;
    const int percent =
        static_cast<int>(static_cast<double>(shown) * 100 / static_cast<double>(total));
    std::snprintf(text, sizeof text, "  %d%%  %.1f MB/s", percent, rate / 1e6);
    std::string figures = text;
    if (rate > 0) figures += "  " + Duration(static_cast<double>(total - shown) / rate) + " left";
    return figures;
}

}  // namespace

std::string ProgressText(std::string_view name, uint64_t done, uint64_t total, double seconds,
                         unsigned width) {
    const std::string figures = Figures(done, total, seconds);
    // One column short of the width: a full line would wrap on some terminals.
    const std::size_t room = width > figures.size() + 1 ? width - figures.size() - 1 : 0;
    std::string shown;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        shown += byte < 0x20 || byte == 0x7f ? '?' : c;
    }
    if (shown.size() > room) {
        static constexpr std::string_view kCut = "...";
        std::size_t from = shown.size() - (room > kCut.size() ? room - kCut.size() : 0);
        // Never start inside a UTF-8 sequence.
        while (from < shown.size() && (static_cast<unsigned char>(shown[from]) & 0xc0) == 0x80)
            ++from;
        shown = room >= kCut.size() ? std::string(kCut) + shown.substr(from) : std::string();
    }
    std::string text = shown + figures;
    if (text.size() + 1 > width) text.resize(width > 0 ? width - 1 : 0);
    return text;
}

ProgressDisplay::ProgressDisplay(StatusLine& statusLine, Clock now)
    : line(statusLine), clock(std::move(now)) {}

std::unique_ptr<ProgressDisplay::Meter> ProgressDisplay::Start(std::string name) {
    return std::unique_ptr<Meter>(new Meter(*this, std::move(name), clock()));
}

ProgressDisplay::Meter::Meter(ProgressDisplay& owner, std::string inputName, double startTime)
    : display(owner),
      name(std::move(inputName)),
      start(startTime),
      nextDraw(startTime + kShowAfter) {}

ProgressDisplay::Meter::~Meter() {
    std::lock_guard lock(display.mutex);
    if (display.shown != this) return;
    display.line.ClearStatus();
    display.shown = nullptr;
}

void ProgressDisplay::Meter::Update(uint64_t done, uint64_t total) {
    // Only this input's thread calls it, so the time check needs no lock.
    const double now = display.clock();
    if (now < nextDraw) return;
    nextDraw = now + kRedrawEvery;
    std::lock_guard lock(display.mutex);
    if (display.shown != nullptr && display.shown != this) return;
    display.shown = this;
    display.line.ShowStatus(
        ProgressText(name, done, total, now - start, display.line.StatusWidth()));
}

std::unique_ptr<ProgressDisplay> ProgressFor(ProgressMode mode, StatusLine& line, bool silent) {
    const bool wanted =
        mode == ProgressMode::On || (mode == ProgressMode::Auto && !silent && line.OnTerminal());
    return wanted ? std::make_unique<ProgressDisplay>(line) : nullptr;
}
