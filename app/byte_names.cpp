// Names as bytes, and how they are shown.
#include "byte_names.h"

#include <dirent.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QUrl>
#include <cerrno>
#include <vector>

namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0.
std::size_t Utf8Length(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
    return length;
}

}  // namespace

QString ShownName(const std::string& bytes) {
    QString shown;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Utf8Length(bytes, at);
        if (length == 0) {
            shown += QStringLiteral("\\x") +
                     QStringLiteral("%1")
                         .arg(static_cast<unsigned char>(bytes[at]), 2, 16, QLatin1Char('0'))
                         .toUpper();
            ++at;
        } else {
            shown += QString::fromUtf8(bytes.data() + at, static_cast<qsizetype>(length));
            at += length;
        }
    }
    return shown;
}

std::string LastPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LocalPathBytes(const QUrl& url) {
    if (!url.isLocalFile()) return std::string();
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

std::string AbsoluteArgument(const std::string& argument) {
    if (argument.empty() || argument.front() == '/') return argument;
    std::vector<char> folder(4096);
    while (getcwd(folder.data(), folder.size()) == nullptr) {
        if (errno != ERANGE) return argument;
        folder.resize(folder.size() * 2);
    }
    std::string absolute(folder.data());
    if (absolute.back() != '/') absolute += '/';
    if (argument.starts_with("./")) return absolute + argument.substr(2);
    return absolute + argument;
}

std::string BytesOfChosen(const QString& chosen) {
    const std::string text = chosen.toStdString();
    if (!chosen.contains(QChar::ReplacementCharacter)) return text;
    const std::size_t slash = text.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : text.substr(0, slash + 1);
    const QString name = chosen.mid(chosen.lastIndexOf(QLatin1Char('/')) + 1);
    std::vector<std::string> found;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (QFile::decodeName(entry->d_name) == name) found.emplace_back(entry->d_name);
        }
        closedir(dir);
    }
    if (found.size() != 1) return text;  // none, or several that look alike: the text as shown
    return (slash == std::string::npos ? std::string() : folder) + found.front();
}
