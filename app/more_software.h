// Where "more software" leads: the address chosen when the program was built, or by default the
// page installed with it (what else the package offers and how to verify a download). The page
// is looked for beside the executable first, where a build tree or a relocated installation keeps
// it, then where the installation put it.
#pragma once

#include <QString>
#include <QUrl>

struct MoreSoftwarePage {
    QUrl url;
    QString missingPath;  // set when the page should be a local file and none is there
};

// `configured` is the build-time address (empty for the installed page); `applicationDir` the
// executable's folder; `relativeDir` the page's folder relative to it; `installedDir` the folder
// the installation puts it in.
MoreSoftwarePage FindMoreSoftwarePage(const QString& configured, const QString& applicationDir,
                                      const QString& relativeDir, const QString& installedDir);
// The same with the values this build was configured with.
MoreSoftwarePage FindMoreSoftwarePage();
