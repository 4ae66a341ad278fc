// SPDX-License-Identifier: GPL-3.0-or-later
// Libraries that only some features need (reading discs, writing ID3v2 tags, reading audio files)
// are not linked into the program, so that its start loads none of them. The code of such a
// feature that calls them is built into a feature module of the program's own,
// libvamble-<name>.so, which the program loads the first time the feature is used.
//
// A module exports one table of plain functions, kept in the namespace `module` in its sources.
// The core library holds functions of the same signatures and names outside that namespace that
// load the module and forward to its table, so callers do not know the difference; a module that
// cannot be loaded makes them fail the way the feature fails anyway.
//
// A table type names its module (kModuleName) and its version (kVersion, raised whenever its
// functions change). The program takes a module's table only when both were built with the same
// version and size of the table, so a module left over from another version of the program is
// refused, not called.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace kit {

// The folder of the running program's executable; empty when it cannot be found.
std::filesystem::path ExecutableFolder();

// The folder modules are loaded from: the one $VAMBLE_MODULE_DIR names (the tests' build tree),
// else the program's module folder, found from its executable's folder by the same relative path
// in the build tree as once installed.
std::filesystem::path FeatureModuleFolder();

// The function table of the module `name`, loaded on first use (from any thread), when the
// module's table has this version and size. Null when the module cannot be loaded or its table
// is another; the reason is told once on standard error.
const void* FeatureTable(const char* name, uint32_t version, size_t size);

// The table of the module a table type names in its kModuleName.
template <class Table> const Table* Feature() {
    return static_cast<const Table*>(
        FeatureTable(Table::kModuleName, Table::kVersion, sizeof(Table)));
}

} // namespace kit

// Defines the table a module exports, in one source file of the module: given only to a
// program that asks for the same version and size.
#define VAMBLE_FEATURE_TABLE(Table, ...)                                                           \
    extern "C" __attribute__((visibility("default"))) const void* vamble_feature_table_checked(    \
        uint32_t version, size_t size) {                                                           \
        static const Table table{__VA_ARGS__};                                                     \
        return version == Table::kVersion && size == sizeof(Table) ? &table : nullptr;             \
    }
