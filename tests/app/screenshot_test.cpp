// Grabs the dialogs to PNG files in the build tree so a reviewer can look at them, and checks what
// each picture must show: a drawn window, a whole SHA-512 digest without scrolling, the progress
// bar while a slow computation runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>
#include <cstdio>
#include <filesystem>

#include "about_dlg.h"
#include "dialog_test_support.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

QString ScreenshotPath(const char* name) {
    QDir().mkpath(QLatin1String(CORVANE_SCREENSHOT_DIR));
    return QDir(QLatin1String(CORVANE_SCREENSHOT_DIR)).filePath(QLatin1String(name));
}

void SaveAndCheck(QWidget& window, const char* name) {
    QApplication::processEvents();
    const QPixmap shot = window.grab();
    const QString path = ScreenshotPath(name);
    ASSERT_TRUE(shot.save(path, "PNG")) << path.toStdString();
    const QImage image(path);
    EXPECT_EQ(image.size(), window.size() * window.devicePixelRatio());
    // Drawn, not a flat rectangle: the frame, the text and the controls differ from the face.
    const QRgb face = image.pixel(0, 0);
    int differing = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4) differing += image.pixel(x, y) != face;
    EXPECT_GT(differing, 100) << name;
    std::printf("screenshot: %s\n", path.toStdString().c_str());
}

TEST(Screenshot, FirstDisplay) {
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    SaveAndCheck(dialog, "corvane-dialog.png");
}

TEST(Screenshot, WithASha512Result) {
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    dialog.SetControlText(kStringBoxId, "The quick brown fox jumps over the lazy dog");
    dialog.SetControlText(kFilePathBoxId, "/home/user/Downloads/debian-12.11.0-amd64-netinst.iso");
    FindWidget<QComboBox>(dialog, "algorithmList")->setCurrentIndex(8);
    // The digest that "Hash string" shows for this text, so the shot shows a full wrapped result.
    dialog.SetControlText(kOutputBoxId, SharedVector("fox").digest.at("sha512"));
    SaveAndCheck(dialog, "corvane-dialog-sha512.png");
    // All 128 characters in sight: the box has no scroll bars to reach a hidden line.
    const auto* output = FindWidget<QPlainTextEdit>(dialog, "outputBox");
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->verticalScrollBar()->maximum(), 0);
}

TEST(Screenshot, HashingWithTheProgressBar) {
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    FindWidget<QComboBox>(dialog, "algorithmList")->setCurrentIndex(2);  // MD2, the slowest
    TempDir dir;
    const std::string path = dir.WriteFile("large.iso", "corvane");
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30);
    dialog.SetControlText(kFilePathBoxId, path);
    dialog.OnHashFile();
    QTest::qWait(600);
    ASSERT_TRUE(dialog.IsBusy()) << "1 GiB through MD2 takes longer than the wait";
    const auto* bar = FindWidget<QProgressBar>(dialog, "progressBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible()) << "shown once a computation is slow";
    SaveAndCheck(dialog, "corvane-dialog-hashing.png");
    dialog.reject();  // cancels the computation
    EXPECT_FALSE(dialog.IsBusy());
}

TEST(Screenshot, AboutBox) {
    CAboutDlg about;
    ASSERT_TRUE(ShowActive(about));
    SaveAndCheck(about, "corvane-about.png");
}

}  // namespace
