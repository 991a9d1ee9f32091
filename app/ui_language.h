// The language the dialog speaks: the user's, where a translation of its texts exists.
#pragma once

#include <QLocale>
#include <QString>

// Installs, once per process, the translation of the dialog's texts for the first of the locale's
// languages (LANGUAGE, else LC_ALL, LC_MESSAGES or LANG) that is English or has one, together with
// Qt's own texts (file chooser, edit menus) in that language. Returns the language chosen: "en"
// for the untranslated source texts, else the translation's ("de", "ru").
QString InstallTranslations(const QLocale& locale = QLocale::system());
