// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/VambleApp.h"
#include "app/VamblePrefs.h"
#include "window/VambleWindow.h"

#include <QPointer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A main window over a settings store of its own in a temporary configuration folder.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.path()));
        prefs = new VamblePrefs("Xq-Vamble");
    }
    void TearDown() override {
        delete window.data();
        delete prefs;
        prefs = nullptr;
    }

    VambleWindow* Open() {
        window = new VambleWindow(kit::Rect(50, 60, 650, 760));
        window->Inititialize();
        return window;
    }

    // Hands the command to the window as a control would.
    void Send(uint32_t command) {
        kit::Message message(command);
        window->MessageReceived(&message);
    }

    // The first widget of the window whose accessible name, text or object name is `name`.
    template <class T> T* Find(const QString& name) const {
        for (T* widget : window->findChildren<T*>()) {
            if (widget->accessibleName() == name || widget->property("text").toString() == name ||
                widget->objectName() == name) {
                return widget;
            }
        }
        ADD_FAILURE() << "no control is named " << name.toStdString();
        return nullptr;
    }

    QTemporaryDir root;
    QPointer<VambleWindow> window;
};
