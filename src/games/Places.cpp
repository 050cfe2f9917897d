// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/Places.h"

#include "files/Path.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>

namespace tunevane::games {

QString Places::homely(const QString& path) const {
    if (path == m_home)
        return QStringLiteral("~");
    return path.startsWith(m_home + u'/') ? u'~' + path.sliced(m_home.size()) : path;
}

bool Places::add(const QString& name, QStringView kind, const QString& where, const QString& real) {
    if (real.isEmpty() || m_seen.contains(real))
        return false;
    m_seen.insert(real);
    // A title is another program's text: one line, whatever it holds.
    QString shown = files::readableName(name);
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    shown = shown.simplified();
    if (shown.isEmpty())
        shown = real.section(u'/', -1);
    m_entries.append({shown, kind.toString(), where, real});
    return true;
}

QList<GamePlace> Places::take() {
    // A label says the kind; where two would read alike, the launcher or library tells them
    // apart, and where even that does not, the folder itself.
    QList<QString> labels(m_entries.size());
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        labels[i] = m_entries[i].name + u" (" + m_entries[i].kind + u')';
    for (int level = 1; level <= 2; ++level) {
        QHash<QString, int> uses;
        for (const QString& label : std::as_const(labels))
            ++uses[label];
        for (qsizetype i = 0; i < m_entries.size(); ++i) {
            if (uses.value(labels[i]) < 2)
                continue;
            const Entry& entry = m_entries[i];
            const QString& by = level == 1 && !entry.where.isEmpty() ? entry.where : entry.path;
            labels[i] = entry.name + u" (" + entry.kind + u", " + homely(by) + u')';
        }
    }
    QList<GamePlace> places;
    places.reserve(m_entries.size());
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        places.append({labels[i], m_entries[i].path});
    // A fixed locale, so that the order is the same on every desktop; numbers by value.
    QCollator collator(QLocale(QLocale::English, QLocale::UnitedStates));
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(places.begin(), places.end(), [&](const GamePlace& a, const GamePlace& b) {
        const int order = collator.compare(a.name, b.name);
        return order != 0 ? order < 0 : a.path < b.path;
    });
    m_entries.clear();
    m_seen.clear();
    return places;
}

} // namespace tunevane::games
