// SPDX-License-Identifier: GPL-3.0-or-later
// The program's one settings store, declared apart from the application object so that the
// window reaches it without depending on the application.
#pragma once

class VamblePrefs;

// Created by the application, deleted (and so written) by the main window.
extern VamblePrefs* prefs;
