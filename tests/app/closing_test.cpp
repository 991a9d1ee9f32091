// Closing the dialog ends the run, and the process, within a second, whatever the worker is doing:
// even a read that never returns does not hold them.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <string>

#include "dialog_test_support.h"
#include "hash_job.h"
#include "tarnovel_dlg.h"

namespace {

TEST(Closing, ADialogWhoseReadNeverReturnsClosesWithinASecond) {
    SilentTerminal terminal;
    CTarnovelDlg dialog;
    dialog.SetControlText(kFilePathBoxId, terminal.path());
    QElapsedTimer sinceClose;
    const int result = ExecWith(dialog, [&] {
        dialog.OnHashFile();
        QTimer::singleShot(300, &dialog, [&] {
            EXPECT_TRUE(dialog.IsBusy());
            sinceClose.start();
            dialog.close();
        });
    });
    EXPECT_LT(sinceClose.elapsed(), 1000);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(dialog.IsBusy());
    EXPECT_EQ(CHashJob::AbandonedRunning(), 1);  // until the terminal goes
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "");
}

TEST(Closing, TheProcessEndsWithinASecondOfTheClose) {
    SilentTerminal terminal;
    QProcess probe;
    probe.start(QStringLiteral(CORVANE_CLOSE_PROBE), {QString::fromStdString(terminal.path())});
    ASSERT_TRUE(probe.waitForStarted());
    QElapsedTimer sinceClose;
    while (!probe.canReadLine() && probe.waitForReadyRead(5000)) {
    }
    ASSERT_EQ(probe.readLine().trimmed().toStdString(), "closing");
    sinceClose.start();
    const bool ended = probe.waitForFinished(2000);
    EXPECT_TRUE(ended);
    EXPECT_LT(sinceClose.elapsed(), 1000);
    if (!ended) {
        probe.kill();
        probe.waitForFinished();
    }
    EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(probe.exitCode(), 0);
}

}  // namespace
