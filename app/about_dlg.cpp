// The About box.
#include "about_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "corvane_version.h"
#include "dialog_font.h"

namespace {

constexpr char kDescription[] = QT_TRANSLATE_NOOP(
    "CAboutDlg", "Checksums and message digests of files and text, in nine algorithms.");

QLabel* AddLabel(QVBoxLayout* column, const QString& name, const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(label);
    return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(tr("About Ostrel Corvane"));
    setFont(DialogFont());

    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(QIcon(QStringLiteral(":/icons/ostrel-corvane.png")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* text = new QVBoxLayout;
    QLabel* product = AddLabel(text, QStringLiteral("productLabel"), QLatin1String(kProductName));
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    AddLabel(text, QStringLiteral("versionLabel"),
             tr("Version %1").arg(QLatin1String(kProductVersion)));
    AddLabel(text, QStringLiteral("descriptionLabel"), tr(kDescription));
    text->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(8);
    top->addLayout(text);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
