// The two hash buttons driven like a user: type, pick an algorithm, click, read the output box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>

#include "dialog_test_support.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

class HashButtons : public ::testing::Test {
protected:
    void SetUp() override {
        filePathBox = FindWidget<QLineEdit>(dialog, "filePathBox");
        stringBox = FindWidget<QLineEdit>(dialog, "stringBox");
        list = FindWidget<QComboBox>(dialog, "algorithmList");
        hashFile = FindWidget<QPushButton>(dialog, "hashFileButton");
        hashString = FindWidget<QPushButton>(dialog, "hashStringButton");
        ASSERT_TRUE(filePathBox && stringBox && list && hashFile && hashString);
        ASSERT_TRUE(ShowActive(dialog));
    }

    // Types the text key by key, any character included (QTest's own typing knows only ASCII).
    void Type(QLineEdit* box, const std::string& text) {
        box->clear();
        box->setFocus();
        for (const QChar character : QString::fromStdString(text)) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
            QApplication::sendEvent(box, &press);
        }
        ASSERT_EQ(box->text().toStdString(), text);
    }

    std::string Press(QPushButton* button) {
        QTest::mouseClick(button, Qt::LeftButton);
        dialog.WaitForIdle();
        return dialog.GetControlText(kOutputBoxId);
    }

    CTarnovelDlg dialog;
    QLineEdit* filePathBox = nullptr;
    QLineEdit* stringBox = nullptr;
    QComboBox* list = nullptr;
    QPushButton* hashFile = nullptr;
    QPushButton* hashString = nullptr;
};

TEST_F(HashButtons, TypedStringsWithCrc32) {
    list->setCurrentIndex(0);
    for (const char* name : {"empty", "a", "abc", "message-digest", "fox", "digits-9"}) {
        SCOPED_TRACE(name);
        const DigestVector& vector = SharedVector(name);
        Type(stringBox, vector.message);
        EXPECT_EQ(Press(hashString), vector.digest.at("crc32"));
    }
}

TEST_F(HashButtons, TypedPathWithCrc32) {
    TempDir dir;
    list->setCurrentIndex(0);
    for (const char* name : {"empty", "abc", "ramp-16000", "ramp-16001", "ramp-100000"}) {
        SCOPED_TRACE(name);
        const DigestVector& vector = SharedVector(name);
        Type(filePathBox, dir.WriteFile(std::string(name) + ".bin", vector.message));
        EXPECT_EQ(Press(hashFile), vector.digest.at("crc32"));
    }
}

TEST_F(HashButtons, EmptyOrMissingPathShowsNoDigest) {
    TempDir dir;
    for (const std::string& path : {std::string(), dir.PathOf("missing")}) {
        SCOPED_TRACE(path);
        list->setCurrentIndex(0);
        dialog.SetControlText(kOutputBoxId, SharedVector("abc").digest.at("crc32"));
        Type(filePathBox, path);
        EXPECT_EQ(Press(hashFile), "");
    }
}

TEST_F(HashButtons, EachPressReplacesTheOutput) {
    const DigestVector& abc = SharedVector("abc");
    TempDir dir;
    Type(filePathBox, dir.WriteFile("abc.txt", abc.message));
    Type(stringBox, "message digest");
    list->setCurrentIndex(0);
    EXPECT_EQ(Press(hashString), SharedVector("message-digest").digest.at("crc32"));
    EXPECT_EQ(Press(hashFile), abc.digest.at("crc32"));
    EXPECT_EQ(Press(hashFile), abc.digest.at("crc32"));  // not appended to the last one
    dialog.SetControlText(kOutputBoxId, "edited by hand");
    EXPECT_EQ(Press(hashString), SharedVector("message-digest").digest.at("crc32"));
}

TEST_F(HashButtons, NeitherCommandReadsTheOtherBox) {
    TempDir dir;
    Type(filePathBox, dir.WriteFile("a.txt", "a"));
    Type(stringBox, "abc");
    list->setCurrentIndex(0);
    EXPECT_EQ(Press(hashString), SharedVector("abc").digest.at("crc32"));
    EXPECT_EQ(Press(hashFile), SharedVector("a").digest.at("crc32"));
}

TEST_F(HashButtons, TextIsHashedAsItsUtf8BytesUntrimmed) {
    // Expected values from Python's zlib.crc32.
    list->setCurrentIndex(0);
    Type(stringBox, "  abc ");
    EXPECT_EQ(Press(hashString), "cad81c15");
    Type(stringBox, "gr\xc3\xbc\xc3\x9f");  // "grüß" typed, as UTF-8
    EXPECT_EQ(Press(hashString), "0ffa612a");
}

TEST_F(HashButtons, APastedTextLongerThanALineEditsDefaultLimitIsHashedWhole) {
    // 40,000 characters; the digests from Python's hashlib and zlib.
    QString text;
    for (int i = 0; i < 4000; ++i) text += QStringLiteral("0123456789");
    QApplication::clipboard()->setText(text);
    stringBox->clear();
    stringBox->paste();
    ASSERT_EQ(stringBox->text().size(), 40000);
    EXPECT_EQ(Press(hashString), "1df502701427250ec89d4c679c629a58e790555e");
    list->setCurrentIndex(0);
    EXPECT_EQ(Press(hashString), "baeb7247");
}

// Copy takes the output box's digest to the clipboard, says so on the status line for a moment,
// and is there only while the box holds something.
TEST_F(HashButtons, CopyPutsTheDigestOnTheClipboardAndSaysSo) {
    auto* copy = FindWidget<QPushButton>(dialog, "copyButton");
    EXPECT_FALSE(copy->isEnabled());
    Type(stringBox, "abc");
    const std::string digest = Press(hashString);
    ASSERT_TRUE(copy->isEnabled());
    const QString status = StatusOf(dialog);
    QApplication::clipboard()->clear();
    copy->setFocus();
    QTest::keyClick(copy, Qt::Key_Space);  // without a mouse
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), digest);
    EXPECT_EQ(StatusOf(dialog), "Copied to the clipboard: " + QString::fromStdString(digest));
    EXPECT_TRUE(WaitUntil([&] { return StatusOf(dialog) == status; }, 5000));
    QApplication::clipboard()->clear();
    dialog.SetControlText(kOutputBoxId, "");
    EXPECT_FALSE(copy->isEnabled());
}

}  // namespace
