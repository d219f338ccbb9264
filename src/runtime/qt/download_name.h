#pragma once

#include <QByteArray>
#include <QString>

namespace runtime {

// What the file system takes as one name, in bytes of its encoding (UTF-8).
constexpr int kMaxFileNameBytes = 255;

// A page's suggested name for a download made safe to offer as a file name in
// the downloads folder: its last path component only, without control or
// bidirectional-override characters and leading dots, cut to what the file
// system takes. A name with nothing left becomes "download".
QString SafeDownloadName(const QString& suggested);

// The longest start of name whose UTF-8 form fits maxBytes, never ending
// inside a character.
QString CutToBytes(const QString& name, int maxBytes);

}  // namespace runtime
