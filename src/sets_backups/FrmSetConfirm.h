#pragma once

#include "app/Form.h"

namespace tunevane {

// "Your set has been saved."; OK or the close box hides and unloads it.
class FrmSetConfirm : public Form {
    Q_OBJECT
public:
    explicit FrmSetConfirm(App& app);
};

} // namespace tunevane
