// Verifying in the dialog: "Open With" on a file beside a signed SHA256SUMS ends in "Matches";
// the Expected hash field, the clipboard and a chosen or dropped sum file as sources; the list
// following the digest shown; screenshots of a match and a mismatch.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "tarnovel_app.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

std::string Abc(const char* algorithm) {
    return SharedVector("abc").digest.at(algorithm);
}

const std::string kSignedSums = "-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA256\n\n" +
                                std::string(64, '0') + "  other.iso\n" + Abc("sha256") +
                                " *abc.iso\n-----BEGIN PGP SIGNATURE-----\n\niQEz\n"
                                "-----END PGP SIGNATURE-----\n";

// The verdict line as a screen reader finds it: the element named "Verification", its whole
// text; empty while it is hidden.
QString VerdictOf(const QWidget& dialog) {
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        QAccessibleInterface* element = QAccessible::queryAccessibleInterface(widget);
        if (element && element->text(QAccessible::Name) == QLatin1String("Verification"))
            return widget->isVisible() ? element->text(QAccessible::Description) : QString();
    }
    ADD_FAILURE() << "no element named Verification";
    return QString();
}

// Clears the clipboard when a test ends, so no other test verifies against it.
struct Clipboard {
    explicit Clipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
    ~Clipboard() { QGuiApplication::clipboard()->clear(); }
};

TEST(Verify, OpenWithBesideASignedSumFileMatches) {
    TempDir dir;
    const std::string file = dir.WriteFile("abc.iso", "abc");
    dir.WriteFile("SHA256SUMS", kSignedSums);
    std::string program = "corvane", path = file;
    char* argv[] = {program.data(), path.data(), nullptr};
    QString verdict, list;
    std::string output;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CTarnovelDlg*>(WaitForModal("CTarnovelDlg"));
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return !VerdictOf(*dialog).isEmpty(); }));
        verdict = VerdictOf(*dialog);
        list = FindWidget<QComboBox>(*dialog, "algorithmList")->currentText();
        output = dialog->GetControlText(kOutputBoxId);
        dialog->reject();
    });
    CTarnovelApp app;
    EXPECT_EQ(app.Start(2, argv), 0);
    EXPECT_TRUE(verdict.startsWith("Matches: SHA-2 256, from SHA256SUMS."))
        << verdict.toStdString();
    EXPECT_TRUE(verdict.contains("Signature not checked.")) << verdict.toStdString();
    EXPECT_EQ(list, "SHA-2 256");
    EXPECT_EQ(output, Abc("sha256"));
}

// The field first, then a sum file beside the file, then the clipboard; a clipboard outvoted by
// the sum file is said so.
TEST(Verify, FieldBeforeSumFileBeforeClipboard) {
    std::string md5Grouped;
    for (std::size_t i = 0; i < 32; i += 4) md5Grouped += Abc("md5").substr(i, 4) + " ";
    std::string badSha1 = Abc("sha1");
    badSha1[9] = badSha1[9] == '0' ? '1' : '0';
    const struct {
        std::string field, clipboard;
        bool sumFile, file;
        const char* verdict;      // the verdict's whole text; empty: none
        const char* list;         // what the list shows after the run
        std::string placeholder;  // what the empty field shows greyed
    } cases[] = {
        {md5Grouped, "", true, true,
         "Matches: MD5, from the Expected hash field. It shows the file undamaged, not "
         "untampered.",
         "MD5", ""},
        {"", "SHA256 (abc.iso) = " + Abc("sha256"), true, true,
         "Matches: MD4, from abc.iso.md5. The clipboard differs; the sum file decides. It "
         "shows the file undamaged, not untampered.",
         "MD4", Abc("md4")},
        {"", "SHA256 (abc.iso) = " + Abc("sha256"), false, true,
         "Matches: SHA-2 256, from the clipboard.", "SHA-2 256", Abc("sha256")},
        {"", Abc("sha256") + "  other.iso", false, true, "", "SHA-1", ""},
        {badSha1, Abc("sha1"), true, true,
         "Does not match: SHA-1, from the Expected hash field; first difference at character 10.",
         "SHA-1", ""},
        {"not a digest", Abc("md5"), true, true,
         "Expected hash not recognised: not a digest of a known length or a checksum line.",
         "SHA-1", ""},
        {"", "abc", false, false, "", "SHA-1", ""},  // the string itself, copied
        {"", Abc("gost"), false, false, "Matches: GOSTHash, from the clipboard.", "GOSTHash",
         Abc("gost")},
        {"SHA1 (abc.iso) = " + Abc("sha1"), "", false, false,
         "The Expected hash field holds the line for abc.iso: not compared with the string.",
         "SHA-1", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field + "|" + c.clipboard);
        TempDir dir;
        const std::string file = dir.WriteFile("abc.iso", "abc");
        if (c.sumFile) dir.WriteFile("abc.iso.md5", "MD4 (abc.iso) = " + Abc("md4") + "\n");
        const Clipboard clipboard(QString::fromStdString(c.clipboard));
        CTarnovelDlg dialog;
        dialog.SetControlText(kFilePathBoxId, file);
        dialog.SetControlText(kStringBoxId, "abc");
        FindWidget<QLineEdit>(dialog, "expectedBox")->setText(QString::fromStdString(c.field));
        ASSERT_TRUE(ShowActive(dialog));
        c.file ? dialog.OnHashFile() : dialog.OnHashString();
        dialog.WaitForIdle();
        const QString verdict = VerdictOf(dialog);
        EXPECT_EQ(verdict.left(static_cast<int>(std::strlen(c.verdict))), QLatin1String(c.verdict))
            << verdict.toStdString();
        EXPECT_EQ(dialog.GetControlText(kAlgorithmListId), c.list);
        // A digest from elsewhere shows, greyed, in the empty field.
        EXPECT_EQ(FindWidget<QLineEdit>(dialog, "expectedBox")->placeholderText().toStdString(),
                  c.placeholder);
        // The status line gives way to the verdict, and comes back once the input moves on.
        EXPECT_EQ(FindWidget<QWidget>(dialog, "statusLine")->isVisible(), *c.verdict == '\0');
        dialog.SetControlText(kStringBoxId, "abcd");
        dialog.SetControlText(kFilePathBoxId, file + "x");
        if (!QString::fromLatin1(c.verdict).startsWith("Expected") &&
            !QString::fromLatin1(c.verdict).startsWith("The Expected")) {
            EXPECT_EQ(VerdictOf(dialog), "");
            EXPECT_EQ(FindWidget<QLineEdit>(dialog, "expectedBox")->placeholderText(), "");
        }
        // A run that fails leaves no verdict and no grey digest of the earlier one.
        dialog.OnHashFile();
        dialog.WaitForIdle();
        EXPECT_EQ(FindWidget<QLineEdit>(dialog, "expectedBox")->placeholderText(), "");
    }
}

// A preferred sum file passed over is named with the reason, in the verdict on the next one.
TEST(Verify, SaysWhichSumFileWasPassedOver) {
    TempDir dir;
    const std::string file = dir.WriteFile("abc.iso", "abc");
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(dir.PathOf("SHA256SUMS"))));
    dir.WriteFile("MD5SUMS", Abc("md5") + "  abc.iso\n");
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    dialog.OpenFile(file);
    dialog.WaitForIdle();
    EXPECT_EQ(VerdictOf(dialog),
              "Matches: MD5, from MD5SUMS. SHA256SUMS is not a regular file. It "
              "shows the file undamaged, not untampered.");
}

TEST(Verify, SumFileChosenOrDroppedGivesTheLineForTheFile) {
    TempDir dir;
    const std::string file = dir.WriteFile("abc.iso", "abc");
    const std::string sums =
        dir.WriteFile("CHECKSUMS", "# list\r\n" + std::string(40, '1') + "  b.iso\r\n" +
                                       Abc("sha1") + "  abc.iso\r\n");
    const std::string elsewhere = dir.WriteFile("MD5SUMS", Abc("md5") + "  b.iso\n");
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    dialog.SetControlText(kFilePathBoxId, file);
    auto* field = FindWidget<QLineEdit>(dialog, "expectedBox");
    dialog.SetSumFileChooser([&](QWidget*, const QString& folder) -> std::optional<QString> {
        EXPECT_EQ(folder.toStdString(), dir.path());
        return QString::fromStdString(sums);
    });
    QTest::mouseClick(FindWidget<QPushButton>(dialog, "sumFileButton"), Qt::LeftButton);
    EXPECT_EQ(field->text().toStdString(), "SHA1 (abc.iso) = " + Abc("sha1"));
    dialog.OnHashFile();
    dialog.WaitForIdle();
    EXPECT_TRUE(VerdictOf(dialog).startsWith("Matches: SHA-1, from CHECKSUMS."))
        << VerdictOf(dialog).toStdString();

    // Dropped, a sum file without the file's line is said so; the path box keeps its path.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(elsewhere))});
    data.setText(QString::fromStdString(elsewhere));
    const QPoint at = field->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &drop);
    EXPECT_EQ(VerdictOf(dialog), "MD5SUMS lists no digest for abc.iso.");
    EXPECT_EQ(dialog.GetControlText(kFilePathBoxId), file);
    EXPECT_EQ(field->text().toStdString(), "SHA1 (abc.iso) = " + Abc("sha1"));
}

// Screenshots of a match and a mismatch, at the scale factor the suite runs with.
TEST(Screenshot, Verdicts) {
    for (const bool match : {true, false}) {
        TempDir dir;
        const std::string iso = dir.WriteFile("debian-12.11.0-amd64-netinst.iso", "abc");
        std::string expected = Abc("sha256");
        expected[17] = 'f';
        if (match)
            dir.WriteFile("SHA256SUMS", Abc("sha256") + "  debian-12.11.0-amd64-netinst.iso\n");
        CTarnovelDlg dialog;
        ASSERT_TRUE(ShowActive(dialog));
        dialog.SetControlText(kFilePathBoxId, iso);
        if (!match)
            FindWidget<QLineEdit>(dialog, "expectedBox")->setText(QString::fromStdString(expected));
        dialog.OnHashFile();
        dialog.WaitForIdle();
        EXPECT_TRUE(VerdictOf(dialog).startsWith(match ? "Matches" : "Does not match"));
        QApplication::processEvents();
        QDir().mkpath(QLatin1String(CORVANE_SCREENSHOT_DIR));
        const QString path = QDir(QLatin1String(CORVANE_SCREENSHOT_DIR))
                                 .filePath(QStringLiteral("corvane-%1@%2x.png")
                                               .arg(match ? "match" : "mismatch")
                                               .arg(dialog.devicePixelRatioF()));
        ASSERT_TRUE(dialog.grab().save(path, "PNG"));
        std::printf("screenshot: %s\n", path.toStdString().c_str());
    }
}

}  // namespace
