// `corvane FILE`, as a file manager's "Open With" starts it: the dialog opens with FILE in the
// path box and hashes it at once; and the desktop file that offers it so. `corvane SUMFILE` and
// `corvane FILE FILE...` open the list window beside it: checking every entry of the list as
// corvane-sum -c does (the same lists through both, verdict by verdict), or hashing the files and
// saving a list that GNU's tools read back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "sum_list_model.h"
#include "sum_list_window.h"
#include "tarnovel_app.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

struct Shown {
    std::string path, output, focus;
    QString status;
    QString listSummary = QString();  // the list window's, when it opened
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
        auto* list = dialog->findChild<CSumListWindow*>();
        if (list) list->WaitForIdle();
        shown = {dialog->GetControlText(kFilePathBoxId), dialog->GetControlText(kOutputBoxId),
                 QApplication::focusWidget()->objectName().toStdString(), StatusOf(*dialog),
                 list && list->isVisible() ? list->SummaryText() : QString()};
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
    std::filesystem::create_directory(
        dir.PathOf("lists"));  // a list beside abc.txt would verify it
    struct Case {
        std::vector<std::string> arguments;
        Shown expected;
    };
    const QString kAbcStatus = "SHA-1 of abc.txt, 3 bytes. No sum file beside abc.txt lists it.";
    const Case cases[] = {
        {{abc}, {abc, sha1, "okButton", kAbcStatus}},
        {{"abc.txt"}, {abc, sha1, "okButton", kAbcStatus}},  // made absolute
        // Two files, or a folder, are hashed in the list window; a list is checked there.
        {{abc, other}, {"", "", "listTable", "", "2 hashed"}},
        {{dir.path()}, {"", "", "listTable", "", "5 hashed"}},
        {{dir.WriteFile("lists/SHA1SUMS", sha1 + "  ../abc.txt\n")},
         {"", "", "listTable", "", "1 OK, 0 failed, 0 missing"}},
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
        EXPECT_EQ(shown.listSummary, c.expected.listSummary);
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
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=corvane %F")));
    // Every file type derives from application/octet-stream; checksum lists open to be checked.
    EXPECT_TRUE(
        lines.contains(QStringLiteral("MimeType=text/x-checksum-list;application/octet-stream;")));
}

// What corvane-sum -c -w says of each line of `list`, run in the list's folder: "OK", "FAILED",
// "FAILED open or read" by name, "improper" by line number.
std::map<std::string, std::string> CliVerdicts(const std::string& folder, const std::string& list) {
    QProcess sum;
    sum.setWorkingDirectory(QString::fromStdString(folder));
    sum.start(QStringLiteral(CORVANE_SUM),
              {QStringLiteral("-c"), QStringLiteral("-w"), QString::fromStdString(list)});
    EXPECT_TRUE(sum.waitForFinished(20000));
    std::map<std::string, std::string> verdicts;
    for (const QString& line : QString::fromUtf8(sum.readAllStandardOutput()).split('\n')) {
        const qsizetype colon = line.lastIndexOf(QStringLiteral(": "));
        if (colon > 0) verdicts[line.left(colon).toStdString()] = line.mid(colon + 2).toStdString();
    }
    const QRegularExpression improper(QStringLiteral(": (\\d+): improperly formatted"));
    for (const QString& line : QString::fromUtf8(sum.readAllStandardError()).split('\n')) {
        const QRegularExpressionMatch match = improper.match(line);
        if (match.hasMatch()) verdicts["line " + match.captured(1).toStdString()] = "improper";
    }
    return verdicts;
}

// The window's verdicts in corvane-sum's words.
std::map<std::string, std::string> WindowVerdicts(const CSumListModel& model) {
    std::map<std::string, std::string> verdicts;
    int improper = 0;
    for (const ListRow& row : model.Rows()) {
        switch (row.state) {
            case RowState::Ok:
                verdicts[row.name] = "OK";
                break;
            case RowState::Failed:
                verdicts[row.name] = "FAILED";
                break;
            case RowState::Missing:
            case RowState::Unreadable:
                verdicts[row.name] = "FAILED open or read";
                break;
            case RowState::Improper:
                verdicts["improper " + std::to_string(++improper)] = "improper";
                break;
            default:
                verdicts[row.name] = "undecided";
        }
    }
    return verdicts;
}

class ListWindow : public ::testing::Test {
protected:
    void SetUp() override {
        dir.WriteFile("abc.txt", "abc");
        dir.WriteFile("fox.txt", SharedVector("fox").message);
        std::filesystem::create_directory(dir.PathOf("folder"));
        ASSERT_TRUE(ShowActive(dialog));
    }
    CSumListWindow* Window() { return dialog.ListWindow(); }
    std::string Digest(const char* vector, const char* algorithm) {
        return SharedVector(vector).digest.at(algorithm);
    }

    TempDir dir;
    CTarnovelDlg dialog;
};

// Every final state in one list, each row's state as the table shows it, the summary counted and
// the same verdicts as corvane-sum -c gives for the same line.
TEST_F(ListWindow, ChecksAListWithEveryStateAsCorvaneSumDoes) {
    std::string wrong = Digest("fox", "sha256");
    wrong[0] = wrong[0] == '0' ? '1' : '0';
    const std::string list = dir.WriteFile(
        "SHA256SUMS", Digest("abc", "sha256") + "  abc.txt\n" + wrong + "  fox.txt\n" +
                          Digest("abc", "sha256") + "  gone.txt\n" + Digest("abc", "sha256") +
                          "  folder\nthis is no checksum line\n");
    dialog.OpenSumList(list);
    CSumListWindow* window = Window();
    ASSERT_TRUE(window->isVisible());
    window->WaitForIdle();
    auto* table = FindWidget<QTableView>(*window, "listTable");
    EXPECT_EQ(table->accessibleName(), "Checked files");
    QStringList states;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        states << table->model()->index(row, CSumListModel::StateColumn).data().toString();
    EXPECT_EQ(states, QStringList({"OK", "FAILED", "missing", "unreadable: Is a directory",
                                   "improper line"}));
    EXPECT_EQ(table->model()->index(0, CSumListModel::AlgorithmColumn).data(), "SHA-2 256");
    EXPECT_EQ(table->model()->index(4, CSumListModel::NameColumn).data(), "(line 5)");
    auto* summary = FindWidget<QLabel>(*window, "listSummary");
    EXPECT_EQ(summary->accessibleName(), "Summary");
    EXPECT_EQ(summary->text(), "1 OK, 1 failed, 1 missing, 1 unreadable, 1 improper line");
    // Failures alone, then every row again.
    auto* failuresOnly = FindWidget<QCheckBox>(*window, "failuresOnly");
    QTest::keyClick(failuresOnly, Qt::Key_Space);
    EXPECT_EQ(table->model()->rowCount(), 4);
    QTest::keyClick(failuresOnly, Qt::Key_Space);
    EXPECT_EQ(table->model()->rowCount(), 5);
    // Rows copy as corvane-sum -c reports them.
    table->setFocus();
    table->selectRow(1);
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "fox.txt: FAILED\n");
    QApplication::clipboard()->clear();
}

// A long check shows each file's share read, stops, and checks again from the start.
TEST_F(ListWindow, StopsAndChecksAgain) {
    const std::string large = dir.WriteFile("large.iso", "corvane");
    std::filesystem::resize_file(large, std::uintmax_t{1} << 30);
    dialog.OpenSumList(dir.WriteFile("MD2SUMS", Digest("abc", "md2") + "  large.iso\n"));
    CSumListWindow* window = Window();
    const auto state = [&](int row) {
        return Window()->Model().index(row, CSumListModel::StateColumn).data().toString();
    };
    ASSERT_TRUE(WaitUntil([&] { return state(0).startsWith("checking "); }, 10000))
        << state(0).toStdString();
    EXPECT_TRUE(state(0).endsWith("%"));
    EXPECT_FALSE(FindWidget<QPushButton>(*window, "listAgainButton")->isEnabled());
    QTest::mouseClick(FindWidget<QPushButton>(*window, "listStopButton"), Qt::LeftButton);
    window->WaitForIdle();
    EXPECT_EQ(state(0), "not checked");
    EXPECT_EQ(window->SummaryText(), "0 OK, 0 failed, 0 missing, 1 not checked");
    std::filesystem::resize_file(large, 0);
    dir.WriteFile("large.iso", "abc");
    QTest::mouseClick(FindWidget<QPushButton>(*window, "listAgainButton"), Qt::LeftButton);
    window->WaitForIdle();
    EXPECT_EQ(window->SummaryText(), "1 OK, 0 failed, 0 missing");
}

// "Sum file..." with no file to verify checks the whole list chosen.
TEST_F(ListWindow, SumFileButtonWithNoFileChecksTheChosenList) {
    const std::string list = dir.WriteFile("MD5SUMS", Digest("abc", "md5") + "  abc.txt\n");
    dialog.SetSumFileChooser(
        [&](QWidget*, const QString&) { return QString::fromStdString(list); });
    FindWidget<QPushButton>(dialog, "sumFileButton")->click();
    ASSERT_TRUE(Window()->isVisible());
    Window()->WaitForIdle();
    EXPECT_EQ(Window()->windowTitle(), "Checking MD5SUMS");
    EXPECT_EQ(Window()->SummaryText(), "1 OK, 0 failed, 0 missing");
}

// The same lists through the window and through corvane-sum -c, verdict by verdict: GNU lines of
// several algorithms untagged, BSD tags, SFV, a clear-signed list, a mixed one.
TEST_F(ListWindow, AgreesWithCorvaneSumOnEveryVerdict) {
    std::string late = Digest("abc", "md5");
    late[31] = late[31] == '0' ? '1' : '0';
    const std::vector<std::pair<const char*, std::string>> lists = {
        {"untagged.txt", Digest("abc", "md5") + "  abc.txt\n" + Digest("fox", "sha1") +
                             "  fox.txt\n" + Digest("abc", "sha512") + "  abc.txt\n" + late +
                             "  abc.txt\n" + Digest("abc", "md4") + "  abc.txt\n"},
        {"tags.txt", "SHA256 (abc.txt) = " + Digest("abc", "sha256") + "\nMD5 (fox.txt) = " +
                         Digest("abc", "md5") + "\nSHA1 (gone.txt) = " + Digest("abc", "sha1") +
                         "\nCRC32 (folder) = " + Digest("abc", "crc32") + "\n"},
        {"check.sfv", "; made by hand\nabc.txt " + Digest("abc", "crc32") + "\nfox.txt " +
                          Digest("abc", "crc32") + "\n"},
        {"signed.sha256", "-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA256\n\n" +
                              Digest("fox", "sha256") + "  fox.txt\n- not a line\n" +
                              "-----BEGIN PGP SIGNATURE-----\n\niQEz\n"
                              "-----END PGP SIGNATURE-----\n"},
        {"mixed.txt", "not a line\nSHA512 (abc.txt) = " + Digest("abc", "sha512") + "\n" +
                          Digest("fox", "crc32") + "  fox.txt\n" + Digest("abc", "md2") +
                          "  gone.txt\n"},
    };
    for (const auto& [name, text] : lists) {
        SCOPED_TRACE(name);
        dialog.OpenSumList(dir.WriteFile(name, text));
        Window()->WaitForIdle();
        std::map<std::string, std::string> window = WindowVerdicts(Window()->Model());
        std::map<std::string, std::string> cli = CliVerdicts(dir.path(), name);
        // Improper lines by their order, as the window counts them.
        std::map<std::string, std::string> cliByName;
        int improper = 0;
        for (const auto& [key, verdict] : cli)
            cliByName[key.starts_with("line ") ? "improper " + std::to_string(++improper) : key] =
                verdict;
        EXPECT_EQ(window, cliByName);
    }
}

// Hashing a folder and a file: every row's digest, saved as GNU and BSD lists that GNU's
// sha256sum reads back from wherever the list is, names relative to it, and an SFV list of
// CRC-32 digests that corvane-sum reads back.
TEST_F(ListWindow, HashesFilesAndSavesListsThatGnuToolsReadBack) {
    dir.WriteFile("folder/inner.txt", "abc");
    dialog.OpenFiles({dir.PathOf("folder"), dir.PathOf("fox.txt")});
    CSumListWindow* window = Window();
    window->WaitForIdle();
    auto* table = FindWidget<QTableView>(*window, "listTable");
    EXPECT_EQ(table->accessibleName(), "Hashed files");
    EXPECT_EQ(table->model()->headerData(CSumListModel::DigestColumn, Qt::Horizontal), "Digest");
    ASSERT_EQ(window->Model().Rows().size(), 2u);
    EXPECT_EQ(window->Model().Rows()[0].name, dir.PathOf("folder/inner.txt"));
    EXPECT_EQ(window->Model().Rows()[0].digest, Digest("abc", "sha1"));  // the dialog's choice
    // The algorithm changes in the window: the files are hashed again.
    auto* algorithm = FindWidget<QComboBox>(*window, "listAlgorithm");
    algorithm->setCurrentIndex(algorithm->findData(static_cast<int>(Algorithm::Sha256)));
    emit algorithm->activated(algorithm->currentIndex());
    window->WaitForIdle();
    EXPECT_EQ(window->Model().Rows()[1].digest, Digest("fox", "sha256"));
    for (const SumFormat format : {SumFormat::Gnu, SumFormat::Bsd}) {
        ASSERT_TRUE(window->SaveTo(dir.PathOf("SHA256SUMS"), format));
        QProcess check;
        check.setWorkingDirectory(QString::fromStdString(dir.path()));
        check.start(QStringLiteral("sha256sum"),
                    {QStringLiteral("-c"), QStringLiteral("SHA256SUMS")});
        ASSERT_TRUE(check.waitForFinished(10000));
        EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardError().toStdString();
        EXPECT_EQ(check.readAllStandardOutput(), "folder/inner.txt: OK\nfox.txt: OK\n");
    }
    algorithm->setCurrentIndex(algorithm->findData(static_cast<int>(Algorithm::Crc32)));
    emit algorithm->activated(algorithm->currentIndex());
    window->WaitForIdle();
    ASSERT_TRUE(window->SaveTo(dir.PathOf("folder/all.sfv"), SumFormat::Sfv));
    EXPECT_EQ(CliVerdicts(dir.PathOf("folder"), "all.sfv"),
              (std::map<std::string, std::string>{{"inner.txt", "OK"}, {"../fox.txt", "OK"}}));
}

}  // namespace
