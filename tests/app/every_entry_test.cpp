// Every entry of the algorithm list through both hash buttons, against the reference digests.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <array>
#include <string>

#include "dialog_test_support.h"
#include "tarnovel_dlg.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

// The list's entries in order, by their column in the reference table.
constexpr std::array<const char*, 9> kColumns = {"crc32", "gost",   "md2",    "md4",   "md5",
                                                 "sha1",  "sha256", "sha384", "sha512"};

std::string Press(CTarnovelDlg& dialog, const char* button) {
    QTest::mouseClick(FindWidget<QPushButton>(dialog, button), Qt::LeftButton);
    dialog.WaitForIdle();
    return dialog.GetControlText(kOutputBoxId);
}

TEST(EveryEntry, EmptyStringBoxWithSha1AtStartIsTheEmptyMessageDigest) {
    CTarnovelDlg dialog;
    EXPECT_EQ(Press(dialog, "hashStringButton"), SharedVector("empty").digest.at("sha1"));
}

TEST(EveryEntry, TypedStringsAndAFileOverAReadChunk) {
    CTarnovelDlg dialog;
    auto* list = FindWidget<QComboBox>(dialog, "algorithmList");
    TempDir dir;
    const DigestVector& file = SharedVector("ramp-16001");
    dialog.SetControlText(kFilePathBoxId, dir.WriteFile("ramp.bin", file.message));
    for (const char* name : {"abc", "message-digest", "fox"}) {
        const DigestVector& text = SharedVector(name);
        dialog.SetControlText(kStringBoxId, text.message);
        for (std::size_t index = 0; index < kColumns.size(); ++index) {
            SCOPED_TRACE(std::string(name) + " / " + kColumns[index]);
            list->setCurrentIndex(static_cast<int>(index));
            EXPECT_EQ(Press(dialog, "hashStringButton"), text.digest.at(kColumns[index]));
            EXPECT_EQ(Press(dialog, "hashFileButton"), file.digest.at(kColumns[index]));
        }
    }
}

TEST(EveryEntry, RememberedSha2WidthPlaysNoPartForMd5) {
    CTarnovelDlg dialog;
    auto* list = FindWidget<QComboBox>(dialog, "algorithmList");
    dialog.SetControlText(kStringBoxId, "abc");
    list->setCurrentIndex(7);
    EXPECT_EQ(Press(dialog, "hashStringButton"), SharedVector("abc").digest.at("sha384"));
    list->setCurrentIndex(4);
    EXPECT_EQ(Press(dialog, "hashStringButton"), SharedVector("abc").digest.at("md5"));
    list->setCurrentIndex(8);
    EXPECT_EQ(Press(dialog, "hashStringButton").size(), 128u);
}

}  // namespace
