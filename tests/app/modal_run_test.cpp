// Ending the modal run: OK, Cancel, Enter in any box, Escape and the close box; and the
// application start-up, which runs the dialog once and returns false.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dialog_test_support.h"
#include "tarnovel_app.h"
#include "tarnovel_dlg.h"

namespace {

struct Ending {
    const char* what;
    const char* focus;  // the control that has the focus when the key is pressed
    Qt::Key key;        // or Qt::Key_unknown: click the `focus` button
    int result;
};

class ModalRun : public ::testing::TestWithParam<Ending> {};

TEST_P(ModalRun, Ends) {
    const Ending ending = GetParam();
    CTarnovelDlg dialog;
    UrlCatcher& catcher = TestUrlCatcher();
    catcher.opened.clear();
    const int result = ExecWith(dialog, [&] {
        auto* target = FindWidget<QWidget>(dialog, ending.focus);
        if (!target) return;
        target->setFocus();
        if (ending.key == Qt::Key_unknown) {
            QTest::mouseClick(qobject_cast<QPushButton*>(target), Qt::LeftButton);
        } else {
            QTest::keyClick(target, ending.key);
        }
    });
    EXPECT_EQ(result, ending.result);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "");  // nothing was hashed on the way out
    EXPECT_TRUE(catcher.opened.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ModalRun,
    ::testing::Values(Ending{"EnterInPathBox", "filePathBox", Qt::Key_Return, QDialog::Accepted},
                      Ending{"EnterInStringBox", "stringBox", Qt::Key_Return, QDialog::Accepted},
                      Ending{"EnterInOutputBox", "outputBox", Qt::Key_Return, QDialog::Accepted},
                      Ending{"KeypadEnterInList", "algorithmList", Qt::Key_Enter,
                             QDialog::Accepted},
                      Ending{"EnterOnOk", "okButton", Qt::Key_Return, QDialog::Accepted},
                      Ending{"EscapeInPathBox", "filePathBox", Qt::Key_Escape, QDialog::Rejected},
                      Ending{"EscapeInOutputBox", "outputBox", Qt::Key_Escape, QDialog::Rejected},
                      Ending{"EscapeOnList", "algorithmList", Qt::Key_Escape, QDialog::Rejected},
                      Ending{"ClickOk", "okButton", Qt::Key_unknown, QDialog::Accepted},
                      Ending{"ClickCancel", "cancelButton", Qt::Key_unknown, QDialog::Rejected}),
    [](const ::testing::TestParamInfo<Ending>& param) { return std::string(param.param.what); });

TEST(ModalRunClose, TheCloseBoxEndsTheRun) {
    CTarnovelDlg dialog;
    EXPECT_EQ(ExecWith(dialog, [&] { dialog.close(); }), QDialog::Rejected);
}

TEST(ModalRunClose, EnterInTheOutputBoxAfterAHashStillEndsTheRun) {
    CTarnovelDlg dialog;
    const int result = ExecWith(dialog, [&] {
        FindWidget<QComboBox>(dialog, "algorithmList")->setCurrentIndex(0);
        dialog.OnHashString();
        dialog.WaitForIdle();
        QWidget* box = FindWidget<QWidget>(dialog, "outputBox");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId).size(), 8u);  // the text was not touched
}

TEST(ApplicationStartUp, InitInstanceRunsTheDialogOnceAndReturnsFalse) {
    CTarnovelApp app;
    int dialogsSeen = 0;
    QTimer::singleShot(0, [&] {
        QWidget* modal = WaitForModal("CTarnovelDlg");
        if (!modal) return;
        ++dialogsSeen;
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Ostrel Corvane"));
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(dialogsSeen, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(QApplication::applicationVersion(), QStringLiteral("1.0.0.1"));
}

}  // namespace
