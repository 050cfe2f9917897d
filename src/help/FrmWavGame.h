#pragma once

#include "help/GameLinks.h"

namespace tunevane {

// Download sites of the effects side's games ("Games" of the effects selection window).
class FrmWavGame : public GameLinksWindow {
    Q_OBJECT
public:
    explicit FrmWavGame(App& app);
};

} // namespace tunevane
