// The dialog in the user's language. CTest runs this once per language with the locale set the way
// a desktop session sets it (LANG, or LC_MESSAGES), and names the language expected. Every text
// of the window, its menu and its About box must be translated, no label, button, group title or
// verdict may be cut off by its fixed size, and screenshots per language are saved for a reviewer.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QSet>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <cstdio>
#include <map>
#include <memory>

#include "about_dlg.h"
#include "dialog_test_support.h"
#include "status_line.h"
#include "sum_list_window.h"
#include "tarnovel_app.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"
#include "ui_language.h"
#include "vectors.h"
#include "verdict_line.h"

namespace {

// Widget texts by object name: labels, buttons and group titles, as the user reads them.
std::map<QString, QString> TextsOf(const QWidget& window) {
    std::map<QString, QString> texts;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = button->text();
        if (auto* group = qobject_cast<QGroupBox*>(widget)) text = group->title();
        if (auto* label = qobject_cast<QLabel*>(widget)) text = label->text();
        if (!text.isEmpty() && !widget->objectName().isEmpty()) texts[widget->objectName()] = text;
    }
    return texts;
}

// How many pixels the text needs beyond what the widget offers to draw it (0: it fits).
int Overflow(QWidget* widget) {
    const QFontMetrics metrics(widget->font());
    auto width = [&](const QString& text) {
        return metrics.size(Qt::TextShowMnemonic, text).width();
    };
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        // Text that touches the bevel reads as cut off: half the style's button margin each side.
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
        return std::max(0, width(button->text()) + margin - contents.width());
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        // The title sits inside the frame's corners.
        const int corners = 2 * group->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
        return std::max(0, width(group->title()) - (group->width() - corners));
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->wordWrap()) {
            return std::max(0, label->heightForWidth(label->contentsRect().width()) -
                                   label->contentsRect().height());
        }
        return std::max(0, width(label->text()) - label->contentsRect().width());
    }
    return 0;
}

void SaveScreenshot(QWidget& window, const QString& name) {
    QApplication::processEvents();
    QDir().mkpath(QLatin1String(CORVANE_SCREENSHOT_DIR));
    const QString path = QDir(QLatin1String(CORVANE_SCREENSHOT_DIR)).filePath(name);
    EXPECT_TRUE(window.grab().save(path, "PNG")) << path.toStdString();
    std::printf("screenshot: %s\n", path.toStdString().c_str());
}

// Runs what a user would: a file that is not there, then SHA-512 of a sentence. Returns what the
// status line said, each checked to show whole.
QStringList StatusesAfterRuns(CTarnovelDlg& dialog) {
    auto* status = FindWidget<CStatusLine>(dialog, "statusLine");
    QStringList statuses;
    auto run = [&](bool file) {
        file ? dialog.OnHashFile() : dialog.OnHashString();
        dialog.WaitForIdle();
        // The whole text, as a screen reader gets it; the line itself may shorten it.
        const QString whole = status->accessibleDescription();
        statuses << whole;
        EXPECT_FALSE(whole.isEmpty());
        EXPECT_EQ(status->text(), whole) << "shortened to fit";
    };
    dialog.SetControlText(kFilePathBoxId, "/nonexistent/corvane-test.iso");
    run(true);
    dialog.SetControlText(kFilePathBoxId, "");
    dialog.SetControlText(kStringBoxId, "The quick brown fox jumps over the lazy dog");
    FindWidget<QComboBox>(dialog, "algorithmList")->setCurrentIndex(8);
    run(false);
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), SharedVector("fox").digest.at("sha512"));
    return statuses;
}

// Verifies a file against the widest verdicts the line shows, each of which must show whole, its
// notes too: a match with the integrity-only caveat, a mismatch at a three-digit position, both
// from the clipboard (the longest source name), and a match from a signed sum file with a long
// name beside a clipboard that disagrees.
void ExpectVerdictsWhole(CTarnovelDlg& dialog, const QString& language) {
    TempDir dir;
    const std::string file = dir.WriteFile("abc.iso", "abc");
    const auto& digests = SharedVector("abc").digest;
    std::string late = digests.at("sha512");
    late[120] = late[120] == '0' ? '1' : '0';
    const std::string signedSums =
        "-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA256\n\n"
        "SHA256 (abc.iso) = " +
        digests.at("sha256") +
        "\n-----BEGIN PGP SIGNATURE-----\n\niQEz\n"
        "-----END PGP SIGNATURE-----\n";
    const struct {
        const char* name;
        std::string clipboard, sumFile;
        CVerdictLine::Kind kind;
    } cases[] = {
        {"match", digests.at("crc32"), "", CVerdictLine::Kind::Match},
        {"mismatch", late, "", CVerdictLine::Kind::Mismatch},
        {"signed", digests.at("md5"), signedSums, CVerdictLine::Kind::Match},
    };
    auto* line = FindWidget<CVerdictLine>(dialog, "verificationLine");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string sums = dir.PathOf("Fedora-Workstation-Live-x86_64-39-1.5-CHECKSUM");
        if (c.sumFile.empty())
            std::remove(sums.c_str());
        else
            dir.WriteFile("Fedora-Workstation-Live-x86_64-39-1.5-CHECKSUM", c.sumFile);
        QGuiApplication::clipboard()->setText(QString::fromStdString(c.clipboard));
        dialog.SetControlText(kFilePathBoxId, file);
        dialog.OnHashFile();
        dialog.WaitForIdle();
        ASSERT_TRUE(line->isVisible());
        EXPECT_EQ(line->GetKind(), c.kind);
        // Every sentence shown; only a mismatch's two digests are left to the accessible text.
        const QString shown = line->ShownText();
        if (c.kind == CVerdictLine::Kind::Match) {
            EXPECT_EQ(shown, line->FullText());
        } else {
            EXPECT_TRUE(line->FullText().startsWith(shown + QLatin1Char(' ')));
            EXPECT_TRUE(shown.contains(QStringLiteral("121"))) << shown.toStdString();
        }
        EXPECT_LE(line->NeededHeight(), line->AvailableHeight())
            << "cut off: \"" << shown.toStdString() << "\" needs " << line->NeededHeight() << " px";
        SaveScreenshot(dialog, QStringLiteral("corvane-%1-%2@%3x.png")
                                   .arg(c.name, language)
                                   .arg(dialog.devicePixelRatioF()));
    }
    QGuiApplication::clipboard()->clear();
    dialog.SetControlText(kFilePathBoxId, "");
}

// The verification row: the Expected hash label shows its text whole, and the field starts after
// it and reaches as far right as it does in English.
void ExpectVerificationRowFits(const QWidget& dialog, int fieldRight) {
    auto* label = FindWidget<QLabel>(dialog, "expectedLabel");
    const QRect field = FindWidget<QWidget>(dialog, "expectedBox")->geometry();
    EXPECT_EQ(Overflow(label), 0) << "cut off: \"" << label->text().toStdString() << "\"";
    EXPECT_GT(field.left(), label->geometry().right());
    EXPECT_EQ(field.right(), fieldRight);
}

// The list window checking a list with every final state, its run ended.
CSumListWindow* CheckedList(CTarnovelDlg& dialog, const TempDir& dir) {
    const std::string digest = SharedVector("abc").digest.at("sha256");
    dir.WriteFile("abc.iso", "abc");
    dialog.OpenSumList(
        dir.WriteFile("SHA256SUMS", digest + "  abc.iso\n" + digest + "  gone.iso\nno line\n"));
    CSumListWindow* window = dialog.ListWindow();
    window->WaitForIdle();
    return window;
}

// Checks every text of `window` against its English form: present, translated unless the word is
// the same in this language, and not cut off.
void ExpectTranslatedAndWhole(QWidget& window, const std::map<QString, QString>& english,
                              const QSet<QString>& sameInLanguage) {
    const std::map<QString, QString> translated = TextsOf(window);
    for (const auto& [name, source] : english) {
        SCOPED_TRACE(name.toStdString() + ": " + source.toStdString());
        ASSERT_TRUE(translated.count(name)) << "no text in this language";
        const QString& text = translated.at(name);
        if (!sameInLanguage.contains(source)) {
            EXPECT_NE(text, source) << "not translated";
        }
        auto* widget = window.findChild<QWidget*>(name);
        EXPECT_EQ(Overflow(widget), 0)
            << "cut off: \"" << text.toStdString() << "\" in " << widget->width() << " px";
    }
}

TEST(Locale, EveryTextTranslatedAndWhole) {
    const QString language = qEnvironmentVariable("CORVANE_EXPECTED_LANGUAGE");
    ASSERT_FALSE(language.isEmpty()) << "CTest names the expected language";
    // Texts that are the same word in the language ("OK" in German); the list stays short.
    const std::map<QString, QSet<QString>> kSame = {
        {QStringLiteral("de"), {QStringLiteral("OK"), QStringLiteral("Version 1.0.0.1")}},
        {QStringLiteral("ru"), {QStringLiteral("OK")}},  // as Qt's own Russian has it
    };
    ASSERT_TRUE(kSame.count(language)) << language.toStdString();

    // The English source texts, before any translation is installed.
    std::map<QString, QString> englishDialog, englishAbout, englishList;
    TempDir listDir;
    QString englishAboutItem;
    QStringList englishStatuses;
    int englishFieldRight = 0;
    {
        CTarnovelDlg dialog;
        englishDialog = TextsOf(dialog);
        englishAboutItem =
            std::unique_ptr<QMenu>(dialog.CreateWindowMenu())->actions().front()->text();
        ASSERT_TRUE(ShowActive(dialog));
        englishStatuses = StatusesAfterRuns(dialog);
        SaveScreenshot(dialog, QStringLiteral("corvane-dialog-en.png"));
        ExpectVerdictsWhole(dialog, QStringLiteral("en"));
        englishFieldRight = FindWidget<QWidget>(dialog, "expectedBox")->geometry().right();
        ExpectVerificationRowFits(dialog, englishFieldRight);
        CSumListWindow* list = CheckedList(dialog, listDir);
        for (const auto& [name, text] : TextsOf(*list))
            if (list->findChild<QWidget*>(name)->isVisible()) englishList[name] = text;
        list->close();
        CAboutDlg about;
        englishAbout = TextsOf(about);
        englishAbout[QStringLiteral("windowTitle")] = about.windowTitle();
    }
    ASSERT_GE(englishDialog.size(), 11u);  // the described labels, buttons and group

    // The real start-up: it picks the language from the environment and runs the dialog.
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CTarnovelDlg*>(WaitForModal("CTarnovelDlg"));
        ASSERT_NE(dialog, nullptr);
        ExpectTranslatedAndWhole(*dialog, englishDialog, kSame.at(language));
        ExpectVerificationRowFits(*dialog, englishFieldRight);
        const std::unique_ptr<QMenu> menu(dialog->CreateWindowMenu());
        EXPECT_NE(menu->actions().front()->text(), englishAboutItem);
        // The status line's texts, translated; the window then shows the sentence's digest.
        const QStringList statuses = StatusesAfterRuns(*dialog);
        for (int i = 0; i < statuses.size(); ++i) EXPECT_NE(statuses[i], englishStatuses[i]);
        SaveScreenshot(*dialog, QStringLiteral("corvane-dialog-%1.png").arg(language));
        ExpectVerdictsWhole(*dialog, language);
        CSumListWindow* list = CheckedList(*dialog, listDir);
        ExpectTranslatedAndWhole(*list, englishList, kSame.at(language));
        SaveScreenshot(
            *list,
            QStringLiteral("corvane-list-%1@%2x.png").arg(language).arg(list->devicePixelRatioF()));
        list->close();

        CAboutDlg about(dialog);
        ASSERT_TRUE(ShowActive(about));
        EXPECT_NE(about.windowTitle(), englishAbout[QStringLiteral("windowTitle")]);
        englishAbout.erase(QStringLiteral("windowTitle"));
        englishAbout.erase(QStringLiteral("productLabel"));  // the product's name stays as it is
        ExpectTranslatedAndWhole(about, englishAbout, kSame.at(language));
        SaveScreenshot(about, QStringLiteral("corvane-about-%1.png").arg(language));
        about.close();
        checked = true;
        dialog->reject();
    });
    CTarnovelApp().InitInstance();
    EXPECT_TRUE(checked);
    EXPECT_EQ(InstallTranslations(), language);
}

}  // namespace
