// Choosing and installing the dialog's translation.
#include "ui_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

namespace {

// Where the build puts the compiled translations (corvane_de.qm...) among the resources.
constexpr char kTranslationsDir[] = ":/i18n";

}  // namespace

QString InstallTranslations(const QLocale& locale) {
    static QString installed;
    if (!installed.isEmpty()) return installed;
    installed = QStringLiteral("en");
    for (QString language : locale.uiLanguages()) {
        language.replace(u'-', u'_');
        // The first language the user names that we can speak wins; English is the source, and
        // stopping there keeps "LANGUAGE=en:de" in English.
        if (language == u"C" || language.startsWith(u"en")) break;
        auto* own = new QTranslator(QCoreApplication::instance());
        // Tries corvane_de_DE.qm, then corvane_de.qm.
        if (!own->load(QStringLiteral("corvane_") + language, QLatin1String(kTranslationsDir))) {
            delete own;
            continue;
        }
        QCoreApplication::installTranslator(own);
        installed = own->language();
        auto* qt = new QTranslator(QCoreApplication::instance());
        if (qt->load(QStringLiteral("qtbase_") + language,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(qt);
        } else {
            delete qt;  // Qt's own translations are a separate package; its texts stay English
        }
        break;
    }
    return installed;
}
