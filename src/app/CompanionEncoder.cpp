// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CompanionEncoder.h"

#include "kit/FeatureModule.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

// The system's default search path, which execvp uses when PATH is unset.
QByteArray DefaultSearchPath() {
    const size_t size = confstr(_CS_PATH, nullptr, 0);
    if (size == 0) {
        return "/bin:/usr/bin";
    }
    QByteArray path(static_cast<qsizetype>(size), '\0');
    confstr(_CS_PATH, path.data(), size);
    path.chop(1); // the terminating NUL
    return path;
}

} // namespace

QString CompanionEncoderDir(const QString& executableDir) {
    return QDir::cleanPath(executableDir + QLatin1Char('/') +
                           QStringLiteral(VAMBLE_LIBEXEC_RELATIVE));
}

QByteArray SearchPathWithFallback(const char* searchPath, const QByteArray& dir) {
    const QByteArray path = searchPath != nullptr ? QByteArray(searchPath) : DefaultSearchPath();
    if (dir.isEmpty() || dir.contains(':') || path.split(':').contains(dir)) {
        return path;
    }
    // An empty PATH holds one empty element (the current folder); keep it as the first one.
    return path + ':' + dir;
}

bool AppendCompanionEncoderToPath() {
    const std::filesystem::path folder = kit::ExecutableFolder();
    if (folder.empty()) {
        return false;
    }
    const QString executableDir = QFile::decodeName(folder.c_str());
    const QByteArray dir = QFile::encodeName(CompanionEncoderDir(executableDir));
    const QByteArray path = SearchPathWithFallback(std::getenv("PATH"), dir);
    return setenv("PATH", path.constData(), 1) == 0;
}
