#pragma once

#include "app/Form.h"

namespace tunevane {

// Replacement done; OK (or the frame's close box) hides and unloads it.
class FrmReplaceConfirm : public Form {
    Q_OBJECT
public:
    explicit FrmReplaceConfirm(App& app);
};

} // namespace tunevane
