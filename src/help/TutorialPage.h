// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/App.h"
#include "app/Form.h"
#include "help/Tutorial.h"

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QLine>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace tunevane {

// Box captions on every page.
inline constexpr Font boxCaptionFont = {"Times New Roman", 9.75, true};

// The pages' default font, in which the instructions are set.
QFont pageFont();

// A picture of one of our own windows, rendered at build time and shown at its stated size.
struct PagePicture {
    const char* control = nullptr; // the Kind::Picture row that shows it
    const char* file = nullptr;    // base name of the rendered picture and of its control data
    int width = 0, height = 0;     // pixels
};

// A line from the box captioned `box` to the control `target` of the page's picture.
struct PointerLine {
    const char* box = nullptr;
    const char* target = nullptr;
};

// Everything a tutorial page is made of.
struct PageLayout {
    const char* name = nullptr;
    const char* title = nullptr;
    int widthTwips = 0, heightTwips = 0;
    const char* icon = nullptr;
    bool inTaskBar = true;
    std::span<const Control> controls;
    std::span<const PagePicture> pictures;
    std::span<const PointerLine> lines;
};

// The controls of a rendered picture, in picture pixels.
struct PictureControls {
    QString window;
    QSize size;
    QHash<QString, QRect> rects;
};

// The rendered pictures are looked up under this search-path prefix: the program's resources
// unless the picture tool points it at the folder it has just written.
inline constexpr char pictureSearchPath[] = "tutorial";
QString pictureFile(const char* file, const char* extension);
std::optional<PictureControls> readPictureControls(const QString& jsonPath);

// A pointer line as drawn on its page, in page pixels.
struct DrawnLine {
    QString box, target;
    QLine line;
};

// Where the lines run is worked out once, when the pictures are rendered (every input is
// fixed then), and kept beside them: per page, in the order of the page's table.
inline constexpr char routedLinesFile[] = "lines";
QByteArray routedLinesJson(const std::map<QString, std::vector<DrawnLine>>& pages);
std::vector<DrawnLine> readRoutedLines(const QString& jsonPath, const QString& page);

// A static page: pictures of our windows, captioned boxes, pointer lines and buttons.
class TutorialPage : public Form {
    Q_OBJECT
public:
    TutorialPage(App& app, const PageLayout& layout);

    const std::vector<DrawnLine>& lines() const { return m_lines; }

    // Where a picture's pixel (0, 0) lies on the page.
    QPoint pictureOrigin(const PagePicture& picture) const;

protected:
    const Built& built() const { return m_built; }
    // The page's OK: hide, then unload.
    void closeOn(const char* button);
    // A topic window stacked modal on this page; closing it returns here.
    template <class Topic> void openOn(const char* button) {
        connect(m_built.get<QPushButton>(button), &QPushButton::clicked, this,
                [this] { showModalOver<Topic>(*this); });
    }

public:
    template <class Page> static void showModalOver(Form& opener) {
        opener.app().forms().get<Page>().showModal(opener, returnTo(opener));
    }

private:
    static std::function<void()> returnTo(Form& opener);
    void showPictures();
    void drawLines();

    const PageLayout& m_layout;
    Built m_built;
    std::vector<DrawnLine> m_lines;
};

// Every page, for the picture tool and the checks.
std::span<const PageLayout* const> tutorialPages();
// Loads the page named `name` (hidden); nullptr when there is no such page.
TutorialPage* loadTutorialPage(App& app, const QString& name);

} // namespace tunevane
