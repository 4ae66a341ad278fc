// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/FeatureModule.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <map>
#include <mutex>
#include <string>
#include <system_error>

namespace kit {

namespace {

std::mutex tablesLock;
// Every module asked for, with its table (null when it could not be loaded). Modules stay
// loaded for as long as the program runs.
std::map<std::string, const void*, std::less<>> tables;

const void* Load(const char* name, uint32_t version, size_t size) {
    const std::filesystem::path path =
        FeatureModuleFolder() / (std::string("libvamble-") + name + ".so");
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    const char* why = nullptr;
    if (module == nullptr) {
        why = dlerror();
    } else {
        using Entry = const void* (*)(uint32_t, size_t);
        const auto entry = reinterpret_cast<Entry>(dlsym(module, "vamble_feature_table_checked"));
        if (entry == nullptr) {
            why = "no function table of this program";
        } else if (const void* table = entry(version, size)) {
            return table;
        } else {
            why = "it belongs to another version of the program";
        }
    }
    std::fprintf(stderr, "vamble: cannot load the %s module (%s): %s\n", name, path.c_str(),
                 why != nullptr ? why : "unknown reason");
    return nullptr;
}

} // namespace

std::filesystem::path ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

std::filesystem::path FeatureModuleFolder() {
    if (const char* folder = std::getenv("VAMBLE_MODULE_DIR"); folder != nullptr && *folder) {
        return folder;
    }
    return (ExecutableFolder() / VAMBLE_MODULE_RELATIVE).lexically_normal();
}

const void* FeatureTable(const char* name, uint32_t version, size_t size) {
    const std::lock_guard<std::mutex> guard(tablesLock);
    const auto known = tables.find(name);
    if (known != tables.end()) {
        return known->second;
    }
    return tables.emplace(name, Load(name, version, size)).first->second;
}

} // namespace kit
