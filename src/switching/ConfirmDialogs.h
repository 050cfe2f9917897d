#pragma once

#include "app/Form.h"

#include <QRect>

namespace tunevane {

struct ConfirmLook {
    QString name, title;
    int widthTwips = 0, heightTwips = 0;
    const char* icon = "program";
    QString labelName, message;
    QRect label;
    QString buttonName;
    QRect button;
};

// A finished operation's one-line notice; OK (or the frame's close box) hides and unloads it.
class ConfirmDialog : public Form {
    Q_OBJECT
public:
    ConfirmDialog(App& app, const ConfirmLook& look);
};

class FrmReplaceConfirm : public Form {
    Q_OBJECT
public:
    explicit FrmReplaceConfirm(App& app);
};

class FrmFavorites : public ConfirmDialog {
    Q_OBJECT
public:
    explicit FrmFavorites(App& app);
};

} // namespace tunevane
