#pragma once

#include "switching/SwitchWindow.h"

namespace tunevane {

// The music switch window: three pairs of MIDI files, and the favourites.
class FrmCopyMidi : public SwitchWindow {
    Q_OBJECT
public:
    explicit FrmCopyMidi(App& app);

protected:
    void switchFiles() override;
    // "Add to Favorites"
    void thirdAction() override;
    void backup() override;
    void help() override;
    SelectionWindow& selectionWindow() override;
};

} // namespace tunevane
