// The "more software" page's address.
#include "more_software.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "corvane_version.h"

MoreSoftwarePage FindMoreSoftwarePage(const QString& configured, const QString& applicationDir,
                                      const QString& relativeDir, const QString& installedDir) {
    if (!configured.isEmpty()) return {QUrl::fromUserInput(configured), QString()};
    const QString name = QLatin1String(kMoreSoftwarePageName);
    const QString beside = QDir(QDir(applicationDir).filePath(relativeDir)).filePath(name);
    if (!applicationDir.isEmpty() && QFileInfo(beside).isFile()) {
        return {QUrl::fromLocalFile(QDir::cleanPath(beside)), QString()};
    }
    const QString installed = QDir(installedDir).filePath(name);
    return {QUrl::fromLocalFile(installed), QFileInfo(installed).isFile() ? QString() : installed};
}

MoreSoftwarePage FindMoreSoftwarePage() {
    return FindMoreSoftwarePage(
        QLatin1String(kMoreSoftwareUrl), QCoreApplication::applicationDirPath(),
        QLatin1String(kMoreSoftwareRelativeDir), QLatin1String(kMoreSoftwareInstalledDir));
}
