// The program's side of the CD modules: each is loaded when first needed.
#include "cdaudio/CdModule.h"

#include "kit/FeatureModule.h"

std::vector<std::string> ListCdDrives() {
    const auto* module = kit::Feature<CdModule>();
    return module != nullptr ? module->listCdDrives() : std::vector<std::string>();
}

std::optional<DiscInfo> ProbeAudioDisc(const std::string& device) {
    const auto* module = kit::Feature<CdModule>();
    return module != nullptr ? module->probeAudioDisc(device) : std::nullopt;
}

DiscReadResult ReadDisc(const std::string& device, const std::filesystem::path& cacheFolder,
                        const std::atomic<bool>& stop, const DiscReadProgressFunction& progress,
                        const UnreadableSectors& unreadable) {
    const auto* module = kit::Feature<CdReadModule>();
    if (module == nullptr) {
        DiscReadResult failed;
        failed.error = "The program's part that reads discs cannot be loaded.";
        return failed;
    }
    return module->readDisc(device, cacheFolder, stop, progress, unreadable);
}
