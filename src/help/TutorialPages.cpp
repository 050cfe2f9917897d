// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/App.h"
#include "app/Log.h"
#include "help/FrmBackupHelpMidi.h"
#include "help/FrmBackupHelpWav.h"
#include "help/FrmMidiHelp.h"
#include "help/FrmMidiHelp2.h"
#include "help/FrmSaveSetInfo.h"
#include "help/FrmWavHelp1.h"
#include "help/FrmWavHelp2.h"
#include "help/Tutorial.h"

#include <array>

namespace tunevane {

namespace {

template <class Page> TutorialPage& load(App& app) {
    return app.forms().get<Page>();
}

struct Entry {
    const PageLayout* layout;
    TutorialPage& (*load)(App&);
};

const std::array<Entry, 7>& entries() {
    static const std::array<Entry, 7> all = {{
        {&FrmMidiHelp::page(), &load<FrmMidiHelp>},
        {&FrmMidiHelp2::page(), &load<FrmMidiHelp2>},
        {&FrmWavHelp1::page(), &load<FrmWavHelp1>},
        {&FrmWavHelp2::page(), &load<FrmWavHelp2>},
        {&FrmBackupHelpMidi::page(), &load<FrmBackupHelpMidi>},
        {&FrmBackupHelpWav::page(), &load<FrmBackupHelpWav>},
        {&FrmSaveSetInfo::page(), &load<FrmSaveSetInfo>},
    }};
    return all;
}

} // namespace

std::span<const PageLayout* const> tutorialPages() {
    static const std::array<const PageLayout*, 7> pages = [] {
        std::array<const PageLayout*, 7> layouts{};
        for (size_t i = 0; i < layouts.size(); ++i)
            layouts[i] = entries()[i].layout;
        return layouts;
    }();
    return pages;
}

TutorialPage* loadTutorialPage(App& app, const QString& name) {
    for (const Entry& entry : entries()) {
        if (name == QString::fromUtf8(entry.layout->name))
            return &entry.load(app);
    }
    return nullptr;
}

void showTutorial(Form& opener) {
    // Each window's "Help" opens the page that explains that window.
    const QString name = opener.objectName();
    if (name == u"FrmMidi")
        TutorialPage::showModalOver<FrmMidiHelp>(opener);
    else if (name == u"FrmCopyMidi")
        TutorialPage::showModalOver<FrmMidiHelp2>(opener);
    else if (name == u"FrmWavSelect")
        TutorialPage::showModalOver<FrmWavHelp1>(opener);
    else if (name == u"FrmCopyWavs")
        TutorialPage::showModalOver<FrmWavHelp2>(opener);
    else
        qCWarning(lcUi) << "no tutorial page for" << name;
}

} // namespace tunevane
