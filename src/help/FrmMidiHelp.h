#pragma once

#include "help/TutorialPage.h"

namespace tunevane {

// The tutorial page for the music selection window.
class FrmMidiHelp : public TutorialPage {
    Q_OBJECT
public:
    explicit FrmMidiHelp(App& app);

    static const PageLayout& page();
};

} // namespace tunevane
