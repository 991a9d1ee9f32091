// The status line: what the shown digest is of, or in a few words why there is none; marked once
// the inputs move on from what it describes. And the names screen readers find the controls by.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "dialog_test_support.h"
#include "run_status.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"
#include "unprivileged.h"
#include "vectors.h"

namespace {

QString Reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

TEST(StatusLine, SaysWhatTheDigestIsOfOrWhyThereIsNone) {
    struct Case {
        RunFacts facts;
        QString expected;
    };
    const QString sha1 = QStringLiteral("SHA-1");
    const QString file = QStringLiteral("/data/abc.txt");
    const Case cases[] = {
        {{true, file, sha1, RunEnd::Digest, 0, 3}, "SHA-1 of abc.txt, 3 bytes"},
        {{true, file, QStringLiteral("MD5"), RunEnd::Digest, 0, 1}, "MD5 of abc.txt, 1 byte"},
        {{false, file, QStringLiteral("SHA-2 512"), RunEnd::Digest, 0, 0},
         "SHA-2 512 of the string, 0 bytes"},
        {{true, QString(), sha1, RunEnd::NoFileGiven, 0, 0}, "No file given"},
        {{true, file, sha1, RunEnd::NotFound, ENOENT, 0}, "No such file: abc.txt"},
        {{true, QStringLiteral("/data/sub"), sha1, RunEnd::OpenFailed, EISDIR, 0},
         "sub is a folder"},
        {{true, QStringLiteral("/data/sub/"), sha1, RunEnd::ReadFailed, EISDIR, 0},
         "/data/sub/ is a folder"},
        {{true, file, sha1, RunEnd::OpenFailed, EACCES, 0}, "No permission to read abc.txt"},
        {{true, file, sha1, RunEnd::ReadFailed, EIO, 12'345'678},
         "Reading abc.txt failed after 12 MB"},
        {{true, file, sha1, RunEnd::ReadFailed, EIO, 2'500'000},
         "Reading abc.txt failed after 2.5 MB"},
        {{true, file, sha1, RunEnd::ReadFailed, EIO, 0}, "Cannot read abc.txt: " + Reason(EIO)},
        {{true, file, sha1, RunEnd::OpenFailed, ENXIO, 0}, "Cannot open abc.txt: " + Reason(ENXIO)},
        {{true, file, sha1, RunEnd::Stopped, 0, 0}, "Stopped"},
        {{true, file, sha1, RunEnd::Stopped, 0, 40'000'000}, "Stopped after 40 MB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunStatus(c.facts), c.expected);
    }
}

class StatusOfRuns : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ShowActive(dialog)); }

    QString Run(bool file) {
        if (file) {
            dialog.OnHashFile();
        } else {
            dialog.OnHashString();
        }
        dialog.WaitForIdle();
        return StatusOf(dialog);
    }

    TempDir dir;
    CTarnovelDlg dialog;
};

TEST_F(StatusOfRuns, RealFilesAndTexts) {
    std::filesystem::create_directory(dir.PathOf("folder"));
    struct Case {
        std::string path;  // relative to the test's folder, unless absolute or empty
        std::string output;
        QString status;
    };
    dir.WriteFile("abc.txt", "abc");
    const Case cases[] = {
        {"abc.txt", SharedVector("abc").digest.at("sha1"),
         "SHA-1 of abc.txt, 3 bytes. No sum file beside abc.txt lists it."},
        {"missing.bin", "", "No such file: missing.bin"},
        {"folder", "", "folder is a folder"},
        {"", "", "No file given"},
        // Opens, but its first read fails: address 0 is never mapped.
        {"/proc/self/mem", "", "Cannot read mem: " + Reason(EIO)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const bool asIs = c.path.empty() || c.path.front() == '/';
        dialog.SetControlText(kFilePathBoxId, asIs ? c.path : dir.PathOf(c.path));
        EXPECT_EQ(Run(true), c.status);
        EXPECT_EQ(dialog.GetControlText(kOutputBoxId), c.output);
    }
    dialog.SetControlText(kStringBoxId, "abc");
    EXPECT_EQ(Run(false), QStringLiteral("SHA-1 of the string, 3 bytes"));
}

TEST_F(StatusOfRuns, AFileWithoutReadPermission) {
    const std::string path = dir.WriteFile("secret.txt", "abc");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    Unprivileged nobody;
    if (!nobody.PermissionsApply()) GTEST_SKIP() << "permissions do not bind here";
    dialog.SetControlText(kFilePathBoxId, path);
    EXPECT_EQ(Run(true), QStringLiteral("No permission to read secret.txt"));
    EXPECT_EQ(dialog.GetControlText(kOutputBoxId), "");
}

TEST_F(StatusOfRuns, MarkedAsEarlierInputOnceTheInputsMoveOn) {
    const std::string abc = dir.WriteFile("abc.txt", "abc");
    auto* list = FindWidget<QComboBox>(dialog, "algorithmList");
    dialog.SetControlText(kFilePathBoxId, abc);
    const QString fileStatus = Run(true);
    const QString earlier = fileStatus + QStringLiteral(" (earlier input)");
    struct Step {
        const char* what;
        std::function<void()> change;
        bool marked;
    };
    const Step steps[] = {
        {"another path", [&] { dialog.SetControlText(kFilePathBoxId, "/tmp/x"); }, true},
        {"the path again", [&] { dialog.SetControlText(kFilePathBoxId, abc); }, false},
        {"the string box, not hashed", [&] { dialog.SetControlText(kStringBoxId, "z"); }, false},
        {"another algorithm", [&] { list->setCurrentIndex(0); }, true},
        {"the algorithm again", [&] { list->setCurrentIndex(5); }, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        EXPECT_EQ(StatusOf(dialog), step.marked ? earlier : fileStatus);
    }
    const QString textStatus = Run(false);
    dialog.SetControlText(kFilePathBoxId, "/tmp/y");
    EXPECT_EQ(StatusOf(dialog), textStatus);
    dialog.SetControlText(kStringBoxId, "zz");
    EXPECT_EQ(StatusOf(dialog), textStatus + QStringLiteral(" (earlier input)"));
}

TEST(Accessibility, ControlsCarryTheirLabelsAsNames) {
    CTarnovelDlg dialog;
    struct Case {
        const char* widget;
        const char* name;
    };
    const Case cases[] = {{"filePathBox", "File to hash"},
                          {"stringBox", "String to hash"},
                          {"outputBox", "Output hash"},
                          {"statusLine", "Status"}};
    for (const Case& c : cases) {
        QAccessibleInterface* element =
            QAccessible::queryAccessibleInterface(FindWidget<QWidget>(dialog, c.widget));
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->text(QAccessible::Name), QLatin1String(c.name)) << c.widget;
    }
    QAccessibleInterface* bar =
        QAccessible::queryAccessibleInterface(FindWidget<QWidget>(dialog, "progressBar"));
    EXPECT_FALSE(bar->text(QAccessible::Name).isEmpty());
    // The list's name on Linux is its value; its label reaches a screen reader as its buddy.
    auto* list = FindWidget<QComboBox>(dialog, "algorithmList");
    EXPECT_EQ(FindWidget<QLabel>(dialog, "algorithmLabel")->buddy(), list);
    bool labelled = false;
    for (const auto& [other, relation] :
         QAccessible::queryAccessibleInterface(list)->relations(QAccessible::Label)) {
        labelled = labelled || other->text(QAccessible::Name) == QStringLiteral("Algorithm:");
    }
    EXPECT_TRUE(labelled);
}

// The output box drawn into an image at a device pixel ratio, as a scaled screen shows it.
QImage Render(QWidget* box, qreal ratio) {
    QImage image((QSizeF(box->size()) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    box->render(&image);
    return image;
}

// How much darker than the box's inside the darkest pixel of the outermost two device pixels is,
// in the middle of each side.
std::array<int, 4> FrameContrast(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    const int inside = qGray(image.pixel(w / 2, h / 2));
    auto darkest = [&](int x0, int y0, int dx, int dy) {
        int least = 255;
        for (int step = 0; step < 2; ++step) {
            least = std::min(least, qGray(image.pixel(x0 + step * dx, y0 + step * dy)));
        }
        return inside - least;
    };
    return {darkest(0, h / 2, 1, 0), darkest(w - 1, h / 2, -1, 0), darkest(w / 2, 0, 0, 1),
            darkest(w / 2, h - 1, 0, -1)};
}

TEST(OutputBox, FrameKeepsAllFourSidesAtEveryScaleAndShowsTheFocus) {
    CTarnovelDlg dialog;
    ASSERT_TRUE(ShowActive(dialog));
    auto* box = FindWidget<QPlainTextEdit>(dialog, "outputBox");
    for (qreal ratio : {1.0, 1.25, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        const std::array<int, 4> contrast = FrameContrast(Render(box, ratio));
        for (int side = 0; side < 4; ++side) EXPECT_GE(contrast[side], 40) << "side " << side;
    }
    // The frame alone: inside it, the focused box also shows its text cursor.
    auto frame = [&] {
        QImage image = Render(box, 1.0);
        QPainter(&image).fillRect(image.rect().adjusted(2, 2, -2, -2), Qt::white);
        return image;
    };
    FindWidget<QWidget>(dialog, "okButton")->setFocus();
    const QImage unfocused = frame();
    box->setFocus();
    QApplication::processEvents();
    EXPECT_NE(frame(), unfocused);
}

}  // namespace
