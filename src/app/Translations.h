// SPDX-License-Identifier: GPL-3.0-or-later
// The program's texts, and Qt's own in its dialogs, in the desktop's language.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

// Chooses the first of the user's languages that the program has a translation for, stopping
// at the first English one: the texts are written in English, so a language the user ranks below
// English is not wanted. Qt's translation of its own texts is taken in the same language, when
// it is installed.
class Translations {
public:
    // `uiLanguages` as QLocale names them (LANGUAGE, then LC_ALL, LC_MESSAGES or LANG), the
    // user's first choice first; `programFolder` holds the program's translations (compiled into
    // the program under ":/i18n"). Works before the application object exists.
    explicit Translations(const QStringList& uiLanguages = QLocale().uiLanguages(),
                          const QString& programFolder = QStringLiteral(":/i18n"));

    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // The language of the translation chosen, as its file names it ("de_DE"); empty when the
    // texts stay in English.
    QString Language() const { return program.language(); }

    // A text in the chosen language, or as it is when there is no translation for it. For the
    // texts printed before the application object exists; afterwards tr() does this.
    QString Translate(const char* context, const char* sourceText) const;

    // Makes tr() translate in the running application, and numbers and sizes shown in the
    // translation's language ("3,73 MiB" in German) where the locale is of another language. Call
    // it once the application object exists and before any window is built; the translations
    // must outlive the application.
    void Install();

private:
    QTranslator program;
    QTranslator qt;
};
