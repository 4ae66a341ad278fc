// The entry point of the look-up module, which the program loads when a disc first wants names.
#include "lookup/DiscLookup.h"

#include <QtGlobal>
#include <type_traits>

extern "C" Q_DECL_EXPORT DiscLookupService* VambleCreateDiscLookup(const LookupSettings& settings) {
    return new DiscLookup(LookupServices::FromEnvironment(), settings);
}

static_assert(std::is_same_v<decltype(&VambleCreateDiscLookup), CreateDiscLookupFunction>);
