// SPDX-License-Identifier: GPL-3.0-or-later
#include "process/ux_proc.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

int ux_malloc_argv_from_command(const char* command, int* argc, char*** argv) {
    if (command == nullptr || argc == nullptr || argv == nullptr) {
        return UX_BAD_ARGUMENT;
    }
    *argc = 0;
    while (IsBlank(*command)) {
        ++command;
    }
    // Every character is copied at most once and quotes not at all; a blank becomes at most one
    // NUL, and the end adds one more, so the words fit in the command's length plus one.
    const size_t length = std::strlen(command);
    auto* const words = static_cast<char*>(std::malloc(length + 1));
    if (words == nullptr) {
        return UX_NO_MEMORY;
    }
    size_t used = 0;
    size_t count = 0;
    const char* openQuote = nullptr;
    bool wordEnded = false; // the previous character ended a word
    for (const char* c = command; *c != '\0'; ++c) {
        if (*c == '"') {
            wordEnded = false;
            if (openQuote == nullptr) {
                openQuote = c;
            } else {
                const auto quoted = static_cast<size_t>(c - openQuote - 1);
                std::memcpy(words + used, openQuote + 1, quoted);
                used += quoted;
                openQuote = nullptr;
            }
        } else if (openQuote != nullptr) {
            // Copied when the quote closes.
        } else if (IsBlank(*c)) {
            if (!wordEnded) {
                words[used++] = '\0';
                ++count;
                wordEnded = true;
            }
        } else {
            words[used++] = *c;
            wordEnded = false;
        }
    }
    if (!wordEnded) {
        words[used++] = '\0';
        ++count;
    }
    if (openQuote != nullptr) {
        std::free(words);
        return UX_UNCLOSED_QUOTE;
    }
    if (count >= INT_MAX) {
        std::free(words);
        return UX_NO_MEMORY;
    }
    auto* const vector = static_cast<char**>(std::malloc((count + 1) * sizeof(char*)));
    if (vector == nullptr) {
        std::free(words);
        return UX_NO_MEMORY;
    }
    char* word = words;
    for (size_t i = 0; i < count; ++i) {
        vector[i] = word;
        word += std::strlen(word) + 1;
    }
    vector[count] = nullptr;
    *argv = vector;
    *argc = static_cast<int>(count);
    return UX_OK;
}

int ux_free_argv(char** argv) {
    if (argv == nullptr) {
        return UX_BAD_ARGUMENT;
    }
    std::free(argv[0]); // the words' buffer starts with the first word
    std::free(static_cast<void*>(argv));
    return UX_OK;
}
