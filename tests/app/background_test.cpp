// Hashing off the user-interface thread: the event loop keeps turning, the buttons are locked
// while a computation runs, closing cancels it, and the request's cancel flag stops the runners.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

#include "dialog_test_support.h"
#include "hash_request.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"

namespace {

constexpr int kGostIndex = 1;
constexpr int kMd2Index = 2;
// Large enough that MD2, the slowest engine, takes well over the progress bar's delay, small
// enough to be hashed twice in a few seconds.
constexpr std::uintmax_t kLargeSize = 8u << 20;

// Counts the times a widget is shown.
class ShowCounter : public QObject {
public:
    explicit ShowCounter(QWidget* watched) { watched->installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) ++shows;
        return false;
    }
};

std::string SparseFile(const TempDir& dir, const char* name, std::uintmax_t size) {
    const std::string path = dir.WriteFile(name, "corvane");
    std::filesystem::resize_file(path, size);
    return path;
}

std::string SynchronousDigest(int32_t algorithm, const std::string& path) {
    HashRequest request;
    request.SetAlgorithm(algorithm);
    request.SetSource(kSourceFile);
    request.SetFilePath(path);
    return request.Compute();
}

TEST(Background, LargeFileKeepsTheLoopTurningAndMatchesTheSynchronousDigest) {
    TempDir dir;
    const std::string path = SparseFile(dir, "large.bin", kLargeSize);
    CTarnovelDlg dialog;
    auto* hashFile = FindWidget<QPushButton>(dialog, "hashFileButton");
    auto* hashString = FindWidget<QPushButton>(dialog, "hashStringButton");
    ASSERT_TRUE(hashFile && hashString);
    ASSERT_TRUE(ShowActive(dialog));
    auto* bar = FindWidget<QProgressBar>(dialog, "progressBar");
    FindWidget<QComboBox>(dialog, "algorithmList")->setCurrentIndex(kMd2Index);
    dialog.SetControlText(kFilePathBoxId, path);

    int ticks = 0;
    bool lockedWhileRunning = true;
    QString barText;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!dialog.IsBusy()) return;
        ++ticks;
        lockedWhileRunning =
            lockedWhileRunning && !hashFile->isEnabled() && !hashString->isEnabled();
        if (bar->isVisible()) barText = bar->text();
    });
    timer.start(10);
    dialog.OnHashFile();
    EXPECT_TRUE(dialog.IsBusy());
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "");
    dialog.WaitForIdle();
    timer.stop();

    EXPECT_GT(ticks, 0);
    EXPECT_TRUE(lockedWhileRunning);
    EXPECT_TRUE(hashFile->isEnabled());
    EXPECT_TRUE(hashString->isEnabled());
    EXPECT_TRUE(barText.contains(" MB/s")) << barText.toStdString();
    EXPECT_TRUE(barText.contains('%')) << barText.toStdString();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), SynchronousDigest(kAlgorithmMd2, path));
}

TEST(Background, AShortComputationNeverShowsTheProgressBar) {
    TempDir dir;
    const std::string path = dir.WriteFile("small.bin", std::string(100000, 'x'));
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    ShowCounter counter(FindWidget<QProgressBar>(dialog, "progressBar"));
    FindWidget<QComboBox>(dialog, "algorithmList")->setCurrentIndex(kGostIndex);
    dialog.SetControlText(kFilePathBoxId, path);
    dialog.OnHashFile();
    dialog.WaitForIdle();
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), SynchronousDigest(kAlgorithmGost, path));
    dialog.SetControlText(kStringBoxId, "abc");
    dialog.OnHashString();
    dialog.WaitForIdle();
    EXPECT_EQ(counter.shows, 0);
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId).size(), 64u);  // GOST of "abc"
}

TEST(Background, ClosingMidComputationEndsTheRunPromptlyWithNoOutput) {
    TempDir dir;
    // Far more than MD2 can read before the run is closed; /dev/zero never ends at all.
    const std::string huge = SparseFile(dir, "huge.bin", std::uintmax_t{8} << 30);
    for (const std::string& path : {huge, std::string("/dev/zero")}) {
        for (const char* how : {"close", "reject"}) {
            SCOPED_TRACE(path + " " + how);
            CTarnovelDlg dialog;
            FindWidget<QComboBox>(dialog, "algorithmList")->setCurrentIndex(kMd2Index);
            dialog.SetControlText(kFilePathBoxId, path);
            QElapsedTimer sinceClose;
            const int result = ExecWith(dialog, [&] {
                dialog.OnHashFile();
                QTimer::singleShot(400, &dialog, [&] {
                    EXPECT_TRUE(dialog.IsBusy());
                    // With no size to go by, the bar tells the amount read.
                    const QString text = FindWidget<QProgressBar>(dialog, "progressBar")->text();
                    EXPECT_EQ(text.contains('%'), path != "/dev/zero") << text.toStdString();
                    EXPECT_TRUE(text.contains(" MB/s")) << text.toStdString();
                    sinceClose.start();
                    if (std::string(how) == "close") {
                        dialog.close();
                    } else {
                        dialog.reject();
                    }
                });
            });
            EXPECT_LT(sinceClose.elapsed(), 1000);
            EXPECT_EQ(result, QDialog::Rejected);
            EXPECT_FALSE(dialog.IsBusy());
            QTest::qWait(50);  // a result queued before the cancel must not land now
            EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "");
        }
    }
}

TEST(Background, AHashCommandWhileOneRunsIsIgnored) {
    CTarnovelDlg dialog;
    dialog.SetControlText(kStringBoxId, "abc");
    FindWidget<QComboBox>(dialog, "algorithmList")->setCurrentIndex(0);
    dialog.OnHashString();
    dialog.OnHashString();  // ignored while the first runs: the buttons are locked
    dialog.WaitForIdle();
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "352441c2");
}

TEST(Background, CancelThroughTheRequestGivesTheEmptyTextWithinAFewChunks) {
    TempDir dir;
    const std::string path = SparseFile(dir, "large.bin", kLargeSize);
    for (int32_t algorithm : {kAlgorithmGost, kAlgorithmMd2, kAlgorithmMd4, kAlgorithmSha2}) {
        SCOPED_TRACE(algorithm);
        std::atomic<bool> cancel{false};
        int reports = 0;
        HashRequest request;
        request.SetAlgorithm(algorithm);
        request.SetSource(kSourceFile);
        request.SetFilePath(path);
        request.SetCancelFlag(&cancel);
        request.SetProgressObserver([&](uint64_t done, uint64_t total) {
            EXPECT_LE(done, total);
            if (++reports == 3) cancel.store(true);
        });
        EXPECT_EQ(request.Compute(), "");
        EXPECT_GE(reports, 3);
        EXPECT_LE(reports, 4);
    }
}

}  // namespace
