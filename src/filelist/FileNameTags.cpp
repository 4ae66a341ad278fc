// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FileNameTags.h"

#include "kit/OutsideText.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <array>
#include <limits>

namespace {

// What each code reads: a run of characters of one folder or file name.
QString CodeExpression(char code) {
    switch (code) {
    case 't':
        return QStringLiteral("([0-9]+)");
    case 'y':
        return QStringLiteral("([0-9]{4})");
    default:
        return QStringLiteral("([^/]+?)");
    }
}

constexpr std::string_view kCodes = "taycs";

// The file's name without the extension of a WAV file.
QString NameWithoutWavExtension(const std::filesystem::path& file) {
    QString name = QFile::decodeName(file.filename().c_str());
    const qsizetype dot = name.lastIndexOf(u'.');
    static const std::array<QString, 4> extensions = {QStringLiteral("wav"), QStringLiteral("wave"),
                                                      QStringLiteral("bwf"),
                                                      QStringLiteral("rf64")};
    if (dot > 0 && std::any_of(extensions.begin(), extensions.end(), [&](const QString& ext) {
            return name.mid(dot + 1).compare(ext, Qt::CaseInsensitive) == 0;
        })) {
        name.truncate(dot);
    }
    return name;
}

int32_t TrackNumber(const QString& digits) {
    bool fits = false;
    const qlonglong number = digits.toLongLong(&fits);
    return fits ? static_cast<int32_t>(std::min<qlonglong>(number, INT32_MAX)) : INT32_MAX;
}

} // namespace

FileNameTagPattern::FileNameTagPattern(std::string_view pattern) {
    QString regex = QStringLiteral("^");
    std::array<int, kCodes.size()> groupOfCode{}; // 0: the code has not occurred yet
    QByteArray literal;
    const auto flushLiteral = [&] {
        regex += QRegularExpression::escape(QString::fromUtf8(literal));
        literal.clear();
    };
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            levels += pattern[i] == '/' ? 1 : 0;
            literal += pattern[i];
            continue;
        }
        const char code = i + 1 < pattern.size() ? pattern[++i] : '\0';
        if (code == '%') {
            literal += '%';
            continue;
        }
        const size_t known = kCodes.find(code);
        if (code == '\0' || known == std::string_view::npos) {
            error = QCoreApplication::translate(
                        "FileNameTags", "\"%1\" is not one of the codes %t, %a, %s, %c and %y.")
                        .arg(code == '\0' ? QStringLiteral("%")
                                          : QStringLiteral("%") + QLatin1Char(code))
                        .toStdString();
            return;
        }
        flushLiteral();
        if (groupOfCode[known] != 0) {
            regex += QStringLiteral("\\%1").arg(groupOfCode[known]);
        } else {
            groupCodes.push_back(code);
            groupOfCode[known] = static_cast<int>(groupCodes.size());
            regex += CodeExpression(code);
        }
    }
    flushLiteral();
    if (groupCodes.empty()) {
        error = QCoreApplication::translate(
                    "FileNameTags", "The pattern has none of the codes %t, %a, %s, %c and %y.")
                    .toStdString();
        return;
    }
    expression.setPattern(regex + u'$');
}

std::optional<FoundTags> FileNameTagPattern::Match(const std::filesystem::path& file) const {
    if (!error.empty()) {
        return std::nullopt;
    }
    QStringList components{NameWithoutWavExtension(file)};
    std::filesystem::path folder = file.parent_path();
    for (int level = 1; level < levels; ++level, folder = folder.parent_path()) {
        if (!folder.has_filename()) {
            return std::nullopt; // fewer folders than the pattern reads
        }
        components.prepend(QFile::decodeName(folder.filename().c_str()));
    }
    const QRegularExpressionMatch match = expression.match(components.join(u'/'));
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    FoundTags found;
    for (size_t group = 0; group < groupCodes.size(); ++group) {
        // A file's name may hold anything but "/" and NUL: a line break or a direction
        // override stays out of the tags.
        const QString value =
            QString::fromStdString(
                kit::CleanOutsideText(match.captured(static_cast<int>(group) + 1).toStdString()))
                .trimmed();
        if (value.isEmpty()) {
            continue;
        }
        const std::string text = value.toStdString();
        switch (groupCodes[group]) {
        case 't':
            found.track = TrackNumber(value);
            break;
        case 'y':
            found.year = text;
            break;
        case 'a':
            found.artist = text;
            break;
        case 'c':
            found.album = text;
            break;
        default:
            found.title = text;
            break;
        }
    }
    return found;
}
