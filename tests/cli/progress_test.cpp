// The progress line: its text for known and unknown sizes and narrow terminals, when it shows,
// whose it is, and that it is gone before anything else is written.
#include "progress.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "console.h"

namespace {

TEST(Progress, Text) {
    const struct {
        std::string name;
        uint64_t done, total;
        double seconds;
        unsigned width;
        std::string expected;
    } cases[] = {
        {"big.iso", 42'000'000, 100'000'000, 2, 80, "big.iso  42%  21.0 MB/s  0:03 left"},
        {"-", 5'000'000, 0, 2, 80, "-  5.0 MB  2.5 MB/s"},
        {"x", 1'000'000, 10'000'000'000, 1, 80, "x  0%  1.0 MB/s  2:46:39 left"},
        {"grew", 300, 200, 1, 80, "grew  100%  0.0 MB/s  0:00 left"},
        {"no time yet", 0, 100, 0, 80, "no time yet  0%  0.0 MB/s"},
        {"a\nb\tc", 1, 2, 1, 80, "a?b?c  50%  0.0 MB/s  0:01 left"},
        // The name loses its start to fit, never in the middle of a UTF-8 character.
        {"folder/deep/file.iso", 1, 2, 1, 40, "...p/file.iso  50%  0.0 MB/s  0:01 left"},
        {"d/\xc3\xa9\xc3\xa9\xc3\xa9", 1, 2, 1, 34,
         "...\xc3\xa9\xc3\xa9  50%  0.0 MB/s  0:01 left"},
        {"tiny", 1, 2, 1, 20, "  50%  0.0 MB/s  0:"},
    };
    for (const auto& c : cases) {
        const std::string text = ProgressText(c.name, c.done, c.total, c.seconds, c.width);
        EXPECT_EQ(text, c.expected) << c.name;
        EXPECT_LT(text.size(), c.width) << c.name;
    }
}

struct FakeLine : StatusLine {
    std::vector<std::string> events;
    void ShowStatus(std::string_view text) override {
        events.push_back("show " + std::string(text));
    }
    void ClearStatus() override { events.push_back("clear"); }
    unsigned StatusWidth() const override { return 80; }
    bool OnTerminal() const override { return true; }
};

TEST(Progress, ShowsAfterASecondOneInputAtATimeAndErasesIt) {
    FakeLine line;
    double now = 100;
    ProgressDisplay display(line, [&] { return now; });
    auto first = display.Start("first");
    auto quick = display.Start("quick");
    first->Update(1'000'000, 4'000'000);
    now = 100.9;
    quick->Update(1, 2);
    quick.reset();  // done within the second: never shown, nothing to erase
    EXPECT_TRUE(line.events.empty());

    now = 101;
    first->Update(1'000'000, 4'000'000);
    now = 101.1;  // too soon to redraw
    first->Update(2'000'000, 4'000'000);
    auto second = display.Start("second");
    now = 102.5;
    second->Update(1, 2);  // the line is the first one's
    first->Update(3'000'000, 4'000'000);
    first.reset();
    now = 102.6;  // the second's next turn is a redraw interval after it was turned away
    second->Update(1, 2);
    now = 102.7;
    second->Update(1, 2);
    second.reset();
    EXPECT_EQ(line.events, (std::vector<std::string>{
                               "show first  25%  1.0 MB/s  0:03 left",
                               "show first  75%  1.2 MB/s  0:01 left",
                               "clear",
                               "show second  50%  0.0 MB/s  0:02 left",
                               "clear",
                           }));
}

TEST(Progress, OnlyWhereAsked) {
    const struct {
        ProgressMode mode;
        bool terminal, silent, shown;
    } cases[] = {
        {ProgressMode::Auto, true, false, true}, {ProgressMode::Auto, false, false, false},
        {ProgressMode::Auto, true, true, false}, {ProgressMode::On, false, true, true},
        {ProgressMode::Off, true, false, false},
    };
    for (const auto& c : cases) {
        struct : FakeLine {
            bool terminal = false;
            bool OnTerminal() const override { return terminal; }
        } line;
        line.terminal = c.terminal;
        EXPECT_EQ(ProgressFor(c.mode, line, c.silent) != nullptr, c.shown)
            << static_cast<int>(c.mode) << c.terminal << c.silent;
    }
}

std::string Drain(int fd) {
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

TEST(Progress, ConsoleErasesTheStatusBeforeWriting) {
    int out[2], err[2];
    ASSERT_EQ(pipe2(out, O_NONBLOCK), 0);
    ASSERT_EQ(pipe2(err, O_NONBLOCK), 0);
    {
        Console console("prog", out[1], err[1]);
        console.ShowStatus("long status");
        console.ShowStatus("short");
        console.Write("result\n");
        console.ShowStatus("again");
        console.Report("a message");
        console.ClearStatus();  // nothing shown: nothing written
    }
    EXPECT_EQ(Drain(out[0]), "result\n");
    EXPECT_EQ(Drain(err[0]),
              "\rlong status\rshort      \rshort\r     \r\ragain\r     \rprog: a message\n");
    for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
}

}  // namespace
