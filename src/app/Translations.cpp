// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

Translations::Translations(const QStringList& uiLanguages, const QString& programFolder) {
    for (const QString& name : uiLanguages) {
        const QLocale language(name);
        if (language.language() == QLocale::English) {
            return;
        }
        if (program.load(language, QStringLiteral("vamble"), QStringLiteral("_"), programFolder)) {
            // Missing from some installations; Qt's buttons and dialogs then stay English.
            (void)qt.load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath));
            return;
        }
    }
}

QString Translations::Translate(const char* context, const char* sourceText) const {
    const QString translated = program.translate(context, sourceText);
    return translated.isEmpty() ? QString::fromUtf8(sourceText) : translated;
}

void Translations::Install() {
    for (QTranslator* translator : {&program, &qt}) {
        if (!translator->isEmpty()) {
            QCoreApplication::installTranslator(translator);
        }
    }
    const QLocale translated(program.language());
    if (!program.isEmpty() && QLocale().language() != translated.language()) {
        QLocale::setDefault(translated);
    }
}
