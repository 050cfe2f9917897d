// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "files/Result.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

struct sqlite3;

namespace tunevane::games {

// A launcher's SQLite database, opened as a file no one writes: it takes no lock and waits on
// none, so a launcher that holds one cannot hold the search, and nothing is ever written.
class Database {
public:
    // Refused, and logged as leftOut() does, when the file is missing, oversized or not a
    // database.
    static files::Result<Database> open(const QString& path, const char* what);
    ~Database();
    Database(Database&& other) noexcept
        : m_db(std::exchange(other.m_db, nullptr)), m_path(std::move(other.m_path)),
          m_what(other.m_what) {}
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    Database& operator=(Database&&) = delete;

    // Each row's first `columns` columns as text; refused (logged) when the query fails, as it
    // does where a launcher's version lays its tables out otherwise.
    files::Result<QList<QStringList>> rows(const char* query, int columns) const;

private:
    Database(sqlite3* db, const QString& path, const char* what)
        : m_db(db), m_path(path), m_what(what) {}

    sqlite3* m_db;
    QString m_path;
    const char* m_what;
};

} // namespace tunevane::games
