// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the tags module: loads it on the first tag written or read.
#include "tagging/TagsModule.h"

#include "kit/FeatureModule.h"

#include <QCoreApplication>
#include <cstdio>

int32_t WriteID3v2Tag(const FinishedFile& file, std::string* why) {
    const auto* module = kit::Feature<TagsModule>();
    if (module == nullptr) {
        std::printf("Error writing ID3v2 tag.\n");
        if (why != nullptr) {
            *why = QCoreApplication::translate("TagsModule",
                                               "the program's tags module cannot be loaded")
                       .toStdString();
        }
        return -1;
    }
    return module->writeID3v2Tag(file, why);
}

WavTagsRead ReadWavTags(const std::filesystem::path& file) {
    const auto* module = kit::Feature<TagsModule>();
    return module != nullptr ? module->readWavTags(file) : WavTagsRead{};
}
