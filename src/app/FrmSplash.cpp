#include "app/FrmSplash.h"

#include "app/App.h"
#include "app/Twips.h"
#include "app/Ui.h"
#include "app/Version.h"
#include "selection/FrmMidi.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace tunevane {

QString versionText(int major, int minor, int revision) {
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

FrmSplash::FrmSplash(App& app)
    : Form(app, QStringLiteral("frmSplash"),
           {.title = {},
            .widthTwips = 7665,
            .heightTwips = 4395,
            .icon = nullptr,
            .inTaskBar = false,
            .titleBar = false}) {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(twipsRect(120, 0, 7440, 4290));

    auto* ole = makeLabel(frame, QStringLiteral("OLE1"), QStringLiteral("TUNE-VANE"),
                          {240, 240, 6960, 1680});
    ole->setAlignment(Qt::AlignCenter);
    QFont lettering = classicFont(QStringLiteral("Times New Roman"), 54, true);
    lettering.setItalic(true);
    lettering.setLetterSpacing(QFont::PercentageSpacing, 108);
    ole->setFont(lettering);
    setTextColour(ole, QColor(192, 16, 26));

    auto* logo = makeLabel(frame, QStringLiteral("imgLogo"), {}, {600, 2280, 1575, 1425});
    logo->setPixmap(resourceIcon(QStringLiteral("program")).pixmap(logo->size()));
    logo->setScaledContents(true);

    m_lblVersion = makeLabel(frame, QStringLiteral("lblVersion"), QStringLiteral("Version"),
                             {4920, 2160, 2280, 315});
    m_lblVersion->setFont(classicFont(QStringLiteral("Arial"), 12, true));

    auto* rights = makeLabel(frame, QStringLiteral("Lblrights"),
                             QStringLiteral("Back up your game files before you switch them."),
                             {2400, 3360, 4920, 255});
    rights->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_cmdEntermidi = makeButton(frame, QStringLiteral("CmdEntermidi"), QStringLiteral("Enter"),
                                QStringLiteral("Launch Tune-Vane"), {3720, 3840, 3615, 375});
    connect(m_cmdEntermidi, &QPushButton::clicked, this, &FrmSplash::cmdEntermidiClick);

    // The window sees every key before its controls do, so Space or Enter never press "Enter".
    qApp->installEventFilter(this);
}

FrmSplash::~FrmSplash() {
    qApp->removeEventFilter(this);
}

void FrmSplash::loadSteps() {
    m_lblVersion->setText(versionText(version::major, version::minor, version::revision));
}

bool FrmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || !isVisible())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool typesCharacter = !key->text().isEmpty() || key->key() == Qt::Key_Return ||
                                key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape ||
                                key->key() == Qt::Key_Backspace;
    if (!typesCharacter)
        return false;
    if (event->type() == QEvent::KeyPress)
        keyPressed();
    event->accept();
    return true;
}

void FrmSplash::cmdEntermidiClick() {
    App& application = app();
    hide();
    application.forms().unload(*this);
    application.forms().get<FrmMidi>().showModeless();
}

void FrmSplash::keyPressed() {
    // Nothing else is loaded, so unloading the last window ends the program.
    app().forms().unload(*this);
}

} // namespace tunevane
