// Dropping files onto the dialog: a local file URL fills the path box wherever it lands, and
// nothing else happens; several files, a folder or a checksum list open the list window instead.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QList>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <string>

#include "dialog_test_support.h"
#include "sum_list_window.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"

namespace {

// Drags `data` onto `target` as a drag and drop does (enter, then drop), at a point inside it;
// true when the drop was accepted.
bool Drop(QWidget* target, const QMimeData& data) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

TEST(Drop, FillsThePathBoxOnly) {
    struct Case {
        const char* name;
        QList<QUrl> urls;
        std::string expected;
        bool accepted;
        const char* listTitle = "";  // the list window's, when the drop opens it
    };
    TempDir dir;
    const QString list = QString::fromStdString(dir.WriteFile("MD5SUMS", ""));
    const Case cases[] = {
        {"one file", {QUrl::fromLocalFile("/tmp/a b.bin")}, "/tmp/a b.bin", true},
        {"two files",
         {QUrl::fromLocalFile("/tmp/first"), QUrl::fromLocalFile("/tmp/second")},
         "kept",
         true,
         "Hashing 2 files"},
        {"a folder",
         {QUrl::fromLocalFile(QString::fromStdString(dir.path()))},
         "kept",
         true,
         "Hashing 1 file"},
        {"a checksum list", {QUrl::fromLocalFile(list)}, "kept", true, "Checking MD5SUMS"},
        // Percent-decoded to bytes, not to U+FFFD.
        {"non-UTF-8 name", {QUrl("file:///tmp/%FFx%20y.iso")}, "/tmp/\xffx y.iso", true},
        {"http url", {QUrl("http://example.org/file.bin")}, "kept", false},
        {"http then file",
         {QUrl("https://example.org/x"), QUrl::fromLocalFile("/tmp/local")},
         "/tmp/local",
         true},
        {"nothing", {}, "kept", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTarnovelDlg dialog;
        dialog.SetControlText(kFilePathBoxId, "kept");
        dialog.SetControlText(kOutputBoxId, "output");
        QMimeData data;
        data.setUrls(c.urls);
        EXPECT_EQ(Drop(&dialog, data), c.accepted);
        EXPECT_EQ(dialog.GetControlText(kFilePathBoxId), c.expected);
        EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "output");  // no hashing
        auto* window = dialog.findChild<CSumListWindow*>();
        if (window) window->WaitForIdle();
        EXPECT_EQ(window && window->isVisible() ? window->windowTitle() : QString(),
                  QString::fromUtf8(c.listTitle));
    }
}

TEST(Drop, AFileWithItsNameAsTextReplacesThePathWhereverItLands) {
    // File managers offer the URL and the path as text; an edit box's own dropping would splice
    // the text in where it landed.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/data/rand1m.bin")});
    data.setText(QStringLiteral("/data/rand1m.bin"));
    for (const char* where : {"filePathBox", "stringBox", "outputBox", "algorithmList",
                              "hashFileButton", "hashGroup", "outputLabel"}) {
        SCOPED_TRACE(where);
        CTarnovelDlg dialog;
        ASSERT_TRUE(ShowActive(dialog));
        dialog.SetControlText(kFilePathBoxId, "/tmp/abc.txt");
        dialog.SetControlText(kStringBoxId, "typed");
        dialog.SetControlText(kOutputBoxId, "digest");
        QWidget* target = FindWidget<QWidget>(dialog, where);
        if (auto* box = qobject_cast<QPlainTextEdit*>(target)) target = box->viewport();
        // A widget that takes no drops leaves them to the dialog, as the application would.
        while (!target->acceptDrops()) target = target->parentWidget();
        EXPECT_TRUE(Drop(target, data));
        EXPECT_EQ(dialog.GetControlText(kFilePathBoxId), "/data/rand1m.bin");
        EXPECT_EQ(dialog.GetControlText(kStringBoxId), "typed");
        EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "digest");
    }
}

TEST(Drop, PlainTextStillDropsIntoTheStringBox) {
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    QMimeData data;
    data.setText(QStringLiteral("dropped"));
    EXPECT_TRUE(Drop(FindWidget<QLineEdit>(dialog, "stringBox"), data));
    EXPECT_EQ(dialog.GetControlText(kStringBoxId), "dropped");
    EXPECT_EQ(dialog.GetControlText(kFilePathBoxId), "");
}

}  // namespace
