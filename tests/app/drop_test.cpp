// Dropping files onto the dialog: a local file URL fills the path box, nothing else happens.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QLineEdit>
#include <QList>
#include <QMimeData>
#include <QUrl>
#include <string>

#include "dialog_test_support.h"
#include "tarnovel_dlg.h"

namespace {

// Sends a drop of `urls` to the dialog's centre; true when the dialog accepted it.
bool Drop(CTarnovelDlg& dialog, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDropEvent drop(QPointF(dialog.width() / 2.0, dialog.height() / 2.0), Qt::CopyAction, &data,
                    Qt::LeftButton, Qt::NoModifier);
    // Straight to the widget: without a drag in progress the application would not route it.
    static_cast<QObject&>(dialog).event(&drop);
    return drop.isAccepted();
}

TEST(Drop, FillsThePathBoxOnly) {
    struct Case {
        const char* name;
        QList<QUrl> urls;
        std::string expected;
        bool accepted;
    };
    const Case cases[] = {
        {"one file", {QUrl::fromLocalFile("/tmp/a b.bin")}, "/tmp/a b.bin", true},
        {"two files",
         {QUrl::fromLocalFile("/tmp/first"), QUrl::fromLocalFile("/tmp/second")},
         "/tmp/first",
         true},
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
        EXPECT_EQ(Drop(dialog, c.urls), c.accepted);
        EXPECT_EQ(dialog.GetControlText(kFilePathBoxId), c.expected);
        EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "output");  // no hashing
    }
}

}  // namespace
