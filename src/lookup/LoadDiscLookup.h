// Loads the look-up module when a disc first wants names: from the file VAMBLE_LOOKUP_MODULE
// names when set (tests, a build tree), else from the program's library folder
// (<prefix>/lib/vamble beside <prefix>/bin, in the build tree as when installed).
#pragma once

#include "lookup/DiscLookupService.h"

#include <QString>
#include <memory>

struct LoadedDiscLookup {
    std::unique_ptr<DiscLookupService> service; // null when the module could not be loaded
    QString failure;                            // why not
};

// The module stays loaded for the rest of the run: its objects may be anywhere.
LoadedDiscLookup LoadDiscLookup(const LookupSettings& settings);

// Loads the module's code and the libraries it needs, from any thread, so that LoadDiscLookup on
// the window's thread later only creates the look-up.
void PreloadDiscLookup();
