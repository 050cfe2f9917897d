// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TutorialLines.h"

#include "PointerRoutes.h"
#include "app/App.h"
#include "app/Controls.h"

#include <QGroupBox>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <algorithm>

using namespace tunevane;

namespace {

// Where the box's own style draws its caption, in page pixels.
QRect captionRect(const QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return box->style()
        ->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box)
        .translated(box->pos());
}

// The page as its lines see it; on failure, `why` says what a line would miss.
routes::Page measure(const TutorialPage& page, const PageLayout& layout, QString& why) {
    routes::Page measured;
    const PagePicture& picture = layout.pictures.front();
    const auto shown = readPictureControls(pictureFile(picture.file, "json"));
    if (!shown) {
        why = QStringLiteral("no control data for the picture %1")
                  .arg(QString::fromUtf8(picture.file));
        return {};
    }
    QHash<QString, QRect> targets;
    for (auto it = shown->rects.begin(); it != shown->rects.end(); ++it) {
        measured.shown.push_back(it.value().translated(page.pictureOrigin(picture)));
        targets.insert(it.key(), measured.shown.back());
    }
    std::vector<const QWidget*> controls;
    for (const Placed& placed : expand(layout.controls)) {
        const auto* control = page.findChild<QWidget*>(placed.name, Qt::FindDirectChildrenOnly);
        if (!placed.in.isEmpty() || !control || control->isHidden())
            continue;
        const bool isPicture = std::ranges::any_of(layout.pictures, [&](const PagePicture& p) {
            return placed.name == QLatin1String(p.control);
        });
        if (isPicture) {
            measured.pictures.push_back(control->geometry());
        } else {
            controls.push_back(control);
            measured.controls.push_back(control->geometry());
        }
    }
    for (const PointerLine& pointer : layout.lines) {
        const auto boxes = page.findChildren<QGroupBox*>();
        const auto box = std::ranges::find_if(boxes, [&](const QGroupBox* b) {
            return b->title() == QString::fromUtf8(pointer.box);
        });
        const auto control = std::ranges::find(controls, box == boxes.end() ? nullptr : *box);
        const auto target = targets.constFind(QString::fromUtf8(pointer.target));
        if (control == controls.end() || target == targets.cend() ||
            (*box)->geometry().intersects(*target)) {
            why = QStringLiteral("%1: no line from the box \"%2\" to %3")
                      .arg(QString::fromUtf8(layout.name), QString::fromUtf8(pointer.box),
                           QString::fromUtf8(pointer.target));
            return {};
        }
        measured.pointers.push_back(
            {static_cast<size_t>(control - controls.begin()), captionRect(*box), *target});
    }
    return measured;
}

} // namespace

RoutedPages routeTutorialLines(const QString& scratch) {
    const QTemporaryDir programFolder(scratch + QStringLiteral("/.lines-XXXXXX"));
    App app(programFolder.path());
    RoutedPages routed;
    for (const PageLayout* layout : tutorialPages()) {
        if (layout->lines.empty())
            continue;
        const QString name = QString::fromUtf8(layout->name);
        const routes::Page page = measure(*loadTutorialPage(app, name), *layout, routed.why);
        if (!routed.why.isEmpty())
            return routed;
        std::vector<DrawnLine>& lines = routed.lines[name];
        const std::vector<routes::Route> found = routes::routePage(page);
        for (size_t i = 0; i < found.size(); ++i) {
            lines.push_back({QString::fromUtf8(layout->lines[i].box),
                             QString::fromUtf8(layout->lines[i].target), found[i].line});
        }
    }
    return routed;
}
