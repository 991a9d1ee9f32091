// `corvane FILE`, as a file manager's "Open With" starts it: the dialog opens with FILE in the
// path box and hashes it at once; and the desktop file that offers it so.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "tarnovel_app.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

struct Shown {
    std::string path, output, focus;
    QString status;
};

// Starts the application with `arguments` after the program name and reads the dialog once the
// run it started (if any) has ended.
Shown StartWith(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {"corvane"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    Shown shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CTarnovelDlg*>(WaitForModal("CTarnovelDlg"));
        if (!dialog) return;
        const bool ended = WaitUntil([&] {
            const QString status = StatusOf(*dialog);
            return !dialog->IsBusy() && !status.startsWith(QStringLiteral("Hashing"));
        });
        EXPECT_TRUE(ended);
        QTest::qWait(50);  // a start still queued would show now
        shown = {dialog->GetControlText(kFilePathBoxId), dialog->GetControlText(kOutputBoxId),
                 QApplication::focusWidget()->objectName().toStdString(), StatusOf(*dialog)};
        dialog->reject();
    });
    CTarnovelApp app;
    EXPECT_EQ(app.Start(static_cast<int>(words.size()), argv.data()), 0);
    return shown;
}

TEST(OpenWith, StartsWithTheFileInThePathBoxAndHashesIt) {
    TempDir dir;
    const std::string abc = dir.WriteFile("abc.txt", "abc");
    const std::string other = dir.WriteFile("other.txt", "a");
    dir.WriteFile(
        "\xff"
        "abc.txt",
        "abc");
    dir.WriteFile(
        "\xef\xbf\xbd"
        "abc.txt",
        "a");
    const std::string sha1 = SharedVector("abc").digest.at("sha1");
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.path())));
    struct Case {
        std::vector<std::string> arguments;
        Shown expected;
    };
    const QString kAbcStatus = "SHA-1 of abc.txt, 3 bytes. No sum file beside abc.txt lists it.";
    const Case cases[] = {
        {{abc}, {abc, sha1, "okButton", kAbcStatus}},
        {{"abc.txt"}, {abc, sha1, "okButton", kAbcStatus}},  // made absolute
        {{abc, other}, {abc, sha1, "okButton", kAbcStatus}},
        // Names are bytes: the file itself, not the one its lossy decoding names.
        {{"\xff"
          "abc.txt"},
         {dir.PathOf("\xff"
                     "abc.txt"),
          sha1, "okButton",
          "SHA-1 of \\xFFabc.txt, 3 bytes. No sum file beside \\xFFabc.txt lists it."}},
        {{"gone.bin"}, {dir.PathOf("gone.bin"), "", "okButton", "No such file: gone.bin"}},
        {{}, {"", "", "okButton", ""}},  // the dialog as it always was
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.empty() ? "no argument" : c.arguments[0]);
        const Shown shown = StartWith(c.arguments);
        EXPECT_EQ(shown.path, c.expected.path);
        EXPECT_EQ(shown.output, c.expected.output);
        EXPECT_EQ(shown.focus, c.expected.focus);
        EXPECT_EQ(shown.status, c.expected.status);
    }
    QDir::setCurrent(cwd);
}

TEST(OpenWith, TheDesktopFileOffersEveryFileAndNamesTheWindowClassInUse) {
    QFile file(QStringLiteral(CORVANE_DESKTOP_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    CTarnovelApp app;
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = WaitForModal("CTarnovelDlg")) dialog->close();
    });
    app.InitInstance();
    // Qt on X11 gives its windows the application name as their class.
    EXPECT_TRUE(
        lines.contains(QStringLiteral("StartupWMClass=") + QApplication::applicationName()));
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=corvane %f")));
    // Every file type derives from application/octet-stream.
    EXPECT_TRUE(lines.contains(QStringLiteral("MimeType=application/octet-stream;")));
}

}  // namespace
