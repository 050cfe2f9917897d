#include "switching/ConfirmDialogs.h"

#include "app/Twips.h"
#include "app/Ui.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
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

FrmReplaceConfirm::FrmReplaceConfirm(App& app)
    : Form(app, QStringLiteral("FrmReplaceConfirm"),
           dialogLook(QStringLiteral("Replacement Confirmation"), 3870, 2205, "program")) {
    auto makeCaptionlessFrame = [this](const QString& name, const QRect& box) {
        auto* frame = new QFrame(this);
        frame->setObjectName(name);
        frame->setFrameShape(QFrame::Box);
        frame->setGeometry(twipsRectOf(box));
        return frame;
    };
    QFrame* top = makeCaptionlessFrame(QStringLiteral("Framtop"), {0, 0, 3855, 450});
    QLabel* done = makeLabel(top, QStringLiteral("LblReplaceConfirm"),
                             QStringLiteral("Replacement Successful"), {120, 155, 3615, 255});
    done->setFont(classicFont(QStringLiteral("MS Sans Serif"), 9.75));
    done->setAlignment(Qt::AlignCenter);

    QFrame* bottom = makeCaptionlessFrame(QStringLiteral("Frambot"), {0, 360, 3855, 1815});
    QLabel* exitFirst = makeLabel(bottom, QStringLiteral("Lblclose"),
                                  QStringLiteral("BE SURE TO EXIT TUNE-VANE BEFORE STARTING GAME."),
                                  {360, 240, 3135, 375});
    exitFirst->setFont(classicFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    exitFirst->setWordWrap(true);
    exitFirst->setAlignment(Qt::AlignCenter);
    setTextColour(exitFirst, gameRed);
    QLabel* note = makeLabel(bottom, QStringLiteral("LblSwitchNote"),
                             QStringLiteral("NOTE: Certain games must be shut down and restarted "
                                            "before \"Switch\" can take effect."),
                             {240, 720, 3375, 495});
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignCenter);
    // The menu-text colour of the desktop's palette.
    setTextColour(note, QGuiApplication::palette().color(QPalette::WindowText));
    makeOkButton(this, bottom, QStringLiteral("CmdReplaceConfirm"), {1440, 1320, 975, 375});
    top->raise();
}

FrmFavorites::FrmFavorites(App& app)
    : ConfirmDialog(app, {.name = QStringLiteral("FrmFavorites"),
                          .title = QStringLiteral("Add to Favorites"),
                          .widthTwips = 2490,
                          .heightTwips = 945,
                          .icon = "program",
                          .labelName = QStringLiteral("LblFavorites"),
                          .message = QStringLiteral("Successfully added to favorites"),
                          .label = {0, 120, 2415, 255},
                          .buttonName = QStringLiteral("CmdFavorites"),
                          .button = {1560, 480, 855, 375}}) {}

} // namespace tunevane
