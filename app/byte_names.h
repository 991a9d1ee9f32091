// File names are bytes: they travel from argv, choosers and drops to open() as they are, and only
// what the dialog shows of them is decoded, each byte that is no UTF-8 shown as "\xFF" rather than
// replaced by U+FFFD (which would make two names look alike and could name another file).
#pragma once

#include <QString>
#include <string>

class QUrl;

// `bytes` as shown: UTF-8, with undecodable bytes escaped.
QString ShownName(const std::string& bytes);
// The last part of a path in bytes ("" for "/tmp/").
std::string LastPart(const std::string& path);
// A local file URL's path, percent-decoded to bytes; empty for anything else.
std::string LocalPathBytes(const QUrl& url);
// A path given on the command line, made absolute against the working folder.
std::string AbsoluteArgument(const std::string& argument);
// A path a Qt file chooser returned: Qt decodes names lossily, so one that holds U+FFFD is looked
// up in its folder; the one entry whose decoding it is gives the bytes (else the text's UTF-8).
std::string BytesOfChosen(const QString& chosen);
