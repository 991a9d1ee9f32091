// While a computation runs, what the window shows belongs together: every input is locked, a Stop
// button ends the run without closing the window, and the focus goes back to the pressed button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <string>

#include "dialog_test_support.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

constexpr int kMd2Index = 2;
const char* const kInputs[] = {"filePathBox",  "stringBox",      "algorithmList",
                               "browseButton", "hashFileButton", "hashStringButton"};

std::string FocusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName().toStdString() : std::string("(none)");
}

bool DropFile(QWidget* target, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

TEST(RunLock, InputsStayAsTheyWereUntilStopEndsTheRun) {
    // One run on a terminal whose read never returns (Stop must leave it behind) and one on a
    // large file that MD2 is far from done with (Stop cancels it between slices).
    TempDir dir;
    const std::string large = dir.WriteFile("large.bin", "corvane");
    std::filesystem::resize_file(large, std::uintmax_t{1} << 30);
    SilentTerminal terminal;
    for (const std::string& path : {terminal.path(), large}) {
        SCOPED_TRACE(path);
        CTarnovelDlg dialog;
        ASSERT_TRUE(ShowActive(dialog));
        auto* list = FindWidget<QComboBox>(dialog, "algorithmList");
        list->setCurrentIndex(kMd2Index);
        dialog.SetControlText(kFilePathBoxId, path);
        dialog.SetControlText(kStringBoxId, "abc");
        dialog.OnHashFile();
        ASSERT_TRUE(dialog.IsBusy());

        for (const char* name : kInputs) {
            EXPECT_FALSE(FindWidget<QWidget>(dialog, name)->isEnabled()) << name;
        }
        auto* stop = FindWidget<QPushButton>(dialog, "stopButton");
        ASSERT_NE(stop, nullptr);
        EXPECT_TRUE(stop->isVisible() && stop->isEnabled());
        EXPECT_EQ(stop->text(), QStringLiteral("Stop"));
        // What a user might try: another algorithm, another path typed or dropped.
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClicks(FindWidget<QLineEdit>(dialog, "filePathBox"), QStringLiteral("x"));
        EXPECT_FALSE(DropFile(&dialog, QStringLiteral("/tmp/other.bin")));
        EXPECT_FALSE(DropFile(FindWidget<QPlainTextEdit>(dialog, "outputBox")->viewport(),
                              QStringLiteral("/tmp/other.bin")));
        EXPECT_EQ(dialog.GetControlText(kFilePathBoxId), path);
        EXPECT_EQ(dialog.GetSelectedIndex(), kMd2Index);

        QElapsedTimer sinceStop;
        sinceStop.start();
        QTest::mouseClick(stop, Qt::LeftButton);
        EXPECT_TRUE(WaitUntil([&] { return !dialog.IsBusy(); }, 1000));
        EXPECT_LT(sinceStop.elapsed(), 1000);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(stop->isVisible());
        for (const char* name : kInputs) {
            EXPECT_TRUE(FindWidget<QWidget>(dialog, name)->isEnabled()) << name;
        }
        EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "");
        EXPECT_TRUE(StatusOf(dialog).startsWith(QStringLiteral("Stopped")))
            << StatusOf(dialog).toStdString();
    }
}

TEST(RunLock, FocusReturnsToThePressedButton) {
    struct Case {
        const char* button;
        bool byKey;  // Space on the focused button, else a mouse click
    };
    const Case cases[] = {{"hashFileButton", false},
                          {"hashFileButton", true},
                          {"hashStringButton", false},
                          {"hashStringButton", true}};
    TempDir dir;
    const std::string file = dir.WriteFile("abc.txt", "abc");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + (c.byKey ? " by key" : " by mouse"));
        CTarnovelDlg dialog;
        ASSERT_TRUE(ShowActive(dialog));
        dialog.SetControlText(kFilePathBoxId, file);
        dialog.SetControlText(kStringBoxId, "abc");
        auto* button = FindWidget<QPushButton>(dialog, c.button);
        button->setFocus();
        if (c.byKey) {
            QTest::keyClick(button, Qt::Key_Space);
        } else {
            QTest::mouseClick(button, Qt::LeftButton);
        }
        EXPECT_TRUE(FocusName() == "stopButton" || !dialog.IsBusy()) << FocusName();
        dialog.WaitForIdle();
        EXPECT_EQ(FocusName(), c.button);
        // The next key press goes to the button, not into a box.
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("z"));
        EXPECT_EQ(dialog.GetControlText(kStringBoxId), "abc");
        EXPECT_EQ(dialog.GetControlText(kOutputBoxId), SharedVector("abc").digest.at("sha1"));
    }
}

}  // namespace
