// The dialog's own commands: Browse, "more software" and the About command with its window menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "about_dlg.h"
#include "corvane_version.h"
#include "dialog_test_support.h"
#include "more_software.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

// Records each chooser call and answers with the queued result.
struct FakeChooser {
    std::vector<QString> presets;
    std::vector<QWidget*> owners;
    std::optional<QString> answer;

    CTarnovelDlg::FileChooser Hook() {
        return [this](QWidget* owner, const QString& preset) {
            owners.push_back(owner);
            presets.push_back(preset);
            return answer;
        };
    }
};

TEST(Browse, FreshDialogStartsTheChooserWithAnEmptyName) {
    CTarnovelDlg dialog;
    FakeChooser chooser;
    dialog.SetFileChooser(chooser.Hook());
    chooser.answer = QStringLiteral("/data/chosen file.iso");
    QTest::mouseClick(FindWidget<QPushButton>(dialog, "browseButton"), Qt::LeftButton);
    ASSERT_EQ(chooser.presets.size(), 1u);
    EXPECT_EQ(chooser.presets[0], QString());
    EXPECT_EQ(chooser.owners[0], &dialog);
    EXPECT_EQ(dialog.GetControlText(kFilePathBoxId), "/data/chosen file.iso");
}

TEST(Browse, PresetIsTheLastHashedPathNotTheEditedBox) {
    CTarnovelDlg dialog;
    FakeChooser chooser;
    dialog.SetFileChooser(chooser.Hook());
    TempDir dir;
    const std::string hashed = dir.WriteFile("first.txt", "abc");
    dialog.SetControlText(kFilePathBoxId, hashed);
    FindWidget<QComboBox>(dialog, "algorithmList")->setCurrentIndex(0);
    QTest::mouseClick(FindWidget<QPushButton>(dialog, "hashFileButton"), Qt::LeftButton);
    dialog.WaitForIdle();
    ASSERT_EQ(dialog.GetControlText(kOutputBoxId), SharedVector("abc").digest.at("crc32"));

    dialog.SetControlText(kFilePathBoxId, "/somewhere/else");
    chooser.answer = QStringLiteral("/picked/one");
    dialog.OnBrowse();
    EXPECT_EQ(dialog.GetControlText(kFilePathBoxId), "/picked/one");
    // Browse left the request alone: the next preset is still the hashed path.
    dialog.OnBrowse();
    ASSERT_EQ(chooser.presets.size(), 2u);
    EXPECT_EQ(chooser.presets[0].toStdString(), hashed);
    EXPECT_EQ(chooser.presets[1].toStdString(), hashed);
}

// Qt's chooser decodes names lossily; a chosen name with U+FFFD is the one entry it stands for,
// shown escaped, and is what a run opens.
TEST(Browse, ANameThatIsNoUtf8IsTheFileChosen) {
    TempDir dir;
    const std::string raw = dir.WriteFile(
        "\xff"
        "abc.txt",
        "abc");
    CTarnovelDlg dialog;
    FakeChooser chooser;
    dialog.SetFileChooser(chooser.Hook());
    chooser.answer = QString::fromStdString(dir.path() +
                                            "/\xef\xbf\xbd"
                                            "abc.txt");
    dialog.OnBrowse();
    EXPECT_EQ(dialog.GetControlText(kFilePathBoxId), raw);
    EXPECT_EQ(FindWidget<QLineEdit>(dialog, "filePathBox")->text().toStdString(),
              dir.path() + "/\\xFFabc.txt");
    dialog.OnHashFile();
    dialog.WaitForIdle();
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), SharedVector("abc").digest.at("sha1"));
}

TEST(Browse, CancellingLeavesTheBoxUnchanged) {
    CTarnovelDlg dialog;
    FakeChooser chooser;
    dialog.SetFileChooser(chooser.Hook());
    dialog.SetControlText(kFilePathBoxId, "typed by hand");
    chooser.answer = std::nullopt;
    dialog.OnBrowse();
    EXPECT_EQ(chooser.presets.size(), 1u);
    EXPECT_EQ(dialog.GetControlText(kFilePathBoxId), "typed by hand");
}

TEST(Browse, RealChooserStartsAtThePresetMatchesEveryFileAndReturnsTheChoice) {
    TempDir dir;
    const QString preset = QString::fromStdString(dir.WriteFile("preset.bin", "x"));
    const QString other = QString::fromStdString(dir.WriteFile("no_extension", "y"));
    QStringList selectedAtStart;
    QStringList filters;
    QStringList patterns;
    QDialog owner;
    QTimer::singleShot(0, &owner, [&] {
        auto* chooser = qobject_cast<QFileDialog*>(WaitForModal("QFileDialog"));
        if (!chooser) return;
        selectedAtStart = chooser->selectedFiles();
        filters = chooser->nameFilters();
        if (auto* model = chooser->findChild<QFileSystemModel*>()) patterns = model->nameFilters();
        chooser->selectFile(other);
        static_cast<QDialog*>(chooser)->accept();
    });
    const std::optional<QString> chosen = CTarnovelDlg::RunFileChooser(&owner, preset);
    EXPECT_EQ(selectedAtStart, QStringList{preset});
    EXPECT_EQ(filters, QStringList{QLatin1String(kBrowseFilter)});
    EXPECT_EQ(patterns, QStringList{QStringLiteral("*")});
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, other);
}

TEST(Browse, RealChooserCancelledGivesNothing) {
    QDialog owner;
    QTimer::singleShot(0, &owner, [] {
        if (QWidget* chooser = WaitForModal("QFileDialog"))
            static_cast<QDialog*>(chooser)->reject();
    });
    EXPECT_FALSE(CTarnovelDlg::RunFileChooser(&owner, QString()).has_value());
}

TEST(MoreSoftware, OpensTheBuildsAddressOrThePageShippedBesideTheProgram) {
    CTarnovelDlg dialog;
    UrlCatcher& catcher = TestUrlCatcher();
    catcher.opened.clear();
    QTest::mouseClick(FindWidget<QPushButton>(dialog, "moreSoftwareButton"), Qt::LeftButton);
    ASSERT_EQ(catcher.opened.size(), 1u);
    const QUrl url = catcher.opened[0];
    if (QLatin1String(kMoreSoftwareUrl).isEmpty()) {
        ASSERT_TRUE(url.isLocalFile()) << url.toString().toStdString();
        const QFileInfo page(url.toLocalFile());
        EXPECT_TRUE(page.isFile()) << page.filePath().toStdString();
        EXPECT_EQ(page.fileName(), QStringLiteral("more-software.html"));
    } else {
        EXPECT_EQ(url, QUrl::fromUserInput(QLatin1String(kMoreSoftwareUrl)));
    }
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "");
}

TEST(MoreSoftware, WhenNothingOpensThePageTheStatusLineSaysSo) {
    CTarnovelDlg dialog;
    // No handler and no desktop: the offscreen platform opens nothing.
    for (const char* scheme : {"http", "https", "file"}) {
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
    QTest::mouseClick(FindWidget<QPushButton>(dialog, "moreSoftwareButton"), Qt::LeftButton);
    for (const char* scheme : {"http", "https", "file"}) {
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &TestUrlCatcher(), "Open");
    }
    const QString status = StatusOf(dialog);
    EXPECT_TRUE(status.startsWith(QStringLiteral("Nothing could open "))) << status.toStdString();
}

TEST(MoreSoftware, PageIsTheConfiguredAddressElseBesideTheProgramElseInstalled) {
    TempDir dir;
    const QString relative = QStringLiteral("../share/ostrel-corvane");
    std::filesystem::create_directories(dir.PathOf("beside/share/ostrel-corvane"));
    std::filesystem::create_directories(dir.PathOf("beside/bin"));
    const QString beside = QString::fromStdString(
        dir.WriteFile("beside/share/ostrel-corvane/more-software.html", "<html>"));
    const QString appDir = QString::fromStdString(dir.PathOf("beside/bin"));
    const QString installed = QString::fromStdString(dir.PathOf("usr/share/ostrel-corvane"));
    const QString configured = QStringLiteral("https://corvane.test/more");

    MoreSoftwarePage found = FindMoreSoftwarePage(configured, appDir, relative, installed);
    EXPECT_EQ(found.url, QUrl(configured));
    found = FindMoreSoftwarePage(QString(), appDir, relative, installed);
    EXPECT_EQ(found.url, QUrl::fromLocalFile(beside));
    EXPECT_TRUE(found.missingPath.isEmpty());
    // Nothing beside the program, nothing installed: the status line names where it should be.
    found = FindMoreSoftwarePage(QString(), installed, relative, installed);
    EXPECT_EQ(found.missingPath, installed + QStringLiteral("/more-software.html"));
}

TEST(About, CommandIdWithLowBitsClearedMustBeSixteen) {
    struct Case {
        unsigned id;
        bool opens;
    };
    const Case cases[] = {{16, true},  {17, true},  {0x1F, true},    {0, false},     {15, false},
                          {32, false}, {48, false}, {0xF060, false}, {0xF010, false}};
    for (const Case& c : cases) {
        CTarnovelDlg dialog;
        int runs = 0;
        dialog.SetAboutRunner([&](QWidget* owner) {
            EXPECT_EQ(owner, &dialog);
            ++runs;
        });
        dialog.OnSysCommand(c.id);
        EXPECT_EQ(runs, c.opens ? 1 : 0) << "id " << c.id;
    }
}

TEST(About, WindowMenuHoldsTheAboutItemWhichSendsCommandSixteen) {
    CTarnovelDlg dialog;
    int runs = 0;
    dialog.SetAboutRunner([&](QWidget*) { ++runs; });
    QMenu* menu = dialog.CreateWindowMenu();
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("&About Ostrel..."));
    actions[0]->trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(dialog.contextMenuPolicy(), Qt::CustomContextMenu);
    delete menu;
}

TEST(About, RightClickOnTheBackgroundOffersTheWindowMenu) {
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    const QPoint background(dialog.width() - 5, dialog.height() - 5);  // right of the group box
    ASSERT_EQ(dialog.childAt(background), nullptr);
    QContextMenuEvent event(QContextMenuEvent::Mouse, background, dialog.mapToGlobal(background));
    QApplication::sendEvent(&dialog, &event);
    auto* menu = dialog.findChild<QMenu*>(QStringLiteral("windowMenu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("&About Ostrel..."));
    menu->close();
}

TEST(About, F1OpensTheBoxWhereverTheFocusIs) {
    for (const char* focus : {"okButton", "filePathBox", "algorithmList", "outputBox", "stringBox",
                              "moreSoftwareButton"}) {
        SCOPED_TRACE(focus);
        CTarnovelDlg dialog;
        int runs = 0;
        dialog.SetAboutRunner([&](QWidget*) { ++runs; });
        ASSERT_TRUE(ShowActive(dialog));
        QWidget* target = FindWidget<QWidget>(dialog, focus);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_F1);
        EXPECT_EQ(runs, 1);
        EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "");
    }
}

TEST(About, RightClickOnAnyPartWithoutAMenuOfItsOwnOffersTheWindowMenu) {
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    dialog.SetControlText(kOutputBoxId, "digest");  // the status line has something to show
    int checked = 0;
    for (QWidget* part : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // The edit boxes have their own menus (cut, copy, paste).
        if (!part->isVisible() || part->inherits("QLineEdit") || part->inherits("QPlainTextEdit")) {
            continue;
        }
        SCOPED_TRACE(part->objectName().toStdString());
        const QPoint inside = part->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, inside, part->mapToGlobal(inside));
        QApplication::sendEvent(part, &event);
        auto* menu = dialog.findChild<QMenu*>(QStringLiteral("windowMenu"));
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->isVisible());
        delete menu;
        ++checked;
    }
    EXPECT_GE(checked, 11);  // four buttons, the list, the group, four labels, the status line
}

TEST(About, BoxShowsNameVersionDescriptionAndClosesWithOk) {
    CTarnovelDlg dialog;
    QString product;
    QString version;
    QString description;
    bool hadOk = false;
    QTimer::singleShot(0, &dialog, [&] {
        QWidget* about = WaitForModal("CAboutDlg");
        if (!about) return;
        product = FindWidget<QLabel>(*about, "productLabel")->text();
        version = FindWidget<QLabel>(*about, "versionLabel")->text();
        description = FindWidget<QLabel>(*about, "descriptionLabel")->text();
        auto* ok = FindWidget<QPushButton>(*about, "okButton");
        hadOk = ok && ok->text().remove(QLatin1Char('&')) == QLatin1String("OK");
        if (ok) QTest::mouseClick(ok, Qt::LeftButton);
    });
    dialog.OnSysCommand(kAboutCommandId);  // the real box, run modally until OK
    EXPECT_EQ(product, QStringLiteral("Ostrel Corvane Application"));
    EXPECT_TRUE(version.contains(QStringLiteral("1.0.0.1"))) << version.toStdString();
    EXPECT_FALSE(description.isEmpty());
    EXPECT_FALSE(description.contains(QLatin1Char('\n')));
    EXPECT_TRUE(hadOk);
}

}  // namespace
