#pragma once

#include "help/TutorialPage.h"

namespace tunevane {

// About saving effect sets and using them again.
class FrmSaveSetInfo : public TutorialPage {
    Q_OBJECT
public:
    explicit FrmSaveSetInfo(App& app);

    static const PageLayout& page();
};

} // namespace tunevane
