#include "switching/ConfirmDialogs.h"

#include "app/Twips.h"
#include "app/Ui.h"

#include <QLabel>
#include <QPushButton>

namespace tunevane {

namespace {

FormLook dialogLook(const QString& title, int width, int height, const char* icon) {
    return {.title = title,
            .widthTwips = width,
            .heightTwips = height,
            .icon = icon,
            .inTaskBar = false};
}

QPushButton* makeOkButton(Form* dialog, QWidget* parent, const QString& name, const QRect& box) {
    auto* ok = makeButton(parent, name, QStringLiteral("OK"), {}, box);
    QObject::connect(ok, &QPushButton::clicked, dialog, &Form::hideAndUnload);
    return ok;
}

} // namespace

ConfirmDialog::ConfirmDialog(App& app, const ConfirmLook& look)
    : Form(app, look.name, dialogLook(look.title, look.widthTwips, look.heightTwips, look.icon)) {
    QLabel* label = makeLabel(this, look.labelName, look.message, look.label);
    label->setAlignment(Qt::AlignCenter);
    makeOkButton(this, this, look.buttonName, look.button);
}

FrmSetConfirm::FrmSetConfirm(App& app)
    : ConfirmDialog(app, {.name = QStringLiteral("FrmSetConfirm"),
                          .title = QStringLiteral("Set Confirmation"),
                          .widthTwips = 3015,
                          .heightTwips = 900,
                          .icon = "sound-document",
                          .labelName = QStringLiteral("LblSetConfirm"),
                          .message = QStringLiteral("Your set has been saved."),
                          .label = {0, 120, 3015, 255},
                          .buttonName = QStringLiteral("CmdSetConfirm"),
                          .button = {1080, 480, 855, 375}}) {}

FrmBackupConfirm::FrmBackupConfirm(App& app)
    : ConfirmDialog(app, {.name = QStringLiteral("FrmBackupConfirm"),
                          .title = QStringLiteral("Backup Confirmation"),
                          .widthTwips = 3210,
                          .heightTwips = 960,
                          .icon = "program",
                          .labelName = QStringLiteral("LblBackupConfirm"),
                          .message = QStringLiteral("Successful backup of all selected files."),
                          .label = {120, 120, 3015, 255},
                          .buttonName = QStringLiteral("CmdBackupConfirm"),
                          .button = {2160, 480, 975, 375}}) {}

} // namespace tunevane
