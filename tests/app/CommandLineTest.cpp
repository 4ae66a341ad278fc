// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "app/Translations.h"

#include <gtest/gtest.h>
#include <vector>

TEST(CommandLine, FindsTheFirstInformationOptionAndLeavesEverythingElseToTheWindow) {
    using enum InformationRequest;
    const struct {
        std::vector<const char*> arguments;
        InformationRequest expected;
    } cases[] = {
        {{}, None},
        {{"/music/one.wav", "two.wav"}, None},
        {{"-style", "fusion", "one.wav"}, None},
        {{"--helper.wav", "-help", "--versions"}, None},
        {{"--help"}, Help},
        {{"-h"}, Help},
        {{"one.wav", "--version"}, Version},
        {{"--version", "--help"}, Version},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindInformationRequest(c.arguments), c.expected)
            << (c.arguments.empty() ? "(none)" : c.arguments.back());
    }
}

TEST(Translations, TakeTheUsersFirstTranslatedLanguageUnlessEnglishComesBefore) {
    const struct {
        QStringList uiLanguages;
        bool translated;
    } cases[] = {
        {{QStringLiteral("de-DE"), QStringLiteral("de")}, true},
        {{QStringLiteral("de-AT")}, true},
        {{QStringLiteral("fr-FR"), QStringLiteral("de-CH")}, true},
        {{QStringLiteral("en-GB"), QStringLiteral("de-DE")}, false},
        {{QStringLiteral("en-US")}, false},
        {{QStringLiteral("C")}, false},
        {{}, false},
    };
    const char* const menuTitle = "&File";
    for (const auto& c : cases) {
        const Translations translations(c.uiLanguages, QStringLiteral(VAMBLE_TEST_TRANSLATIONS));
        const QString languages = c.uiLanguages.join(QLatin1Char(':'));
        EXPECT_EQ(!translations.Language().isEmpty(), c.translated) << languages.toStdString();
        EXPECT_EQ(translations.Translate("VambleWindow", menuTitle) != QLatin1String(menuTitle),
                  c.translated)
            << languages.toStdString();
        EXPECT_EQ(translations.Translate("VambleWindow", "not a text of the program"),
                  QStringLiteral("not a text of the program"));
    }
}
