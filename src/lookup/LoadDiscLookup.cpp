#include "lookup/LoadDiscLookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace {

QString ModulePath() {
    const QByteArray named = qgetenv("VAMBLE_LOOKUP_MODULE");
    if (!named.isEmpty()) {
        return QFile::decodeName(named);
    }
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(VAMBLE_MODULE_RELATIVE "/libvamble-lookup.so"));
}

} // namespace

void PreloadDiscLookup() {
    QLibrary(ModulePath()).load();
}

LoadedDiscLookup LoadDiscLookup(const LookupSettings& settings) {
    QLibrary module(ModulePath());
    const auto create =
        reinterpret_cast<CreateDiscLookupFunction>(module.resolve(kCreateDiscLookupSymbol));
    if (create == nullptr) {
        return {nullptr,
                QCoreApplication::translate("LoadDiscLookup", "Discs cannot be looked up: %1")
                    .arg(module.errorString())};
    }
    return {std::unique_ptr<DiscLookupService>(create(settings)), {}};
}
