#pragma once

#include "help/TutorialPage.h"

namespace tunevane {

// The tutorial page for the effects switch window.
class FrmWavHelp2 : public TutorialPage {
    Q_OBJECT
public:
    explicit FrmWavHelp2(App& app);

    static const PageLayout& page();
};

} // namespace tunevane
