// The program's side of the tags module: loads it on the first tag written or read.
#include "tagging/TagsModule.h"

#include "kit/FeatureModule.h"

#include <cstdio>

int32_t WriteID3v2Tag(const char* path, const ID3_struct& tag, std::string_view fullTitle,
                      int32_t track) {
    const auto* module = kit::Feature<TagsModule>();
    if (module == nullptr) {
        std::printf("Error writing ID3v2 tag.\n");
        return -1;
    }
    return module->writeID3v2Tag(path, tag, fullTitle, track);
}

WavTagsRead ReadWavTags(const std::filesystem::path& file) {
    const auto* module = kit::Feature<TagsModule>();
    return module != nullptr ? module->readWavTags(file) : WavTagsRead{};
}
