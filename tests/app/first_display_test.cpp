// The main dialog as it first appears: caption, size, the fifteen controls of its template in
// order with their texts and geometry, the initial state, the tab order and the output box.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <string>
#include <vector>

#include "dialog_font.h"
#include "dialog_test_support.h"
#include "tarnovel_dlg.h"

namespace {

struct TemplateControl {
    const char* name;
    const char* className;
    const char* text;  // nullptr for the list, whose text is its selection
    int x, y, width, height;
};

// The dialog template, in template order, in dialog units.
const std::vector<TemplateControl> kTemplate = {
    {"okButton", "QPushButton", "OK", 243, 13, 50, 14},
    {"cancelButton", "QPushButton", "Cancel", 243, 31, 50, 14},
    {"hashGroup", "QGroupBox", "Hashing a file", 7, 9, 230, 201},
    {"filePathLabel", "QLabel", "File to hash:", 16, 25, 94, 8},
    {"filePathBox", "QLineEdit", "", 16, 38, 163, 14},
    {"browseButton", "QPushButton", "Browse", 185, 38, 42, 14},
    {"algorithmList", "QComboBox", nullptr, 15, 103, 211, 14},
    {"algorithmLabel", "QLabel", "Algorithm:", 15, 92, 65, 8},
    {"hashFileButton", "QPushButton", "Hash file", 17, 185, 50, 14},
    {"outputLabel", "QLabel", "Output hash", 14, 121, 69, 8},
    {"outputBox", "QPlainTextEdit", "", 15, 134, 211, 40},
    {"hashStringButton", "QPushButton", "Hash string", 90, 186, 50, 14},
    {"stringLabel", "QLabel", "String to hash:", 16, 57, 94, 8},
    {"stringBox", "QLineEdit", "", 15, 70, 211, 14},
    {"moreSoftwareButton", "QPushButton", "more software", 161, 186, 58, 15},
};

const std::vector<std::string> kTabOrder = {
    "okButton", "cancelButton", "filePathBox", "browseButton", "algorithmList", "hashFileButton",
    "outputBox", "hashStringButton", "stringBox", "moreSoftwareButton",
    // The verification row, after the described controls.
    "expectedBox", "sumFileButton"};

QString TextOf(const QWidget* widget) {
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* line = qobject_cast<const QLineEdit*>(widget)) return line->text();
    if (auto* box = qobject_cast<const QPlainTextEdit*>(widget)) return box->toPlainText();
    return QString();
}

std::string FocusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName().toStdString() : std::string("(none)");
}

TEST(DialogUnits, ConvertEachValueRoundingToNearest) {
    const DialogBaseUnits units{6, 13};
    EXPECT_EQ(MapDialogRect(units, 243, 13, 50, 14), QRect(365, 21, 75, 23));
    EXPECT_EQ(MapDialogRect(units, 0, 0, 1, 1), QRect(0, 0, 2, 2));  // 1.5 and 1.625 round up
    EXPECT_EQ(MapDialogSize(units, 299, 223), QSize(449, 362));
    EXPECT_EQ(MapDialogSize(DialogBaseUnits{5, 12}, 299, 223), QSize(374, 335));
}

TEST(DialogFont, IsArialOrAMetricCompatibleSans8Point) {
    const QFont font = DialogFont();
    EXPECT_EQ(font.pointSize(), 8);
    const QString family = QFontInfo(font).family();
    if (QFontDatabase::families().contains(QStringLiteral("Liberation Sans"))) {
        EXPECT_TRUE(family == QLatin1String("Arial") || family == QLatin1String("Liberation Sans"))
            << family.toStdString();
    }
    const DialogBaseUnits units = BaseUnitsOf(font);
    // Around 5 by 12 pixels at 96 dpi; far outside means the metrics were misread.
    EXPECT_GE(units.charWidth, 3);
    EXPECT_LE(units.charWidth, 12);
    EXPECT_GE(units.charHeight, 8);
    EXPECT_LE(units.charHeight, 30);
}

TEST(FirstDisplay, CaptionFixedSizeAndFrame) {
    CTarnovelDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Ostrel Corvane"));
    // The template's 223 units, the verification row's 14 and the result line's two lines.
    const QSize expected = MapDialogSize(BaseUnitsOf(dialog.font()), 299, 223 + 34);
    EXPECT_EQ(dialog.size(), expected);
    EXPECT_EQ(dialog.minimumSize(), expected);
    EXPECT_EQ(dialog.maximumSize(), expected);
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(dialog.windowIcon().isNull());
    EXPECT_EQ(dialog.font().pointSize(), 8);
}

TEST(FirstDisplay, FifteenControlsInTemplateOrderWithTextsAndGeometry) {
    CTarnovelDlg dialog;
    const DialogBaseUnits units = BaseUnitsOf(dialog.font());
    std::vector<QWidget*> controls;
    for (QObject* child : dialog.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow()) controls.push_back(widget);
    }
    // The template's controls come first; what the dialog adds comes after them.
    ASSERT_GE(controls.size(), kTemplate.size());
    for (std::size_t i = 0; i < kTemplate.size(); ++i) {
        const TemplateControl& want = kTemplate[i];
        SCOPED_TRACE(want.name);
        QWidget* control = controls[i];
        EXPECT_EQ(control->objectName().toStdString(), want.name);
        EXPECT_TRUE(control->inherits(want.className)) << control->metaObject()->className();
        if (want.text) {
            EXPECT_EQ(TextOf(control), QString::fromUtf8(want.text));
        }
        EXPECT_EQ(control->geometry(),
                  MapDialogRect(units, want.x, want.y, want.width, want.height));
        EXPECT_TRUE(dialog.rect().contains(control->geometry()));
    }
}

TEST(FirstDisplay, InitialStateDefaultButtonAndFocus) {
    CTarnovelDlg dialog;
    auto* list = FindWidget<QComboBox>(dialog, "algorithmList");
    ASSERT_NE(list, nullptr);
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    // The nine in their places, then a separator before the algorithms added beyond them.
    EXPECT_EQ(entries.mid(0, 10), (QStringList{"CRC32", "GOSTHash", "MD2", "MD4", "MD5", "SHA-1",
                                               "SHA-2 256", "SHA-2 384", "SHA-2 512", ""}));
    EXPECT_EQ(entries.size(), static_cast<qsizetype>(kAlgorithmList.size() + 1));
    EXPECT_EQ(list->currentIndex(), 5);
    EXPECT_EQ(list->currentText(), QStringLiteral("SHA-1"));
    EXPECT_GE(list->maxVisibleItems(), list->count());  // the dropped list needs no scrolling
    EXPECT_EQ(dialog.GetSelectedIndex(), 5);
    for (int id : {kFilePathBoxId, kStringBoxId, kOutputBoxId}) {
        EXPECT_EQ(dialog.GetControlText(id), "") << id;
    }
    EXPECT_EQ(dialog.GetControlText(kAlgorithmListId), "SHA-1");

    auto* ok = FindWidget<QPushButton>(dialog, "okButton");
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button != ok) {
            EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        }
    }
    ASSERT_TRUE(ShowActive(dialog));
    EXPECT_EQ(FocusName(), "okButton");
}

TEST(FirstDisplay, TabAndShiftTabVisitEveryTabStopInTemplateOrder) {
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    ASSERT_EQ(FocusName(), kTabOrder.front());
    for (std::size_t step = 1; step <= kTabOrder.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(FocusName(), kTabOrder[step % kTabOrder.size()]) << "Tab " << step;
    }
    for (std::size_t step = 1; step <= kTabOrder.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(FocusName(), kTabOrder[(kTabOrder.size() - step) % kTabOrder.size()])
            << "Shift+Tab " << step;
    }
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "");  // no tab character went into it
}

TEST(FirstDisplay, OutputBoxWrapsALongDigestWithoutScrollBars) {
    CTarnovelDlg dialog;
    auto* box = FindWidget<QPlainTextEdit>(dialog, "outputBox");
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isReadOnly());
    EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(box->tabChangesFocus());
    ASSERT_TRUE(ShowActive(dialog));

    const std::string digest(128, 'f');  // the length of a SHA-2 512 result
    dialog.SetControlText(kOutputBoxId, digest);
    QApplication::processEvents();
    const QTextLayout* layout = box->document()->firstBlock().layout();
    EXPECT_GT(layout->lineCount(), 1);
    EXPECT_EQ(box->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(box->verticalScrollBar()->maximum(), 0);  // every line fits in the box
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), digest);
}

TEST(FirstDisplay, OutputBoxIsEditableAndCtrlEnterStartsALine) {
    CTarnovelDlg dialog;
    auto* box = FindWidget<QPlainTextEdit>(dialog, "outputBox");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(ShowActive(dialog));
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("ab"));
    QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(box, QStringLiteral("c"));
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "ab\nc");
    EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
