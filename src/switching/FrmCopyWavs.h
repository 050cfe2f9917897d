#pragma once

#include "switching/SwitchWindow.h"

namespace tunevane {

// The effects switch window: six pairs of WAV files.
class FrmCopyWavs : public SwitchWindow {
    Q_OBJECT
public:
    explicit FrmCopyWavs(App& app);

protected:
    void switchFiles() override;
    void thirdAction() override;
    void backup() override;
    void help() override;
    SelectionWindow& selectionWindow() override;
};

} // namespace tunevane
