// Grabs the dialogs to PNG files in the build tree so a reviewer can look at them: idle, a run in
// progress, a failure and a success, named by the scale factor they were taken at (the suite
// runs once plain and once with QT_SCALE_FACTOR=1.5).
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <cstdio>
#include <filesystem>

#include "about_dlg.h"
#include "dialog_test_support.h"
#include "sum_list_window.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

constexpr int kMd2Index = 2;
constexpr int kSha512Index = 8;

void SaveAndCheck(QWidget& window, const char* name) {
    QApplication::processEvents();
    const QPixmap shot = window.grab();
    QDir().mkpath(QLatin1String(CORVANE_SCREENSHOT_DIR));
    const QString path = QDir(QLatin1String(CORVANE_SCREENSHOT_DIR))
                             .filePath(QStringLiteral("corvane-%1@%2x.png")
                                           .arg(QLatin1String(name))
                                           .arg(window.devicePixelRatioF()));
    ASSERT_TRUE(shot.save(path, "PNG")) << path.toStdString();
    EXPECT_EQ(QImage(path).size(), window.size() * window.devicePixelRatio());
    std::printf("screenshot: %s\n", path.toStdString().c_str());
}

TEST(Screenshot, Idle) {
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    EXPECT_EQ(StatusOf(dialog), QString());
    SaveAndCheck(dialog, "idle");
}

// The dropped list: the nine, a separator, the algorithms added beyond them, all without
// scrolling and inside the screen.
TEST(Screenshot, AlgorithmListDropped) {
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    auto* list = FindWidget<QComboBox>(dialog, "algorithmList");
    list->showPopup();
    QWidget* popup = list->view()->window();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_TRUE(popup->screen()->availableGeometry().contains(popup->frameGeometry()));
    SaveAndCheck(*popup, "list");
    list->hidePopup();
}

TEST(Screenshot, RunInProgress) {
    TempDir dir;
    const std::string path = dir.WriteFile("large.iso", "corvane");
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30);
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    FindWidget<QComboBox>(dialog, "algorithmList")->setCurrentIndex(kMd2Index);  // the slowest
    dialog.SetControlText(kFilePathBoxId, path);
    dialog.OnHashFile();
    QTest::qWait(1300);  // long enough for the time left
    EXPECT_TRUE(FindWidget<QPushButton>(dialog, "stopButton")->isVisible());
    EXPECT_TRUE(FindWidget<QProgressBar>(dialog, "progressBar")->text().endsWith(" left"));
    SaveAndCheck(dialog, "running");
    dialog.reject();  // cancels the computation
    EXPECT_FALSE(dialog.IsBusy());
}

TEST(Screenshot, Failure) {
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    dialog.SetControlText(kFilePathBoxId, "/home/user/Downloads/debian-12.11.0-amd64-netinst.iso");
    dialog.OnHashFile();
    dialog.WaitForIdle();
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "");
    EXPECT_EQ(StatusOf(dialog), "No such file: debian-12.11.0-amd64-netinst.iso");
    SaveAndCheck(dialog, "failure");
}

TEST(Screenshot, Success) {
    TempDir dir;
    const DigestVector& fox = SharedVector("fox");
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    dialog.SetControlText(kFilePathBoxId, dir.WriteFile("fox.txt", fox.message));
    dialog.SetControlText(kStringBoxId, fox.message);
    FindWidget<QComboBox>(dialog, "algorithmList")->setCurrentIndex(kSha512Index);
    QTest::mouseClick(FindWidget<QPushButton>(dialog, "hashFileButton"), Qt::LeftButton);
    dialog.WaitForIdle();
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), fox.digest.at("sha512"));
    EXPECT_EQ(StatusOf(dialog),
              "SHA-2 512 of fox.txt, 43 bytes. No sum file beside fox.txt lists it.");
    SaveAndCheck(dialog, "success");
}

// The list window beside the dialog, checking a list with a failure, a missing file and an
// improper line, and hashing a folder; every column's text whole at either scale.
TEST(Screenshot, ListWindowInBothModes) {
    TempDir dir;
    const DigestVector& fox = SharedVector("fox");
    std::string wrong = fox.digest.at("sha256");
    wrong[3] = wrong[3] == 'a' ? 'b' : 'a';
    dir.WriteFile("debian-12.11.0-amd64-netinst.iso", fox.message);
    dir.WriteFile("debian-12.11.0-amd64-DVD-1.iso", "abc");
    const std::string list = dir.WriteFile(
        "SHA256SUMS", fox.digest.at("sha256") + "  debian-12.11.0-amd64-netinst.iso\n" + wrong +
                          "  debian-12.11.0-amd64-DVD-1.iso\n" + wrong +
                          "  debian-12.11.0-amd64-DVD-2.iso\nno checksum here\n");
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    dialog.OpenSumList(list);
    CSumListWindow* window = dialog.ListWindow();
    window->WaitForIdle();
    const auto* table = FindWidget<QTableView>(*window, "listTable");
    // Each cell's text fits its column (the last one stretches to the window's edge).
    const int margin = (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) * 2;
    for (int column = 0; column + 1 < table->model()->columnCount(); ++column)
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            const QString text = table->model()->index(row, column).data().toString();
            EXPECT_LE(table->fontMetrics().horizontalAdvance(text) + margin,
                      table->columnWidth(column))
                << text.toStdString();
        }
    SaveAndCheck(*window, "list-check");
    FindWidget<QComboBox>(dialog, "algorithmList")->setCurrentIndex(kSha512Index);
    dialog.OpenFiles({dir.path()});
    window->WaitForIdle();
    SaveAndCheck(*window, "list-hash");
}

TEST(Screenshot, AboutBox) {
    CAboutDlg about;
    ASSERT_TRUE(ShowActive(about));
    SaveAndCheck(about, "about");
}

}  // namespace
